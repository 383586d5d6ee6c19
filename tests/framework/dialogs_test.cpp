// The common dialogs: what they hand the platform and take back, and the real
// dialogs, answered from a timer inside their own message loops.
#include "framework/ansi.h"
#include "framework/control.h"
#include "framework/dialogs.h"
#include "framework/form.h"
#include "framework/gdi.h"
#include "test_support.h"

#include <windows.h>
#include <commctrl.h>
#include <colordlg.h>
#include <dlgs.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Result = fw::FileOpenDialog::Result;

std::string Ansi(const std::wstring& text) { return fw::ToAnsiExact(text).value(); }

std::wstring Text(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// Runs the steps in turn, each until it returns true, from a thread timer
// that fires inside whichever message loop runs: that of a modal dialog too.
// After twenty seconds it cancels every dialog of the thread, so that a test
// fails instead of waiting for ever.
class Script {
public:
    explicit Script(std::vector<std::function<bool()>> steps)
        : steps_(std::move(steps)), start_(GetTickCount()), timer_(SetTimer(nullptr, 0, 50, tick)) {
        current_ = this;
    }
    ~Script() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    bool finished() const { return next_ == steps_.size(); }

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        Script* self = current_;
        if (!self || self->busy_) return;
        self->busy_ = true;
        if (GetTickCount() - self->start_ > 20000) {
            EnumThreadWindows(GetCurrentThreadId(), cancel, 0);
        } else if (!self->finished() && self->steps_[self->next_]()) {
            ++self->next_;
        }
        self->busy_ = false;
    }
    static BOOL CALLBACK cancel(HWND window, LPARAM) {
        if (IsWindowVisible(window)) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
        if (IsWindowVisible(window)) PostMessageW(window, WM_CLOSE, 0, 0);
        return TRUE;
    }

    static inline Script* current_ = nullptr;
    std::vector<std::function<bool()>> steps_;
    size_t next_ = 0;
    bool busy_ = false;
    DWORD start_;
    UINT_PTR timer_;
};

// The first top-level window of this thread that matches, or null.
HWND ThreadWindow(const std::function<bool(HWND)>& match) {
    struct Search {
        const std::function<bool(HWND)>& match;
        HWND found;
    } search{match, nullptr};
    struct Enum {
        static BOOL CALLBACK visit(HWND window, LPARAM param) {
            auto* s = reinterpret_cast<Search*>(param);
            if (s->match(window)) s->found = window;
            return s->found == nullptr;
        }
    };
    EnumThreadWindows(GetCurrentThreadId(), Enum::visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The system dialog that has this control and takes input, or null.
HWND DialogWith(int controlId) {
    return ThreadWindow([&](HWND window) {
        return IsWindowVisible(window) && IsWindowEnabled(window) && GetDlgItem(window, controlId);
    });
}

// The system's warning box shown over a dialog, or null.
HWND BoxOwnedBy(HWND dialog) {
    return ThreadWindow([&](HWND window) { return IsWindowVisible(window) && GetWindow(window, GW_OWNER) == dialog; });
}

void Click(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

TEST(CommonDialogs, AskThePlatformAndTakeBackItsAnswer) {
    fwtest::RecordingPlatform fake;
    fw::PlatformOverride use(fake);

    fw::FileOpenDialog open{.filter = Ansi(L"ポータブル (*.pbm)|*.pbm"), .defaultExt = "bmp", .fileName = Ansi(L"c:\\データ\\a.pbm")};
    fake.fileAnswers = {std::nullopt, L"c:\\データ\\b.pbm", L"c:\\\u00e9t\u00e9.pbm"};
    EXPECT_EQ(open.execute(), Result::Cancelled);
    ASSERT_EQ(fake.fileDialogs.size(), 1u);
    EXPECT_EQ(fake.fileDialogs[0].filter, L"ポータブル (*.pbm)|*.pbm");
    EXPECT_EQ(fake.fileDialogs[0].defaultExt, L"bmp");
    EXPECT_EQ(fake.fileDialogs[0].fileName, L"c:\\データ\\a.pbm");
    EXPECT_EQ(open.fileName, Ansi(L"c:\\データ\\a.pbm"));
    EXPECT_EQ(open.execute(), Result::Picked);
    EXPECT_EQ(open.fileName, Ansi(L"c:\\データ\\b.pbm"));
    // A name outside the code page would be stored as another path.
    EXPECT_EQ(open.execute(), Result::NotInCodePage);
    EXPECT_EQ(open.fileName, Ansi(L"c:\\データ\\b.pbm"));

    fw::ColorDialog color;
    color.color = RGB(1, 2, 3);
    fake.colorAnswers = {std::nullopt, RGB(4, 5, 6)};
    EXPECT_FALSE(color.execute());
    EXPECT_EQ(color.color, RGB(1, 2, 3));
    EXPECT_TRUE(color.execute());
    EXPECT_EQ(color.color, RGB(4, 5, 6));
    EXPECT_EQ(fake.colorDialogs, (std::vector<COLORREF>{RGB(1, 2, 3), RGB(1, 2, 3)}));

    fake.inputAnswers = {std::nullopt, L"-new"};
    EXPECT_EQ(fw::InputBox(L"caption", L"prompt", L"-old"), L"-old");
    EXPECT_EQ(fw::InputBox(L"caption", L"prompt", L"-old"), L"-new");
    ASSERT_EQ(fake.inputs.size(), 2u);
    EXPECT_EQ(fake.inputs[1].caption, L"caption");
    EXPECT_EQ(fake.inputs[1].prompt, L"prompt");
    EXPECT_EQ(fake.inputs[1].preset, L"-old");
}

// A folder of files for the real file dialog, removed afterwards.
class RealFileDialog : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        // Each case runs in a process of its own, beside the others: one
        // folder per process, or one case's clean-up deletes another's files.
        folder = std::wstring(temp) + L"ダイアログ試験" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
        for (const wchar_t* name : {L"first.bmp", L"second.bmp", L"\u00e9t\u00e9.bmp"}) {
            files.push_back(folder + L"\\" + name);
            CloseHandle(CreateFileW(files.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        }
        dialog.filter = Ansi(L"Windows Bitmap (*.BMP)|*.bmp|ポータブル (*.pbm)|*.pbm");
        dialog.defaultExt = "bmp";
        dialog.fileName = Ansi(files[0]);
    }
    void TearDown() override {
        for (const std::wstring& file : files) DeleteFileW(file.c_str());
        RemoveDirectoryW(folder.c_str());
    }

    // The file dialog once it shows the preset name: typing into it earlier
    // may be overwritten by its own start-up (seen under load).
    static HWND ReadyDialog() {
        HWND window = DialogWith(cmb13);
        return window && Text(GetDlgItem(window, cmb13)) == L"first.bmp" ? window : nullptr;
    }

    // Types a name into the dialog's file name field and presses Enter.
    static void Enter(HWND dialog, const std::wstring& name) {
        HWND field = GetDlgItem(dialog, cmb13);
        SetWindowTextW(field, name.c_str());
        Click(dialog, IDOK);
    }

    std::wstring folder;
    std::vector<std::wstring> files;
    fw::FileOpenDialog dialog;
};

TEST_F(RealFileDialog, StartsAtThePresetListsTheFilterAndGivesTheFilePickedAsAnAnsiPath) {
    std::vector<std::wstring> types;
    std::wstring shownName;
    Script script({[&] {
        HWND window = ReadyDialog();
        if (!window) return false;
        HWND typeList = GetDlgItem(window, cmb1);
        for (int i = 0; i < SendMessageW(typeList, CB_GETCOUNT, 0, 0); ++i) {
            wchar_t text[128] = {};
            SendMessageW(typeList, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            types.push_back(text);
        }
        shownName = Text(GetDlgItem(window, cmb13));
        Enter(window, L"second.bmp");
        return true;
    }});
    EXPECT_EQ(dialog.execute(), Result::Picked);
    EXPECT_TRUE(script.finished());
    // The Shift-JIS description, whose "ポ" ends in the byte of '|', stays whole.
    EXPECT_EQ(types, (std::vector<std::wstring>{L"Windows Bitmap (*.BMP)", L"ポータブル (*.pbm)"}));
    EXPECT_EQ(shownName, L"first.bmp");
    EXPECT_EQ(dialog.fileName, Ansi(files[1]));
}

TEST_F(RealFileDialog, AMissingFileIsRefusedAndCancelKeepsThePreset) {
    HWND window = nullptr;
    bool warned = false;
    Script script({[&] {
                       window = ReadyDialog();
                       if (window) Enter(window, folder + L"\\missing.bmp");
                       return window != nullptr;
                   },
                   [&] {
                       HWND box = BoxOwnedBy(window);
                       if (!box) return false;
                       warned = true;
                       PostMessageW(box, WM_COMMAND, IDOK, 0);
                       return true;
                   },
                   [&] {
                       if (DialogWith(cmb13) != window) return false;  // back at the dialog
                       Click(window, IDCANCEL);
                       return true;
                   }});
    EXPECT_EQ(dialog.execute(), Result::Cancelled);
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(warned);
    EXPECT_EQ(dialog.fileName, Ansi(files[0]));
}

TEST_F(RealFileDialog, APathOutsideTheCodePageIsToldAndNotTaken) {
    Script script({[&] {
        HWND window = ReadyDialog();
        if (window) Enter(window, files[2]);
        return window != nullptr;
    }});
    EXPECT_EQ(dialog.execute(), Result::NotInCodePage);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(dialog.fileName, Ansi(files[0]));
}

// The colour dialog starts at the preset; a colour added to the custom
// colours is there again the next time the dialog opens.
TEST(RealColorDialog, StartsAtThePresetAndKeepsCustomColoursFromOneRunToTheNext) {
    fw::ColorDialog dialog;
    dialog.color = RGB(10, 20, 30);
    UINT shown[3] = {};
    Script first({[&] {
        HWND window = DialogWith(COLOR_RED);
        if (!window) return false;
        for (int i = 0; i < 3; ++i) shown[i] = GetDlgItemInt(window, COLOR_RED + i, nullptr, FALSE);
        SetDlgItemInt(window, COLOR_RED, 200, FALSE);
        SetDlgItemInt(window, COLOR_GREEN, 100, FALSE);
        SetDlgItemInt(window, COLOR_BLUE, 50, FALSE);
        Click(window, COLOR_ADD);
        Click(window, IDOK);
        return true;
    }});
    ASSERT_TRUE(dialog.execute());
    EXPECT_EQ(shown[0], 10u);
    EXPECT_EQ(shown[1], 20u);
    EXPECT_EQ(shown[2], 30u);
    EXPECT_EQ(dialog.color, RGB(200, 100, 50));
    EXPECT_EQ(dialog.customColors()[0], RGB(200, 100, 50));
    EXPECT_EQ(dialog.customColors()[1], RGB(255, 255, 255));

    // The first custom colour, picked with the mouse.
    dialog.color = RGB(0, 0, 0);
    Script second({[&] {
        HWND window = DialogWith(COLOR_CUSTOM1);
        if (!window) return false;
        RECT cells;
        GetWindowRect(GetDlgItem(window, COLOR_CUSTOM1), &cells);
        MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&cells), 2);
        const LPARAM first = MAKELPARAM(cells.left + (cells.right - cells.left) / 16, cells.top + (cells.bottom - cells.top) / 4);
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, first);
        SendMessageW(window, WM_LBUTTONUP, 0, first);
        Click(window, IDOK);
        return true;
    }});
    EXPECT_TRUE(dialog.execute());
    EXPECT_EQ(dialog.color, RGB(200, 100, 50));
}

// The input box shows its caption, prompt and preset, the preset selected;
// typing replaces it, up to 255 characters; Enter gives the text, Esc the
// preset.
TEST(RealInputBox, TakesAtMost255CharactersAndGivesThePresetBackOnCancel) {
    const std::wstring caption = L"Command Line for Alarm";
    const std::wstring prompt = L"オプションを編集して下さい";
    bool promptShown = false;
    std::wstring presetShown;
    DWORD selection = 0;
    auto box = [&] { return FindWindowW(nullptr, caption.c_str()); };
    auto edit = [&] { return FindWindowExW(box(), nullptr, L"Edit", nullptr); };
    Script typing({[&] {
                       if (!box() || GetForegroundWindow() != box()) return false;
                       for (const fw::Control* control : fw::Form::fromHandle(box())->controls())
                           promptShown |= control->caption() == prompt;
                       presetShown = Text(edit());
                       selection = static_cast<DWORD>(SendMessageW(edit(), EM_GETSEL, 0, 0));
                       for (int i = 0; i < 300; ++i) PostMessageW(edit(), WM_CHAR, L'x', 1);
                       PostMessageW(edit(), WM_KEYDOWN, VK_RETURN, 1);
                       return true;
                   }});
    EXPECT_EQ(fw::InputBox(caption, prompt, L"-preset"), std::wstring(255, L'x'));
    EXPECT_TRUE(typing.finished());
    EXPECT_EQ(presetShown, L"-preset");
    EXPECT_EQ(selection, MAKELONG(0, 7));
    EXPECT_TRUE(promptShown);

    Script cancelling({[&] {
        if (!box() || GetForegroundWindow() != box()) return false;
        PostMessageW(edit(), WM_CHAR, L'y', 1);
        PostMessageW(edit(), WM_KEYDOWN, VK_ESCAPE, 1);
        return true;
    }});
    EXPECT_EQ(fw::InputBox(caption, prompt, L"-preset"), L"-preset");
    EXPECT_TRUE(cancelling.finished());
}

// Each input box is a form made and destroyed again: closing it with its
// close box leaves no window and no GDI object behind.
TEST(RealInputBox, CloseBoxGivesThePresetAndLeavesNothingBehind) {
    auto windows = [] {
        int count = 0;
        ThreadWindow([&](HWND) { return ++count < 0; });
        return count;
    };
    auto showAndClose = [] {
        Script closing({[] {
            HWND box = FindWindowW(nullptr, L"box");
            if (box) PostMessageW(box, WM_CLOSE, 0, 0);
            return box != nullptr;
        }});
        EXPECT_EQ(fw::InputBox(L"box", L"prompt", L"preset"), L"preset");
        EXPECT_TRUE(closing.finished());
    };
    showAndClose();  // first showings may create lasting objects (caches)
    const int gdiBefore = fw::GdiObjectCount();
    const int windowsBefore = windows();
    for (int i = 0; i < 20; ++i) showAndClose();
    EXPECT_EQ(fw::GdiObjectCount(), gdiBefore);
    EXPECT_EQ(windows(), windowsBefore);
}

}  // namespace
