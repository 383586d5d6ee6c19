// Buttons: push buttons, push buttons with a standard glyph (OK, Cancel,
// Abort), check boxes and radio groups. Each takes its layout and initial
// state in its constructor; state changed before the form creates the control
// is kept and applied at creation.
#pragma once

#include "framework/control.h"
#include "framework/gdi.h"
#include "framework/panels.h"

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace fw {

// Push button; onClick runs when it is clicked (mouse, space, Enter/Esc for
// the OK and Cancel kinds of BitmapButton).
struct ButtonSpec {
    Bounds bounds{};
    std::wstring caption{};
    bool enabled = true;
};

class Button : public WindowedControl {
public:
    explicit Button(const ButtonSpec& layout);

protected:
    void createHandle() override;
    bool command(WORD code) override;
    // Runs after onClick.
    virtual void clicked() {}
    // BS_PUSHBUTTON or BS_DEFPUSHBUTTON.
    DWORD pushStyle_ = BS_PUSHBUTTON;
};

// A push button with a standard glyph beside its caption:
// Ok: green check mark; the default button (Enter); ends a modal form with mrOk.
// Cancel: red cross; answers Esc; ends a modal form with mrCancel.
// Abort: red stop sign; ends nothing.
enum class ButtonKind { Ok, Cancel, Abort };

struct BitmapButtonSpec {
    Bounds bounds{};
    ButtonKind kind = ButtonKind::Ok;
    std::wstring caption{};  // empty: the kind's standard caption
    bool enabled = true;
};

class BitmapButton : public Button {
public:
    explicit BitmapButton(const BitmapButtonSpec& layout);
    ButtonKind kind() const { return kind_; }

protected:
    void clicked() override;
    LRESULT wndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void paint(HDC dc);
    struct ImageListDeleter {
        void operator()(HIMAGELIST list) const noexcept { if (list) ImageList_Destroy(list); }
    };
    ButtonKind kind_;
    // The glyph for the normal (0) and the disabled state (1), 18 by 18 pixels.
    std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter> glyphs_;
    UINT paintedState_ = 0;
};

// onClick runs on every change of the checked state, also a programmatic one.
struct CheckBoxSpec {
    Bounds bounds{};
    std::wstring caption{};
    bool checked = false;
    bool enabled = true;
};

class CheckBox : public WindowedControl {
public:
    explicit CheckBox(const CheckBoxSpec& layout);
    bool checked() const { return checked_; }
    void setChecked(bool checked);

protected:
    void createHandle() override;
    bool command(WORD code) override;

private:
    bool checked_;
};


// A group box with one radio button per item, arranged in columns.
// itemIndex is -1 when no item is selected; setItemIndex keeps an index above
// the last item at the last and one below -1 at -1. onClick runs on every
// change of the index, also a programmatic one. A click, the space bar or an
// arrow key selects; a focus that merely arrives (the window activated again,
// the program setting it) selects nothing and goes on to the checked button,
// as in a dialog.
struct RadioGroupSpec {
    Bounds bounds{};
    std::wstring caption{};
    std::vector<std::wstring> items{};
    int columns = 1;
    int itemIndex = -1;
    bool enabled = true;
};

class RadioGroup : public GroupBox {
public:
    explicit RadioGroup(const RadioGroupSpec& layout);
    int itemIndex() const { return itemIndex_; }
    void setItemIndex(int index);
    const std::vector<std::wstring>& items() const { return items_; }
    // The radio button window of an item (null before creation).
    HWND buttonHandle(int item) const;

protected:
    void createHandle() override;
    LRESULT wndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void enabledChanged() override;

private:
    static LRESULT CALLBACK buttonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR refData);
    void showIndex();
    std::vector<std::wstring> items_;
    int columns_;
    int itemIndex_;
    std::vector<HWND> buttons_;
    // The button inside its WM_SETFOCUS: the button class reports an
    // unchecked radio button that gets the focus as clicked.
    HWND focusArriving_ = nullptr;
};

}  // namespace fw
