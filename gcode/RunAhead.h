#pragma once
// TRunAhead interprets a text on a thread of its own while the text is still being written, so
// that reading a large file into the editor and interpreting it overlap. The writer publishes
// the text as it grows; once it is whole, Finish reads what the thread has not reached yet, half
// of it on the calling thread beside the other, and leaves the engine as RunText on the whole
// text would, rethrowing the same error.

#include "gcode/GCodeEngine.h"

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>

class TRunAhead
{
public:
    // Begins a run of the engine, as it is set up (reading, progress), over a text of about
    // expectedSize bytes; the engine is the thread's until Finish or the destructor.
    TRunAhead(TGCodeEngine& engine, std::size_t expectedSize);
    // Stops the thread if Finish did not run: the engine then holds part of the text.
    ~TRunAhead();
    TRunAhead(const TRunAhead&) = delete;
    TRunAhead& operator=(const TRunAhead&) = delete;

    // The text so far. It begins where the text before it began, and the bytes published
    // earlier stay unchanged and in place until Finish or the destructor.
    void Publish(std::string_view text);
    // The whole text (published or not), under the same promise.
    void Finish(std::string_view text);

private:
    struct EStopped
    {};

    void Work();
    // The next whole lines the thread may read, as a text without its last break; none when
    // there are no more.
    std::optional<std::string_view> Claim();
    void ReportProgress(std::size_t laterDone);

    TGCodeEngine& FEngine;
    std::function<void(std::size_t, std::size_t)> FOnProgress;  // the engine's, for the caller
    std::mutex FMutex;
    std::condition_variable FChanged;
    // Under FMutex: the text, the start of the first line not yet claimed, and the end of the
    // thread's part once it is known.
    std::string_view FText;
    std::size_t FClaimed = 0;
    std::size_t FSearched = 0;  // no line ends between FClaimed and here
    std::optional<std::size_t> FEnd;
    bool FLastClaimed = false;
    bool FStop = false;
    bool FWorkEnded = false;
    std::exception_ptr FError;
    std::thread FThread;
};
