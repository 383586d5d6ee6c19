// The floor the clock's economy mode is measured against: the least a Win32
// analogue clock can do each second. One window captioned "Floor" with a
// 200 by 200 client area; a 1000 ms timer invalidates it and paints at once;
// the paint copies a prepared 200 by 200 face and draws two filled polygons
// and a line. No framework, no off-screen composition, no texts.
//   bench_floor.exe          (runs until its window is closed)
#include <windows.h>

#include <cmath>

namespace {

HDC faceDC;

POINT Turn(double px, double py, double degrees) {
    const double a = degrees * 0.017453292519444445;
    return {100 - static_cast<int>(px * std::cos(a) - py * std::sin(a)),
            100 - static_cast<int>(px * std::sin(a) + py * std::cos(a))};
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    BitBlt(dc, 0, 0, 200, 200, faceDC, 0, 0, SRCCOPY);
    SYSTEMTIME t;
    GetLocalTime(&t);
    const double hour = (t.wHour % 12) * 30 + t.wMinute / 2, minute = t.wMinute * 6 + t.wSecond / 10;
    const POINT hourHand[] = {Turn(0, 2, hour), Turn(5, 10, hour), Turn(0, 50, hour), Turn(-5, 10, hour)};
    const POINT minuteHand[] = {Turn(0, 2, minute), Turn(3, 20, minute), Turn(0, 95, minute), Turn(-3, 20, minute)};
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Polygon(dc, hourHand, 4);
    Polygon(dc, minuteHand, 4);
    const POINT from = Turn(0, 2, t.wSecond * 6), to = Turn(0, 80, t.wSecond * 6);
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
    EndPaint(window, &ps);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = L"FloorClock";
    RegisterClassW(&windowClass);
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT outer{0, 0, 200, 200};
    AdjustWindowRect(&outer, style, FALSE);
    HWND window = CreateWindowW(L"FloorClock", L"Floor", style, 300, 0, outer.right - outer.left,
                                outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);

    // The face: white with twelve bars, prepared once.
    HDC screen = GetDC(nullptr);
    faceDC = CreateCompatibleDC(screen);
    SelectObject(faceDC, CreateCompatibleBitmap(screen, 200, 200));
    ReleaseDC(nullptr, screen);
    PatBlt(faceDC, 0, 0, 200, 200, WHITENESS);
    for (int i = 0; i < 12; ++i) {
        const POINT a = Turn(0, 92, i * 30), b = Turn(0, 97, i * 30);
        MoveToEx(faceDC, a.x, a.y, nullptr);
        LineTo(faceDC, b.x, b.y);
    }

    ShowWindow(window, SW_SHOW);
    SetTimer(window, 1, 1000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
