#include "render/RenderBudget.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

constexpr std::size_t kBytesPerMB = std::size_t{1} << 20;
// What the process needs before it reads a program: its libraries, the offscreen OpenGL
// context and the image (the data segment of a one-line program is 50 to 64 MB).
constexpr std::size_t kFixedMB = 64;
// What a program costs, with room to spare: generated CAM programs of 200,000 lines cost 210 to
// 330 bytes a line (their text, its lines, the rows or motions read from them, and the
// segments and vertices drawn), whichever the reading; a long line costs its bytes a few times
// over. A motion of the machine path costs as much in memory, but planning and drawing it takes
// longer: the bound on motions leaves the time after a cancelled reading enough to draw them.
constexpr std::size_t kCostPerByte = 4;
constexpr std::size_t kCostPerLine = 512;
constexpr std::size_t kCostPerMotion = 1024;

bool BuiltWithAddressSanitizer()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

}  // namespace

TReadBounds BoundsForMemory(std::size_t memoryMB)
{
    TReadBounds bounds;
    if (memoryMB == 0)
        return bounds;
    // Half of what is left for the program goes to its text and lines, half to what is drawn.
    const std::size_t programBytes =
        memoryMB > kFixedMB ? (memoryMB - kFixedMB) * kBytesPerMB / 2 : kBytesPerMB;
    bounds.MaxBytes = programBytes / kCostPerByte;
    bounds.MaxLines = programBytes / kCostPerLine;
    bounds.MaxMotions = programBytes / kCostPerMotion;
    return bounds;
}

bool CutToBounds(std::string& text, const TReadBounds& bounds)
{
    const std::size_t withinBytes = std::min(text.size(), bounds.MaxBytes);
    std::size_t end = 0;
    std::size_t breaks = 0;
    for (std::size_t i = 0; i < withinBytes && breaks < bounds.MaxLines; ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            ++breaks;
            end = i + 1;
        }
    }
    // A text within both bounds keeps its last line, with or without a break.
    if (text.size() <= bounds.MaxBytes && (breaks < bounds.MaxLines || end == text.size()))
        return false;
    text.resize(end);
    text.shrink_to_fit();
    return true;
}

void LimitDataSegment(std::size_t memoryMB)
{
    if (memoryMB == 0 || BuiltWithAddressSanitizer())
        return;
    // Mesa's software rasteriser starts a thread per core, up to 16, and the stack each reserves
    // counts against the limit: two draw a thumbnail as fast.
    ::setenv("LP_NUM_THREADS", "2", 0);
    const rlimit limit{memoryMB * kBytesPerMB, memoryMB * kBytesPerMB};
    ::setrlimit(RLIMIT_DATA, &limit);
}

std::string MemoryBudgetMessage(std::size_t memoryMB)
{
    return "the program is larger than the memory budget of " + std::to_string(memoryMB) +
           " MB allows; the image shows it as far as it was read";
}

std::string TimeBudgetMessage(double seconds)
{
    std::ostringstream text;
    text << "the program takes longer than the time budget of " << seconds
         << " s; the image shows it as far as it was read";
    return text.str();
}

TRenderDeadline::TRenderDeadline(double seconds, std::atomic<bool>& cancel, std::string lateMessage,
                                 int exitCode)
    : FLateMessage(std::move(lateMessage)),
      FThread([this, seconds, &cancel, exitCode] { Watch(seconds, cancel, exitCode); })
{}

TRenderDeadline::~TRenderDeadline()
{
    {
        const std::lock_guard lock(FMutex);
        FDone = true;
    }
    FEnded.notify_all();
    FThread.join();
}

void TRenderDeadline::Watch(double seconds, std::atomic<bool>& cancel, int exitCode)
{
    using TClock = std::chrono::steady_clock;
    const TClock::time_point start = TClock::now();
    const auto after = [start](double share) {
        return start +
               std::chrono::duration_cast<TClock::duration>(std::chrono::duration<double>(share));
    };
    std::unique_lock lock(FMutex);
    if (FEnded.wait_until(lock, after(seconds * kReadingShare), [this] { return FDone; }))
        return;
    cancel = true;
    if (FEnded.wait_until(lock, after(seconds), [this] { return FDone; }))
        return;
    std::fprintf(stderr, "%s\n", FLateMessage.c_str());
    std::fflush(stderr);
    ::_exit(exitCode);
}
