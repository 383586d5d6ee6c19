// holddesktop: holds Wine's desktop for a test run. Its first window call
// starts the desktop process from here, so that the desktop process inherits
// this program's detached output rather than a test's (a test runner waits
// for every holder of a test's output to end), and while it runs the desktop
// stays in use and does not close between tests. Prints "ready" once the
// desktop window exists; runs until Wine's server stops it.
#include <windows.h>

#include <cstdio>

int main() {
    if (!GetDesktopWindow()) return 1;
    std::puts("ready");
    std::fflush(stdout);
    Sleep(INFINITE);
}
