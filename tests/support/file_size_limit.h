#pragma once
// Makes writes fail on an ordinary file: while a FileSizeLimit lives, the
// kernel refuses to write any byte at or past `bytes` (EFBIG, or a short
// write that stops at the limit), whatever the file's current size. POSIX
// only: Windows has no such limit, so the tests that need one are left out
// there (NEG_HAVE_FILE_SIZE_LIMIT).

#ifndef _WIN32
#define NEG_HAVE_FILE_SIZE_LIMIT 1

#include <sys/resource.h>

#include <csignal>
#include <stdexcept>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        if (getrlimit(RLIMIT_FSIZE, &Saved) != 0)
            throw std::runtime_error("getrlimit failed");
        // Without this the process would be killed by SIGXFSZ instead of
        // seeing the failed write.
        OldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = Saved;
        limit.rlim_cur = bytes;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            throw std::runtime_error("setrlimit failed");
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &Saved);
        std::signal(SIGXFSZ, OldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit Saved{};
    void (*OldHandler)(int) = nullptr;
};

#endif  // _WIN32
