// Helpers for the window-layer tests: a recording platform and a message pump
// that waits for a condition (generously: tests must not depend on speed).
#pragma once

#include "framework/application.h"
#include "framework/platform.h"

#include <windows.h>

#include <array>
#include <deque>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace fwtest {

struct RecordedBox {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

// What a dialog was opened with.
struct RecordedFileDialog {
    std::wstring filter;
    std::wstring defaultExt;
    std::wstring fileName;
};

struct RecordedInput {
    std::wstring caption;
    std::wstring prompt;
    std::wstring preset;
};

struct RecordedHelp {
    HWND owner;
    std::string file;
    UINT command;
    std::string macro;  // the text of a HELP_COMMAND
};

struct RecordedShell {
    HWND owner;
    std::string verb;
    std::string file;
};

struct RecordedMciCommand {
    MCIDEVICEID device;
    UINT message;
    DWORD_PTR flags;
};

class RecordingPlatform : public fw::Platform {
public:
    SYSTEMTIME localTime() override { return now; }
    void setTime(WORD hour, WORD minute, WORD second) {
        now.wHour = hour;
        now.wMinute = minute;
        now.wSecond = second;
    }
    int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override {
        boxes.push_back({owner, text, caption, type});
        return IDOK;
    }
    void messageBeep(UINT type) override { beeps.push_back(type); }

    bool winHelp(HWND owner, const std::string& file, UINT command, ULONG_PTR data) override {
        helps.push_back({owner, file, command, command == HELP_COMMAND ? reinterpret_cast<const char*>(data) : ""});
        return helpAnswer;
    }
    bool hasWinHelpViewer() override { return helpViewer; }

    SYSTEMTIME now{2026, 12, 1, 7, 9, 5, 7, 0};
    std::vector<RecordedBox> boxes;
    std::vector<UINT> beeps;
    std::vector<RecordedHelp> helps;
    bool helpAnswer = true;
    bool helpViewer = true;

    // The dialogs take their answers in turn from these queues; nothing
    // queued, or an empty optional, is the user cancelling.
    bool openFileDialog(const std::wstring& filter, const std::wstring& defaultExt, std::wstring& fileName) override {
        fileDialogs.push_back({filter, defaultExt, fileName});
        return Answer(fileAnswers, fileName);
    }
    bool colorDialog(COLORREF& color, std::array<COLORREF, 16>&) override {
        colorDialogs.push_back(color);
        return Answer(colorAnswers, color);
    }
    bool inputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& text) override {
        inputs.push_back({caption, prompt, text});
        return Answer(inputAnswers, text);
    }

    std::vector<RecordedFileDialog> fileDialogs;
    std::deque<std::optional<std::wstring>> fileAnswers;
    std::vector<COLORREF> colorDialogs;
    std::deque<std::optional<COLORREF>> colorAnswers;
    std::vector<RecordedInput> inputs;
    std::deque<std::optional<std::wstring>> inputAnswers;

    // MCI commands are recorded, then sent for real. Shell calls are
    // recorded, then made for real unless shellAnswer gives the result.
    MCIERROR sendMciCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR parameters) override {
        mciCommands.push_back({device, message, flags});
        return real_.sendMciCommand(device, message, flags, parameters);
    }
    HINSTANCE shellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                           const char* directory, int show) override {
        shells.push_back({owner, verb ? verb : "", file});
        if (shellAnswer) return reinterpret_cast<HINSTANCE>(*shellAnswer);
        return real_.shellExecute(owner, verb, file, parameters, directory, show);
    }
    std::vector<RecordedMciCommand> mciCommands;
    std::vector<RecordedShell> shells;
    std::optional<INT_PTR> shellAnswer;

private:
    fw::RealPlatform real_;

    template <class T>
    static bool Answer(std::deque<std::optional<T>>& answers, T& value) {
        if (answers.empty()) return false;
        const std::optional<T> answer = answers.front();
        answers.pop_front();
        if (answer) value = *answer;
        return answer.has_value();
    }
};

// Handles messages until the condition holds; false after ten seconds.
template <class Condition>
bool PumpUntil(Condition condition) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > 10000) return false;
        fw::Application::instance().processMessages();
        Sleep(1);
    }
    return true;
}

// Handles messages for a while (to show that something does not happen).
inline void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        fw::Application::instance().processMessages();
        Sleep(1);
    }
}

// While it lives, every free stretch of the address space of `hole` bytes
// or more is reserved: an allocation larger than that fails, as it does in a
// 32-bit process that has run out of room.
class AddressSpaceFill {
public:
    explicit AddressSpaceFill(std::size_t hole) {
        blocks_.reserve(4096);
        for (std::size_t size = std::size_t{1} << 30; size >= hole; size /= 2)
            while (void* block = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS)) blocks_.push_back(block);
    }
    ~AddressSpaceFill() {
        for (void* block : blocks_) VirtualFree(block, 0, MEM_RELEASE);
    }
    AddressSpaceFill(const AddressSpaceFill&) = delete;
    AddressSpaceFill& operator=(const AddressSpaceFill&) = delete;

private:
    std::vector<void*> blocks_;
};

// Presses keys as a user does, through the system's input into the window
// brought to the foreground: each key goes down in turn (the first ones are
// held as modifiers) and up in reverse order. Handles messages until the last
// key went down and every key is up again; false when that does not happen.
inline bool PressKeys(HWND window, std::initializer_list<WORD> keys) {
    SetForegroundWindow(window);
    if (!PumpUntil([&] { return GetForegroundWindow() == window; })) return false;
    std::vector<INPUT> input;
    for (WORD key : keys) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        input.push_back(down);
    }
    for (size_t i = keys.size(); i-- > 0;) {
        input.push_back(input[i]);
        input.back().ki.dwFlags = KEYEVENTF_KEYUP;
    }
    // The low bit of a key's state turns over at each press.
    const WORD last = *(keys.end() - 1);
    const SHORT before = GetKeyState(last) & 1;
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
    return PumpUntil([&] {
        for (WORD key : keys)
            if (GetKeyState(key) < 0) return false;
        return (GetKeyState(last) & 1) != before;
    });
}

}  // namespace fwtest
