#pragma once
// A file size limit for the life of the guard: writes past it fail with EFBIG ("File too
// large"), as they would on a full disk or over a quota. SIGXFSZ is ignored meanwhile, so the
// failing write returns instead of ending the test.

#include <csignal>
#include <sys/resource.h>

class TFileSizeLimit
{
public:
    explicit TFileSizeLimit(rlim_t bytes) : FHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &FOld);
        rlimit limited = FOld;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~TFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FHandler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    rlimit FOld{};
    void (*FHandler)(int);
};
