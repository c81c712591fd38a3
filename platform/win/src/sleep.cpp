#include "winplatform/system.h"

#include <cerrno>
#include <ctime>

WINPLATFORM_API void WINAPI Sleep(DWORD milliseconds) {
    if (milliseconds == INFINITE) {
        for (;;) {
            timespec day{86400, 0};
            ::nanosleep(&day, nullptr);
        }
    }
    timespec remaining{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    // A signal handled by the process must not cut the sleep short.
    while (::nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}
