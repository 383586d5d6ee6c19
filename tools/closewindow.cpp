// closewindow CAPTION: asks the top-level window with that caption to close
// (WM_CLOSE), as a user's click on its close box would. Exit code 0 when the
// message was posted, 1 when no such window exists, 2 on a usage error.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    HWND window = FindWindowW(nullptr, argv[1]);
    if (!window) return 1;
    return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
}
