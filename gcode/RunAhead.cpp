#include "gcode/RunAhead.h"

#include "gcode/FloatEnvironment.h"
#include "gcode/LineSplit.h"

#include <algorithm>

TRunAhead::TRunAhead(TGCodeEngine& engine, std::size_t expectedSize)
    : FEngine(engine), FOnProgress(std::move(engine.OnProgress))
{
    FEngine.BeginRun(0, expectedSize);
    // The thread must not call into the caller: its progress is reported from Finish.
    FEngine.OnProgress = [this](std::size_t, std::size_t) {
        const std::lock_guard lock(FMutex);
        if (FStop)
            throw EStopped();
    };
    FThread = std::thread(&TRunAhead::Work, this);
}

TRunAhead::~TRunAhead()
{
    if (!FThread.joinable())
        return;
    {
        const std::lock_guard lock(FMutex);
        FStop = true;
    }
    FChanged.notify_all();
    FThread.join();
    FEngine.OnProgress = std::move(FOnProgress);
}

void TRunAhead::Publish(std::string_view text)
{
    {
        const std::lock_guard lock(FMutex);
        FText = text;
    }
    FChanged.notify_all();
}

void TRunAhead::Work()
{
    InitFloatingPoint();
    try {
        std::size_t line = 0;
        while (const std::optional<std::string_view> lines = Claim()) {
            FEngine.RunTextPart(*lines, line);
            line = FEngine.FLinesRead;
        }
    } catch (const EStopped&) {
    } catch (...) {
        const std::lock_guard lock(FMutex);
        FError = std::current_exception();
    }
    const std::lock_guard lock(FMutex);
    FWorkEnded = true;
}

std::optional<std::string_view> TRunAhead::Claim()
{
    std::unique_lock lock(FMutex);
    for (;;) {
        if (FStop)
            throw EStopped();
        if (FEnd) {
            if (FLastClaimed)
                return std::nullopt;
            FLastClaimed = true;
            return FText.substr(FClaimed, *FEnd - FClaimed);
        }
        // Only the bytes not searched yet: a text of very long lines is searched once.
        if (const std::optional<TBreakSpan> last =
                LastBreakIn(FText, std::max(FClaimed, FSearched))) {
            const std::string_view lines = FText.substr(FClaimed, last->Begin - FClaimed);
            FClaimed = last->End;
            return lines;
        }
        // A CR at the end is searched again with what follows it.
        FSearched = FText.size() - (FText.ends_with('\r') ? 1 : 0);
        FChanged.wait(lock);
    }
}

void TRunAhead::Finish(std::string_view text)
{
    // What the thread has not claimed yet is split at a line break near its middle when it is
    // long: the thread reads up to the break, this thread the lines after it.
    std::optional<TBreakSpan> split;
    std::size_t claimed = 0;
    {
        const std::lock_guard lock(FMutex);
        FText = text;
        claimed = FClaimed;
        const std::size_t rest = text.size() - FClaimed;
        if (!FWorkEnded && rest >= TGCodeEngine::kSplitBytes)
            split = BreakFrom(text, FClaimed + rest / 2);
        FEnd = split ? split->Begin : text.size();
    }
    FChanged.notify_all();
    if (FOnProgress)
        FOnProgress(claimed, text.size());
    std::exception_ptr laterError;
    TGCodeEngine later;
    if (split) {
        later.SetLenient(FEngine.Lenient());
        later.OnProgress = [this](std::size_t done, std::size_t) { ReportProgress(done); };
        try {
            later.RunTextPart(text.substr(split->End), CountLines(text.substr(0, split->Begin)));
        } catch (const EStopped&) {
        } catch (...) {
            laterError = std::current_exception();
        }
    }
    FThread.join();
    FEngine.OnProgress = std::move(FOnProgress);
    try {
        if (FError)
            std::rethrow_exception(FError);
        if (split)
            FEngine.Adopt(later, laterError);
    } catch (...) {
        FEngine.FLineCount = CountLines(text);
        throw;
    }
    FEngine.FLineCount = FEngine.FLinesRead;
    FEngine.EndRun();
}

void TRunAhead::ReportProgress(std::size_t laterDone)
{
    std::size_t done = 0;
    {
        const std::lock_guard lock(FMutex);
        // A failure of the thread's earlier lines ends the run: the later ones are of no use.
        if (FError)
            throw EStopped();
        done = FClaimed + laterDone;
    }
    if (FOnProgress)
        FOnProgress(done, FText.size());
}
