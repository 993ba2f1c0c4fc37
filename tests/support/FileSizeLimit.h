#pragma once

#include <csignal>
#include <sys/resource.h>

// Lets a test run out of file size part-way through a write, as on a full disk: writes past
// the limit fail with EFBIG instead of killing the process.
struct FileSizeLimit
{
    explicit FileSizeLimit (rlim_t bytes)
    {
        getrlimit (RLIMIT_FSIZE, &saved);
        previousHandler = std::signal (SIGXFSZ, SIG_IGN);
        auto limited = saved;
        limited.rlim_cur = bytes;
        setrlimit (RLIMIT_FSIZE, &limited);
    }

    ~FileSizeLimit()
    {
        setrlimit (RLIMIT_FSIZE, &saved);
        std::signal (SIGXFSZ, previousHandler);
    }

    rlimit saved {};
    void (*previousHandler) (int) = nullptr;
};
