// The standard windowed controls: buttons, check boxes, group boxes, radio
// groups, drop-down and plain lists, pages, colour panels, progress bars and
// the drive and directory lists. Each takes its layout and initial state in
// its constructor (a layout with designated initialisers); state changed before
// the form creates the control is kept and applied at creation.
#pragma once

#include "framework/control.h"
#include "framework/gdi.h"

#include <functional>
#include <memory>
#include <type_traits>
#include <string>
#include <vector>

namespace fw {

class DirectoryList;
class PageControl;

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

// A frame with a caption; a container for other controls (pass it as the
// parent to Form::add). Clicks on it fall through to what lies beneath, and
// its frame leaves out sibling controls laid over it (a check box as title).
struct GroupBoxSpec {
    Bounds bounds{};
    std::wstring caption{};
    bool enabled = true;
};

class GroupBox : public WindowedControl {
public:
    explicit GroupBox(const GroupBoxSpec& layout);

protected:
    void createHandle() override;
    LRESULT wndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void enabledChanged() override;
    // Height of a line of text in the form's font.
    int textHeight() const;

private:
    void excludeSiblings(HDC dc) const;
    void paintFrame(HDC dc);
};

// A group box with one radio button per item, arranged in columns.
// itemIndex is -1 when no item is selected; setItemIndex keeps an index above
// the last item at the last and one below -1 at -1. onClick runs on every
// change of the index, also a programmatic one.
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
    void showIndex();
    std::vector<std::wstring> items_;
    int columns_;
    int itemIndex_;
    std::vector<HWND> buttons_;
};

// Drop-down list: the user picks one of its items, no text entry. itemIndex
// is -1 when nothing is selected; setItemIndex outside the items leaves no
// selection. The bounds' height is the closed height; the list drops down
// below it.
struct ComboBoxSpec {
    Bounds bounds{};
    std::vector<std::wstring> items{};
    int itemIndex = -1;
    bool enabled = true;
};

// What a drop-down list and a list box share: items and one selected index
// that follows the user's choice (kept if the window is made again). The two
// window classes differ only in their message numbers.
class ListControl : public WindowedControl {
public:
    struct Messages {
        UINT addString, resetContent, setCurSel, getCurSel;
        WORD selChange;
    };

    const std::vector<std::wstring>& items() const { return items_; }
    void clear();
    void addItem(const std::wstring& item);
    int itemIndex() const { return itemIndex_; }
    // Outside the items: no selection (-1).
    void setItemIndex(int index);

protected:
    ListControl(const Bounds& bounds, std::vector<std::wstring> items, int itemIndex, const Messages& messages);
    // Fills a new window with the items and the selection.
    void fill(HWND window);
    bool command(WORD code) override;

private:
    std::vector<std::wstring> items_;
    int itemIndex_;
    const Messages& messages_;
};

class ComboBox : public ListControl {
public:
    explicit ComboBox(const ComboBoxSpec& layout);

protected:
    void createHandle() override;
    void boundsChanged(const Bounds& old) override;

private:
    int droppedHeight() const;
};

// A list of lines with single selection.
struct ListBoxSpec {
    Bounds bounds{};
    std::vector<std::wstring> items{};
};

class ListBox : public ListControl {
public:
    explicit ListBox(const ListBoxSpec& layout);

protected:
    void createHandle() override;
};

// One page of a PageControl. Its controls are added with the page as parent;
// their positions are within the page. A page whose tab is hidden cannot be
// shown.
struct PageSpec {
    std::wstring caption{};
    bool tabVisible = true;
};

class Page : public WindowedControl {
public:
    Page(PageControl& owner, const PageSpec& layout);
    bool tabVisible() const { return tabVisible_; }
    void setTabVisible(bool visible);
    PageControl& pageControl() const { return owner_; }

protected:
    void createHandle() override;
    void captionChanged() override;

private:
    PageControl& owner_;
    bool tabVisible_;
};

// Tabs over a stack of pages; one page is shown at a time. The page shown
// stays the active page until another is chosen (also across showings of the
// form); the first page added is active at the start.
class PageControl : public WindowedControl {
public:
    explicit PageControl(Bounds bounds);
    Page* activePage() const { return active_; }
    void setActivePage(Page& page);
    const std::vector<Page*>& pages() const { return pages_; }
    // The pages whose tabs are visible, in tab order.
    std::vector<Page*> visiblePages() const;

protected:
    void createHandle() override;
    bool notify(NMHDR* header, LRESULT& result) override;

private:
    friend class Page;
    void registerPage(Page& page);
    // The area of the pages within the tab control.
    Bounds displayArea() const;
    void rebuildTabs();
    std::vector<Page*> pages_;
    Page* active_ = nullptr;
};

// A panel filled with its colour (a Colour: red in the low byte); clicking it
// runs onClick.
struct ColorPanelSpec {
    Bounds bounds{};
    COLORREF color = RGB(0, 0, 0);
};

class ColorPanel : public WindowedControl {
public:
    explicit ColorPanel(const ColorPanelSpec& layout);
    COLORREF color() const { return color_; }
    void setColor(COLORREF color);

protected:
    void createHandle() override;
    LRESULT wndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    COLORREF color_;
    bool pressed_ = false;
};

// A bar from 0 to max over the full 32-bit range.
struct ProgressBarSpec {
    Bounds bounds{};
    int max = 100;
    int position = 0;
};

class ProgressBar : public WindowedControl {
public:
    explicit ProgressBar(const ProgressBarSpec& layout);
    int max() const { return max_; }
    void setMax(int max);
    int position() const { return position_; }
    void setPosition(int position);

protected:
    void createHandle() override;

private:
    int max_;
    int position_;
};

// A drop-down list of the system's drives. Bound to a DirectoryList, choosing
// a drive moves that list to the drive's current directory.
class DriveList : public ComboBox {
public:
    explicit DriveList(Bounds bounds);
    // The selected drive letter, lower case.
    char drive() const { return drive_; }
    // Selects a drive (either case); false, and nothing changes, when the
    // system has no such drive.
    bool setDrive(char letter);
    void setDirectoryList(DirectoryList* list);

protected:
    bool command(WORD code) override;

private:
    friend class DirectoryList;
    // Selects the drive without moving the bound directory list.
    void showDrive(char letter);
    std::vector<char> drives_;
    char drive_;
    DirectoryList* directoryList_ = nullptr;
};

// The directory tree of one drive: the path to the current directory, then
// its subdirectories; a double-click opens a line. Paths are ANSI texts.
// onChange runs on every change of the directory, also a programmatic one.
class DirectoryList : public WindowedControl {
public:
    explicit DirectoryList(Bounds bounds);
    // Full path without a trailing backslash, except for a drive's root ("c:\").
    const std::string& directory() const { return directory_; }
    // Moves to an existing directory; false, and nothing changes, otherwise.
    bool setDirectory(const std::string& path);
    std::function<void()> onChange;
    // The path each line stands for, in display order.
    const std::vector<std::string>& lines() const { return lines_; }

protected:
    void createHandle() override;
    bool command(WORD code) override;

private:
    friend class DriveList;
    // Reads the lines of the directory, then shows them.
    void fill();
    // Puts the lines read last into the window.
    void showLines();
    std::string directory_;
    std::vector<std::string> lines_;
    std::vector<std::wstring> texts_;
    int currentLine_ = 0;
    DriveList* driveList_ = nullptr;
};

}  // namespace fw
