#pragma once
// A file size limit for the life of the guard: writes past it fail with EFBIG ("File too
// large"), as they would on a full disk or over a quota. SIGXFSZ is ignored meanwhile, so the
// failing write returns instead of ending the test.

#include <csignal>
#include <sys/resource.h>

class TFileSizeLimit
{
public:
    explicit TFileSizeLimit(rlim_t bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~TFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_handler)(int);
};
