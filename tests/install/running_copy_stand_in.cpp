// A stand-in for a copy of the program that does not end when asked: it holds the
// program's one-copy mutex, has no window, says "ready" and ends after the seconds given.
#include <cstdio>
#include <cstdlib>

#include "platform/win32/mutex_instance_guard.h"
#include "platform/win32/windows_api.h"

int main(int argc, char** argv) {
    somnar::MutexInstanceGuard guard;
    if (!guard.acquire()) {
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    ::Sleep(static_cast<DWORD>(argc > 1 ? std::atoi(argv[1]) : 60) * 1000);
    return 0;
}
