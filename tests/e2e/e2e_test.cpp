// End-to-end: starts the real Horolo.exe beside this test program, finds its
// clock window, reads its pixels off the screen and closes it as a user would.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <array>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/clock/geometry.h"
#include "framework/bitmap_file.h"

namespace {

std::wstring besideThisProgram(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L'\\') + 1) + name;
}

struct FindContext {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findClockWindow(HWND window, LPARAM param) {
    auto* context = reinterpret_cast<FindContext*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    if (owner == context->processId && IsWindowVisible(window) && std::wstring(caption) == L"Horolo") {
        context->found = window;
        return FALSE;
    }
    return TRUE;
}

using WindowTest = std::function<bool(HWND, const std::wstring&, DWORD)>;

struct WindowSearch {
    const WindowTest& accept;
    HWND found;
};

BOOL CALLBACK acceptWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, 256);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (!IsWindowVisible(window) || !search->accept(window, caption, process)) return TRUE;
    search->found = window;
    return FALSE;
}

struct TextSearch {
    const std::wstring& text;
    HWND found;
};

BOOL CALLBACK findText(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TextSearch*>(param);
    wchar_t text[256] = {};
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    if (search->text != text) return TRUE;
    search->found = window;
    return FALSE;
}

std::wstring settingsPath() {
    wchar_t folder[MAX_PATH];
    GetWindowsDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\Horolo.ini";
}

std::string readSettings() {
    std::ifstream in(settingsPath().c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The clock as a separate process, ended by force if a test leaves it
// running. It starts with the settings file that settings() gives (none: a
// first start), and the file goes again when the test ends.
class RunningClock : public ::testing::Test {
protected:
    virtual std::string settings() { return {}; }
    virtual std::wstring currentDirectory() { return {}; }  // empty: the test's own

    void SetUp() override {
        DeleteFileW(settingsPath().c_str());
        if (const std::string text = settings(); !text.empty())
            std::ofstream(settingsPath().c_str(), std::ios::binary) << text;
        const std::wstring current = currentDirectory();
        start(besideThisProgram(L"Horolo.exe"), current.empty() ? nullptr : current.c_str());
    }

    void start(const std::wstring& exe, const wchar_t* currentDirectory) {
        launch(exe, currentDirectory);
        findClock();
    }

    void launch(const std::wstring& exe, const wchar_t* currentDirectory) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        ASSERT_TRUE(CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, currentDirectory,
                                   &startup, &process_))
            << "cannot start " << std::string(exe.begin(), exe.end());
        CloseHandle(process_.hThread);
    }

    void findClock() {
        for (int i = 0; i < 300 && !window_; ++i) {
            FindContext context{process_.dwProcessId, nullptr};
            EnumWindows(findClockWindow, reinterpret_cast<LPARAM>(&context));
            window_ = context.found;
            if (!window_) Sleep(50);
        }
        ASSERT_NE(window_, nullptr) << "no visible window captioned Horolo";
    }

    void TearDown() override {
        // A help viewer left open would hold the test's output open.
        if (viewer_) {
            if (WaitForSingleObject(viewer_, 0) == WAIT_TIMEOUT) TerminateProcess(viewer_, 99);
            CloseHandle(viewer_);
        }
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 99);
            CloseHandle(process_.hProcess);
        }
        DeleteFileW(settingsPath().c_str());
    }

    // Waits for the process to end; returns its exit code, or -1 on time-out.
    long exitCode(DWORD timeoutMs = 15000) {
        if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }

    static bool allBlack(const std::array<COLORREF, 200 * 200>& pixels) {
        for (COLORREF p : pixels)
            if (p != RGB(0, 0, 0)) return false;
        return true;
    }

    // The client area as it is on the screen, 200 by 200 pixels, once the
    // window has been painted: the screen there is no longer all black and
    // the bar at 12 o'clock has the indicator colour.
    std::array<COLORREF, 200 * 200> clientPixels(COLORREF indicator = RGB(0, 0, 0)) {
        std::array<COLORREF, 200 * 200> pixels{};
        for (int attempt = 0; attempt < 100; ++attempt) {
            POINT origin{0, 0};
            ClientToScreen(window_, &origin);
            HDC screen = GetDC(nullptr);
            HDC memory = CreateCompatibleDC(screen);
            BITMAPINFO info{};
            info.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, -200, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
            void* bits = nullptr;
            HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            HGDIOBJ old = SelectObject(memory, dib);
            BitBlt(memory, 0, 0, 200, 200, screen, origin.x, origin.y, SRCCOPY);
            GdiFlush();
            auto* rgb = static_cast<const DWORD*>(bits);
            for (int i = 0; i < 200 * 200; ++i)
                pixels[i] = RGB((rgb[i] >> 16) & 0xFF, (rgb[i] >> 8) & 0xFF, rgb[i] & 0xFF);
            SelectObject(memory, old);
            DeleteObject(dib);
            DeleteDC(memory);
            ReleaseDC(nullptr, screen);
            if (at(pixels, 100, 6) == indicator && !allBlack(pixels)) break;
            Sleep(50);
        }
        return pixels;
    }

    static COLORREF at(const std::array<COLORREF, 200 * 200>& pixels, int x, int y) { return pixels[y * 200 + x]; }

    // The screen holds the pixels of the program's own picture resource,
    // apart from the hands and indicators (inside radius 98) and the corner
    // of the time label.
    static void expectPicture(const std::array<COLORREF, 200 * 200>& screen, const wchar_t* name) {
        const HMODULE program = LoadLibraryExW(besideThisProgram(L"Horolo.exe").c_str(), nullptr,
                                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(program, nullptr);
        const std::optional<fw::Dib> dib = fw::LoadBitmapResource(program, name);
        FreeLibrary(program);
        ASSERT_TRUE(dib.has_value());
        ASSERT_EQ(dib->width, 200);
        ASSERT_EQ(dib->rows(), 200);
        // The resource's pixels, drawn the way the clock draws them.
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, -200, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC memory = CreateCompatibleDC(nullptr);
        HBITMAP picture = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, picture);
        fw::DrawDib(memory, {0, 0, 200, 200}, *dib);
        GdiFlush();
        int inside = 0, insideSame = 0, outsideDiffering = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x) {
                const DWORD p = static_cast<const DWORD*>(bits)[y * 200 + x];
                const bool same = at(screen, x, y) == RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
                if ((x - 100) * (x - 100) + (y - 100) * (y - 100) <= 98 * 98) {
                    ++inside;
                    insideSame += same;
                } else if (!(x >= 140 && y >= 180) && !same) {
                    ++outsideDiffering;
                }
            }
        SelectObject(memory, old);
        DeleteObject(picture);
        DeleteDC(memory);
        EXPECT_EQ(outsideDiffering, 0) << "not the picture " << std::string(name, name + wcslen(name));
        EXPECT_GE(insideSame * 100, inside * 95) << insideSame << " of " << inside << " pixels inside the ring";
    }

    // Presses Ctrl+key while the clock has the keyboard focus. Without a
    // window manager the focus can arrive late, so a press that did not end
    // the clock is repeated a few times.
    long pressCtrlUntilExit(WORD key) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            SetForegroundWindow(window_);
            for (int i = 0; i < 20 && GetForegroundWindow() != window_; ++i) Sleep(50);
            std::array<INPUT, 4> input{};
            for (auto& i : input) i.type = INPUT_KEYBOARD;
            input[0].ki.wVk = VK_CONTROL;
            input[1].ki.wVk = key;
            input[2].ki.wVk = key;
            input[2].ki.dwFlags = KEYEVENTF_KEYUP;
            input[3].ki.wVk = VK_CONTROL;
            input[3].ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
            long code = exitCode(3000);
            if (code != -1) return code;
        }
        return -1;
    }

    // Opens the clock's popup menu as a right-click does and walks it with
    // the keys, once it shows.
    void chooseFromMenu(std::initializer_list<WORD> keys) {
        RECT client{};
        GetClientRect(window_, &client);
        POINT at{client.right / 2, client.bottom / 2};
        ClientToScreen(window_, &at);
        PostMessageW(window_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_), MAKELPARAM(at.x, at.y));
        const DWORD clock = process_.dwProcessId;
        ASSERT_NE(waitForWindow([clock](HWND w, const std::wstring&, DWORD process) {
                      wchar_t kind[16] = {};
                      GetClassNameW(w, kind, 16);
                      return process == clock && std::wstring(kind) == L"#32768";
                  }),
                  nullptr)
            << "the popup menu did not show";
        for (WORD key : keys) PostMessageW(window_, WM_KEYDOWN, key, 0);
    }

    // The first visible top-level window that the test accepts (given its
    // caption and process), waiting up to ten seconds for one.
    static HWND waitForWindow(const WindowTest& accept) {
        for (int i = 0; i < 200; ++i) {
            WindowSearch search{accept, nullptr};
            EnumWindows(acceptWindow, reinterpret_cast<LPARAM>(&search));
            if (search.found) return search.found;
            Sleep(50);
        }
        return nullptr;
    }

    // A visible window of the clock's own process with this caption,
    // waiting up to ten seconds for one.
    HWND waitForOwnWindow(const std::wstring& caption) const {
        const DWORD clock = process_.dwProcessId;
        return waitForWindow([clock, &caption](HWND, const std::wstring& text, DWORD process) {
            return process == clock && text == caption;
        });
    }

    // The first window inside `parent`, at any depth, with this text.
    static HWND childWithText(HWND parent, const std::wstring& text) {
        TextSearch search{text, nullptr};
        EnumChildWindows(parent, findText, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    // Chooses Fortune and returns the entry its information box shows in
    // corner brackets, after closing the box.
    std::wstring drawFortune() {
        chooseFromMenu({VK_DOWN, VK_RETURN});
        HWND box = waitForOwnWindow(L"情報");
        EXPECT_NE(box, nullptr) << "no information box";
        if (!box) return {};
        std::wstring message;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const std::wstring text = textOf(child);
            if (text.find(L"「") != std::wstring::npos) message = text;
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        const size_t open = message.find(L"\n「"), close = message.find(L"」\n");
        EXPECT_TRUE(open != std::wstring::npos && close != std::wstring::npos) << "message without an entry";
        if (open == std::wstring::npos || close == std::wstring::npos) return {};
        return message.substr(open + 2, close - open - 2);
    }

    // The text of a window of another process.
    static std::wstring textOf(HWND window) {
        wchar_t text[4096] = {};
        SendMessageW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
        return text;
    }

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    HANDLE viewer_ = nullptr;  // the help viewer a test started
};

TEST_F(RunningClock, OpensA200By200WindowCaptionedHorolo) {
    RECT client{};
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right - client.left, 200);
    EXPECT_EQ(client.bottom - client.top, 200);
    LONG style = GetWindowLongW(window_, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
}

// The indicators are drawn in the default indicator colour, black, as bars
// five pixels long whose end point (radius 97) is not set.
TEST_F(RunningClock, DrawsTheHourBarsWhereTheGeometrySays) {
    auto pixels = clientPixels();
    struct Bar { int x0, y0, dx, dy; };
    // Bars at 12, 3, 6 and 9 o'clock: from radius 92 outwards, four pixels set.
    const Bar bars[] = {{100, 8, 0, -1}, {192, 100, 1, 0}, {100, 192, 0, 1}, {8, 100, -1, 0}};
    for (const Bar& bar : bars) {
        for (int step = 0; step < 5; ++step) {
            int x = bar.x0 + bar.dx * step, y = bar.y0 + bar.dy * step;
            EXPECT_EQ(at(pixels, x, y), RGB(0, 0, 0)) << "bar pixel " << x << "," << y;
        }
        EXPECT_NE(at(pixels, bar.x0 + bar.dx * 5, bar.y0 + bar.dy * 5), RGB(0, 0, 0)) << "end point is not set";
    }
}

// The hour hand moves one degree every two minutes, so a point inside it
// stays put while the test reads the screen (unless the hour turns meanwhile).
TEST_F(RunningClock, ShowsTheCurrentHour) {
    auto pixels = clientPixels();
    SYSTEMTIME now;
    GetLocalTime(&now);
    horolo::FaceTime face{now.wHour, now.wMinute, now.wSecond};
    horolo::FacePoint inside = horolo::RotatePoint({0, 30}, horolo::HourAngle(face));
    EXPECT_EQ(at(pixels, inside.x, inside.y), RGB(0, 0, 0)) << "hour hand at " << inside.x << "," << inside.y;
}


// A first start (no settings) shows the built-in picture "IMAGE0".
TEST_F(RunningClock, AFirstStartShowsThePictureImage0) { expectPicture(clientPixels(), L"IMAGE0"); }

// "&Setting..." shows the dialog where the clock stood and hides the clock;
// "ネオラ" and OK bring the clock back with the built-in picture "IMAGE1".
TEST_F(RunningClock, SettingsDialogChangesThePicture) {
    RECT clockAt{};
    GetWindowRect(window_, &clockAt);
    chooseFromMenu({VK_DOWN, VK_DOWN, VK_RETURN});
    HWND dialog = waitForOwnWindow(L"Horolo  Setup");
    ASSERT_NE(dialog, nullptr) << "no settings dialog";
    RECT dialogAt{};
    GetWindowRect(dialog, &dialogAt);
    EXPECT_EQ(dialogAt.left, clockAt.left);
    EXPECT_EQ(dialogAt.top, clockAt.top);
    EXPECT_FALSE(IsWindowVisible(window_));
    HWND neora = childWithText(dialog, L"ネオラ");
    HWND ok = childWithText(dialog, L"OK");
    ASSERT_TRUE(neora && ok);
    PostMessageW(neora, BM_CLICK, 0, 0);
    PostMessageW(ok, BM_CLICK, 0, 0);
    for (int i = 0; i < 200 && (IsWindowVisible(dialog) || !IsWindowVisible(window_)); ++i) Sleep(50);
    EXPECT_FALSE(IsWindowVisible(dialog));
    ASSERT_TRUE(IsWindowVisible(window_));
    expectPicture(clientPixels(), L"IMAGE1");
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(), 0);
}

// Fortune shows an entry of the data file beside the program, framed in a
// voice, in an information box of the clock's own process.
TEST_F(RunningClock, FortuneShowsAnEntryOfTheDataFile) {
    const std::wstring entry = drawFortune();
    HANDLE data = CreateFileW(besideThisProgram(L"Fortune.dat").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(data, INVALID_HANDLE_VALUE);
    std::string bytes(GetFileSize(data, nullptr), '\0');
    DWORD got = 0;
    ReadFile(data, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(data);
    std::wstring lines(bytes.size(), L'\0');
    lines.resize(static_cast<size_t>(MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(got), lines.data(),
                                                         static_cast<int>(lines.size()))));
    EXPECT_NE((L"\n" + lines).find(L"\n" + entry + L"\r\n"), std::wstring::npos) << "not an entry of Fortune.dat";
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(), 0);
}

// A log file of 48 MB in one-byte lines stored as the fortune data: the
// clock starts, and Fortune draws from it.
class BigFortuneFile : public RunningClock {
protected:
    std::string settings() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "horolo_big_fortune.log";
        std::string lines(1 << 20, 'x');
        for (size_t i = 1; i < lines.size(); i += 2) lines[i] = '\n';
        std::ofstream out(path_, std::ios::binary);
        for (int mib = 0; mib < 48; ++mib) out << lines;
        return "[Settings]\r\nFortuneData=" + path_ + "\r\n";
    }
    void TearDown() override {
        RunningClock::TearDown();
        DeleteFileA(path_.c_str());
    }
    std::string path_;
};

TEST_F(BigFortuneFile, TheClockStartsAndDrawsFromIt) {
    EXPECT_EQ(drawFortune(), L"x");
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(), 0);
}

TEST_F(RunningClock, AboutShowsItsWindowUntilOk) {
    chooseFromMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN});
    HWND about = waitForOwnWindow(L"ﾊﾞｰｼﾞｮﾝ情報");
    ASSERT_NE(about, nullptr) << "no About window";
    RECT client{};
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, 298);
    EXPECT_EQ(client.bottom, 161);
    HWND ok = FindWindowExW(about, nullptr, L"Button", L"OK");
    ASSERT_NE(ok, nullptr);
    PostMessageW(ok, BM_CLICK, 0, 0);
    for (int i = 0; i < 100 && IsWindowVisible(about); ++i) Sleep(50);
    EXPECT_FALSE(IsWindowVisible(about));
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(), 0);
}

// Contents starts the system's help viewer with Horolo.hlp beside the
// program; it opens at the topic "INDEX", titled 目次.
TEST_F(RunningClock, ContentsOpensTheHelpViewerAtTheIndexTopic) {
    chooseFromMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN});
    const DWORD clock = process_.dwProcessId;
    HWND viewer = waitForWindow([clock](HWND window, const std::wstring&, DWORD process) {
        wchar_t kind[32] = {};
        GetClassNameW(window, kind, 32);
        return process != clock && std::wstring(kind) == L"MS_WINHELP";
    });
    ASSERT_NE(viewer, nullptr) << "no help viewer";
    DWORD viewerId = 0;
    GetWindowThreadProcessId(viewer, &viewerId);
    viewer_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, viewerId);

    HWND page = FindWindowExW(viewer, nullptr, L"RichEdit20A", nullptr);
    ASSERT_NE(page, nullptr);
    std::wstring text;
    for (int i = 0; i < 100 && text.empty(); ++i, Sleep(50)) text = textOf(page);
    EXPECT_EQ(text.substr(0, text.find_first_of(L"\r\n")), L"目次");
    EXPECT_NE(text.find(L"Horolo はデスクトップに置くアナログ時計です。"), std::wstring::npos);

    PostMessageW(viewer, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(viewer_, 10000), WAIT_OBJECT_0) << "the viewer did not close";
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(), 0);
}

TEST_F(RunningClock, CtrlXClosesTheClockWithExitCodeZero) {
    EXPECT_EQ(pressCtrlUntilExit('X'), 0);
}

TEST_F(RunningClock, CloseRequestEndsTheProgramWithExitCodeZero) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(), 0);
}

// A user's settings file: the place, the indicator colour and the picture
// are what the screen shows; a double-click hides the title bar, and the
// close writes that back with everything else.
class StoredClock : public RunningClock {
protected:
    std::string settings() override {
        return "[Settings]\r\nVersion=Version 1.00-Release\r\nPosX=150\r\nPosY=120\r\nCharacter=0\r\n"
               "Resource=2\r\n[Colors]\r\nIndicator=ff0000\r\n";
    }
};

TEST_F(StoredClock, ShowsTheStoredClockAndWritesBackWhatChanged) {
    RECT outer{};
    GetWindowRect(window_, &outer);
    EXPECT_EQ(outer.left, 150);
    EXPECT_EQ(outer.top, 120);
    const auto pixels = clientPixels(RGB(255, 0, 0));
    for (const auto& [x, y] : {std::pair{100, 8}, {192, 100}, {100, 192}, {8, 100}})
        EXPECT_EQ(at(pixels, x, y), RGB(255, 0, 0)) << "bar at " << x << "," << y;
    expectPicture(pixels, L"IMAGE2");

    PostMessageW(window_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 40));
    for (int i = 0; i < 100 && (GetWindowLongW(window_, GWL_STYLE) & WS_CAPTION); ++i) Sleep(50);
    EXPECT_FALSE(GetWindowLongW(window_, GWL_STYLE) & WS_CAPTION);
    PostMessageW(window_, WM_CLOSE, 0, 0);
    ASSERT_EQ(exitCode(), 0);
    const std::string file = readSettings();
    for (const char* line : {"PosX=150\r\n", "PosY=120\r\n", "HideTitle=1\r\n", "Character=0\r\n", "Resource=2\r\n",
                             "Indicator=ff0000\r\n", "Hour=000000\r\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line << " in\n" << file;
}

// The alarm set to the minute the clock starts in rings at once.
class AlarmClock : public RunningClock {
protected:
    std::string settings() override {
        SYSTEMTIME now;
        GetLocalTime(&now);
        if (now.wSecond >= 55) {  // not across the change of minute
            Sleep((61 - now.wSecond) * 1000);
            GetLocalTime(&now);
        }
        char chime[MAX_PATH];
        WideCharToMultiByte(CP_ACP, 0, besideThisProgram(L"Horolo.wav").c_str(), -1, chime, MAX_PATH, nullptr, nullptr);
        return "[Alarm]\r\nUse=1\r\nHour=" + std::to_string(now.wHour) + "\r\nMinute=" + std::to_string(now.wMinute) +
               "\r\nFile=" + chime + "\r\n";
    }
};

TEST_F(AlarmClock, TheAlarmSetToTheCurrentMinuteShowsItsWindow) {
    const DWORD shown = GetTickCount();
    ASSERT_NE(waitForOwnWindow(L"設定時間になりました"), nullptr) << "no alarm window";
    EXPECT_LT(GetTickCount() - shown, 2000u);
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(), 0);
}

// A picture only a plug-in reads, with the plug-in in the stored plug-in
// directory: started in a folder without plug-ins, the clock finds it there
// and shows the 300 by 200 picture fitted between blank bands.
class PluginPictureClock : public RunningClock {
protected:
    std::string settings() override {
        char bin[MAX_PATH];
        WideCharToMultiByte(CP_ACP, 0, besideThisProgram(L"").c_str(), -1, bin, MAX_PATH, nullptr, nullptr);
        const std::string folder(bin, strlen(bin) - 1);
        const int drive = toupper(static_cast<unsigned char>(folder[0])) - 'A' + 1;
        return "[Settings]\r\nVersion=Version 1.00-Release\r\nBackground=" + folder +
               "\\clock_pictures\\wide.png\r\nCharacter=0\r\n[Colors]\r\nBackSpace=00ff00\r\n[SUSIE]\r\nSPIDrive=" +
               std::to_string(drive) + "\r\nSPIDirectory=" + folder + "\r\n";
    }
    std::wstring currentDirectory() override {
        wchar_t windows[MAX_PATH];
        GetWindowsDirectoryW(windows, MAX_PATH);
        return windows;
    }
};

TEST_F(PluginPictureClock, ShowsAPictureThroughThePluginOfTheStoredDirectory) {
    const auto pixels = clientPixels();
    for (const auto& [x, y] : {std::pair{2, 20}, {197, 180}}) EXPECT_EQ(at(pixels, x, y), RGB(0, 255, 0)) << x << "," << y;
    for (const auto& [x, y] : {std::pair{2, 40}, {197, 160}})
        EXPECT_EQ(at(pixels, x, y), RGB(0x20, 0x50, 0xA0)) << x << "," << y;
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(), 0);
}

// A picture file named like a device: the device is never read, so the
// start goes on. A bitmap path gets the error box of an unreadable picture,
// a plug-in path fails silently as plug-ins do; either way the clock shows
// "IMAGE0" and forgets the name.
class DeviceNamedPicture : public RunningClock {
protected:
    void SetUp() override {}
    void startWith(const std::string& settingsText) {
        std::ofstream(settingsPath().c_str(), std::ios::binary) << settingsText;
        launch(besideThisProgram(L"Horolo.exe"), nullptr);
    }
    void endClock() {
        PostMessageW(window_, WM_CLOSE, 0, 0);
        EXPECT_EQ(exitCode(), 0);
        CloseHandle(process_.hProcess);
        process_ = {};
        window_ = nullptr;
    }
};

TEST_F(DeviceNamedPicture, TheClockStartsWithItsOwnPicture) {
    char bin[MAX_PATH];
    WideCharToMultiByte(CP_ACP, 0, besideThisProgram(L"").c_str(), -1, bin, MAX_PATH, nullptr, nullptr);
    const struct {
        std::string background;
        bool errorBox;
    } cases[] = {{"COM1.png", false}, {std::string(bin) + "lpt1.bmp", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.background);
        startWith("[Settings]\r\nVersion=Version 1.00-Release\r\nBackground=" + c.background +
                  "\r\n[SUSIE]\r\nSPIDrive=" + std::to_string(toupper(bin[0]) - 'A' + 1) + "\r\nSPIDirectory=" +
                  bin + "\r\n");
        if (c.errorBox) {
            HWND box = waitForOwnWindow(L"ｴﾗｰ");
            ASSERT_NE(box, nullptr) << "no error box";
            std::wstring message;
            for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
                message += textOf(child);
            EXPECT_NE(message.find(L"画像ファイルを読み込めません"), std::wstring::npos);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        findClock();
        ASSERT_NE(window_, nullptr);
        expectPicture(clientPixels(), L"IMAGE0");
        EXPECT_EQ(FindWindowW(nullptr, L"ｴﾗｰ"), nullptr);
        endClock();
        EXPECT_NE(readSettings().find("Background=\r\n"), std::string::npos);
    }
}

// A first start in a folder where somebody put a plug-in: the plug-ins come
// from the program's own folder, so the planted one is never loaded (it
// would leave its trace file) and the shipped one draws the picture.
class PlantedPlugin : public RunningClock {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        planted_ = std::wstring(temp) + L"horolo_planted_spi";
        trace_ = planted_ + L"\\loaded.trace";
        CreateDirectoryW(planted_.c_str(), nullptr);
        DeleteFileW(trace_.c_str());
        ASSERT_TRUE(CopyFileW(besideThisProgram(L"spi_test\\trace.spi").c_str(), (planted_ + L"\\trace.spi").c_str(),
                              FALSE));
        SetEnvironmentVariableW(L"HRL_TEST_TRACE", trace_.c_str());
        RunningClock::SetUp();
    }
    void TearDown() override {
        RunningClock::TearDown();
        SetEnvironmentVariableW(L"HRL_TEST_TRACE", nullptr);
        DeleteFileW(trace_.c_str());
        DeleteFileW((planted_ + L"\\trace.spi").c_str());
        RemoveDirectoryW(planted_.c_str());
    }
    std::string settings() override {
        char bin[MAX_PATH];
        WideCharToMultiByte(CP_ACP, 0, besideThisProgram(L"clock_pictures\\wide.png").c_str(), -1, bin, MAX_PATH,
                            nullptr, nullptr);
        return std::string("[Settings]\r\nBackground=") + bin + "\r\n[Colors]\r\nBackSpace=00ff00\r\n";
    }
    std::wstring currentDirectory() override { return planted_; }
    std::wstring planted_, trace_;
};

TEST_F(PlantedPlugin, AFirstStartTakesThePluginsBesideTheProgram) {
    const auto pixels = clientPixels();
    EXPECT_EQ(at(pixels, 2, 20), RGB(0, 255, 0));
    EXPECT_EQ(at(pixels, 2, 40), RGB(0x20, 0x50, 0xA0));
    EXPECT_EQ(GetFileAttributesW(trace_.c_str()), INVALID_FILE_ATTRIBUTES) << "the planted plug-in was loaded";
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(), 0);
}

// A copy of the program alone in a folder, started in a folder that holds a
// file named hrl_spi.dll: the program does not take that file for its
// library.
class PlantedLibrary : public RunningClock {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        alone_ = std::wstring(temp) + L"horolo_alone";
        planted_ = std::wstring(temp) + L"horolo_planted";
        CreateDirectoryW(alone_.c_str(), nullptr);
        CreateDirectoryW(planted_.c_str(), nullptr);
        ASSERT_TRUE(CopyFileW(besideThisProgram(L"Horolo.exe").c_str(), (alone_ + L"\\Horolo.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(besideThisProgram(L"hrl_spi.dll").c_str(), (planted_ + L"\\hrl_spi.dll").c_str(), FALSE));
        DeleteFileW(settingsPath().c_str());
        start(alone_ + L"\\Horolo.exe", planted_.c_str());
    }
    void TearDown() override {
        RunningClock::TearDown();
        DeleteFileW((alone_ + L"\\Horolo.exe").c_str());
        DeleteFileW((planted_ + L"\\hrl_spi.dll").c_str());
        RemoveDirectoryW(alone_.c_str());
        RemoveDirectoryW(planted_.c_str());
    }
    std::wstring alone_, planted_;
};

TEST_F(PlantedLibrary, OnlyTheLibraryBesideTheProgramIsLoaded) {
    const HANDLE modules = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process_.dwProcessId);
    ASSERT_NE(modules, INVALID_HANDLE_VALUE);
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    int seen = 0;
    for (BOOL more = Module32FirstW(modules, &module); more; more = Module32NextW(modules, &module)) {
        ++seen;
        EXPECT_NE(lstrcmpiW(module.szModule, L"hrl_spi.dll"), 0) << "loaded from the current directory";
    }
    CloseHandle(modules);
    EXPECT_GT(seen, 1);
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(), 0);
}

}  // namespace
