#pragma once
// A render on bounded resources. A memory budget becomes bounds on what is read and kept (the
// bytes and lines of the program, the motions of its machine path) with the data-segment limit
// of the process as a last resort; a time budget becomes a deadline at which the reading is
// cancelled, so that what was read can still be drawn, and past which the process ends.

#include "common/Error.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <limits>
#include <mutex>
#include <string>
#include <thread>

// The reading ran out of its budget; the plot holds what was read before.
class ERenderBudget : public EZorvitError
{
public:
    using EZorvitError::EZorvitError;
};

// What may be read and kept.
struct TReadBounds
{
    std::size_t MaxBytes = std::numeric_limits<std::size_t>::max();
    std::size_t MaxLines = std::numeric_limits<std::size_t>::max();
    std::size_t MaxMotions = std::numeric_limits<std::size_t>::max();
};

// The bounds of a budget of memoryMB megabytes; none for 0.
TReadBounds BoundsForMemory(std::size_t memoryMB);

// Cuts the text after the last line break within bounds.MaxBytes and bounds.MaxLines line
// breaks (a carriage return and a line feed each count); true when it cut anything.
bool CutToBounds(std::string& text, const TReadBounds& bounds);

// Limits the process's data segment to memoryMB megabytes, so that an allocation past the
// budget fails instead of growing the process. Nothing for 0, or in a build with
// AddressSanitizer, whose shadow memory needs far more address space than any budget.
void LimitDataSegment(std::size_t memoryMB);

// The message of a render past its budget.
std::string MemoryBudgetMessage(std::size_t memoryMB);
std::string TimeBudgetMessage(double seconds);

// Watches the time of a render: at kReadingShare of the seconds it sets cancel, which the
// reading checks as it goes, leaving the rest to plan and draw what was read; if the render is
// still running at the full seconds, it writes lateMessage to standard error and ends the
// process with exitCode, without an image.
class TRenderDeadline
{
public:
    static constexpr double kReadingShare = 0.5;

    TRenderDeadline(double seconds, std::atomic<bool>& cancel, std::string lateMessage,
                    int exitCode);
    // Stops the watch: the render has ended in time.
    ~TRenderDeadline();
    TRenderDeadline(const TRenderDeadline&) = delete;
    TRenderDeadline& operator=(const TRenderDeadline&) = delete;

private:
    void Watch(double seconds, std::atomic<bool>& cancel, int exitCode);

    std::string FLateMessage;
    std::mutex FMutex;
    std::condition_variable FEnded;
    bool FDone = false;
    std::thread FThread;
};
