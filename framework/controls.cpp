#include "framework/controls.h"

#include "framework/ansi.h"
#include "framework/application.h"
#include "framework/error.h"
#include "framework/form.h"
#include "framework/item_index.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace fw {

namespace {

const int kGlyphSize = 18;
const COLORREF kGlyphKey = RGB(255, 0, 255);  // transparent pixels of a glyph

int TextHeight(HFONT font) {
    WindowDC screen;
    SelectGuard select(screen.get(), font);
    TEXTMETRICW metrics;
    GetTextMetricsW(screen.get(), &metrics);
    return metrics.tmHeight;
}

// The glyph of a kind, on the key colour; grey for the disabled state.
BitmapHandle DrawGlyph(ButtonKind kind, bool enabledState) {
    WindowDC screen;
    BitmapHandle glyph(CreateCompatibleBitmap(screen.get(), kGlyphSize, kGlyphSize));
    BitmapCanvas canvas(glyph.get());
    HDC dc = canvas.get();
    BrushHandle key(CreateSolidBrush(kGlyphKey));
    RECT all{0, 0, kGlyphSize, kGlyphSize};
    FillRect(dc, &all, key.get());
    COLORREF ink = RGB(0, 0, 0);
    switch (kind) {
    case ButtonKind::Ok: ink = RGB(0, 128, 0); break;
    case ButtonKind::Cancel: ink = RGB(192, 0, 0); break;
    case ButtonKind::Abort: ink = RGB(200, 0, 0); break;
    }
    if (!enabledState) ink = GetSysColor(COLOR_GRAYTEXT);
    PenHandle pen(CreatePen(PS_SOLID, 3, ink));
    BrushHandle fill(CreateSolidBrush(ink));
    SelectGuard selectPen(dc, pen.get());
    SelectGuard selectBrush(dc, fill.get());
    switch (kind) {
    case ButtonKind::Ok: {
        const POINT check[] = {{3, 9}, {7, 13}, {15, 4}};
        Polyline(dc, check, 3);
        break;
    }
    case ButtonKind::Cancel:
        MoveToEx(dc, 4, 4, nullptr);
        LineTo(dc, 14, 14);
        MoveToEx(dc, 14, 4, nullptr);
        LineTo(dc, 4, 14);
        break;
    case ButtonKind::Abort: {
        // A stop sign: a filled octagon with a white bar.
        const POINT octagon[] = {{6, 1}, {12, 1}, {17, 6}, {17, 12}, {12, 17}, {6, 17}, {1, 12}, {1, 6}};
        SelectGuard noOutline(dc, GetStockObject(NULL_PEN));
        Polygon(dc, octagon, 8);
        RECT bar{4, 8, 14, 10};
        FillRect(dc, &bar, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        break;
    }
    }
    return glyph;
}

std::wstring StandardCaption(ButtonKind kind) {
    switch (kind) {
    case ButtonKind::Ok: return L"OK";
    case ButtonKind::Cancel: return L"ｷｬﾝｾﾙ";
    case ButtonKind::Abort: return L"中止";
    }
    return {};
}

// Paths are ANSI texts in the system code page, which may be a double-byte
// one: a trail byte can equal '\\', so separators are found character-wise.
bool EndsWithSeparator(const std::string& path) {
    if (path.empty()) return false;
    const char* last = CharPrevA(path.c_str(), path.c_str() + path.size());
    return *last == '\\' && last + 1 == path.c_str() + path.size();
}

// The components of a full path: "c:\", then each directory name.
std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    if (path.size() < 3) return parts;
    parts.push_back(path.substr(0, 3));
    std::string current;
    for (const char* p = path.c_str() + 3; *p;) {
        const char* next = CharNextA(p);
        if (next == p + 1 && *p == '\\') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current.append(p, next);
        }
        p = next;
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
    return EndsWithSeparator(directory) ? directory + name : directory + "\\" + name;
}

// A full path of an existing directory in our form (no trailing backslash
// except at a root), or an empty text.
std::string NormalizeDirectory(const std::string& path) {
    if (path.empty()) return {};
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return {};
    std::string result(full, length);
    const DWORD attributes = GetFileAttributesA(result.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
    if (result.size() < 3 || result[1] != ':') return {};
    while (result.size() > 3 && EndsWithSeparator(result)) result.pop_back();
    result[0] = static_cast<char>(tolower(static_cast<unsigned char>(result[0])));
    return result;
}

std::vector<std::string> Subdirectories(const std::string& directory) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(directory, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    return names;
}

char CurrentDrive() {
    char directory[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
    if (length >= 2 && length < MAX_PATH && directory[1] == ':')
        return static_cast<char>(tolower(static_cast<unsigned char>(directory[0])));
    return 'c';
}

std::vector<char> SystemDrives() {
    std::vector<char> drives;
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
        if (mask & (1u << i)) drives.push_back(static_cast<char>('a' + i));
    return drives;
}

std::wstring DriveText(char letter) {
    const std::string root = std::string(1, letter) + ":\\";
    std::wstring text = FromAnsi(std::string(1, letter) + ":");
    const UINT type = GetDriveTypeA(root.c_str());
    if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) {
        char label[MAX_PATH + 1] = {};
        if (GetVolumeInformationA(root.c_str(), label, sizeof(label), nullptr, nullptr, nullptr, nullptr, 0) && label[0])
            text += L" [" + FromAnsi(label) + L"]";
    }
    return text;
}

std::vector<std::wstring> DriveTexts(const std::vector<char>& drives) {
    std::vector<std::wstring> texts;
    for (char letter : drives) texts.push_back(DriveText(letter));
    return texts;
}

}  // namespace

// Button

Button::Button(const ButtonSpec& layout) : WindowedControl(layout.bounds, layout.caption) { setEnabled(layout.enabled); }

void Button::createHandle() { createWindow(L"BUTTON", pushStyle_ | WS_TABSTOP | WS_GROUP); }

bool Button::command(WORD code) {
    if (code != BN_CLICKED) return false;
    if (onClick) onClick();
    clicked();
    return true;
}

// BitmapButton

BitmapButton::BitmapButton(const BitmapButtonSpec& layout)
    : Button({layout.bounds, layout.caption.empty() ? StandardCaption(layout.kind) : layout.caption, layout.enabled}),
      kind_(layout.kind),
      glyphs_(ImageList_Create(kGlyphSize, kGlyphSize, ILC_COLOR24 | ILC_MASK, 2, 0)) {
    for (bool state : {true, false}) {
        BitmapHandle glyph = DrawGlyph(kind_, state);
        ImageList_AddMasked(glyphs_.get(), glyph.get(), kGlyphKey);
    }
    switch (kind_) {
    case ButtonKind::Ok:
        setId(IDOK);
        pushStyle_ = BS_DEFPUSHBUTTON;
        break;
    case ButtonKind::Cancel: setId(IDCANCEL); break;
    case ButtonKind::Abort: break;
    }
}

void BitmapButton::clicked() {
    Form* owner = form();
    if (!owner || !owner->modal()) return;
    if (kind_ == ButtonKind::Ok) owner->setModalResult(mrOk);
    if (kind_ == ButtonKind::Cancel) owner->setModalResult(mrCancel);
}

// The button class keeps its behaviour (mouse, keys, focus, notifications);
// only its face is ours. A state change the class draws by itself is painted
// over again at once.
LRESULT BitmapButton::wndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = handle();
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        paint(dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        paint(reinterpret_cast<HDC>(wParam));
        return 0;
    default:
        break;
    }
    const LRESULT result = Button::wndProc(message, wParam, lParam);
    if (handle() && message != BM_GETSTATE) {
        const UINT state = static_cast<UINT>(SendMessageW(window, BM_GETSTATE, 0, 0)) | (IsWindowEnabled(window) ? 0x10000u : 0u);
        const bool faceChanged = message == WM_SETTEXT || message == WM_SETFONT || message == BM_SETSTYLE;
        if (state != paintedState_ || faceChanged) {
            InvalidateRect(window, nullptr, FALSE);
            UpdateWindow(window);
        }
    }
    return result;
}

void BitmapButton::paint(HDC target) {
    HWND window = handle();
    RECT client;
    GetClientRect(window, &client);
    const UINT state = static_cast<UINT>(SendMessageW(window, BM_GETSTATE, 0, 0));
    const bool isEnabled = IsWindowEnabled(window) != FALSE;
    paintedState_ = state | (isEnabled ? 0x10000u : 0u);
    const bool pushed = (state & BST_PUSHED) != 0;

    MemoryDC buffer(target);
    BitmapHandle bitmap(CreateCompatibleBitmap(target, client.right, client.bottom));
    SelectGuard selectBitmap(buffer.get(), bitmap.get());
    HDC dc = buffer.get();

    RECT face = client;
    FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    if (kind_ == ButtonKind::Ok) {
        // The default button's extra dark frame.
        FrameRect(dc, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&face, -1, -1);
    }
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0u));

    // Glyph and caption side by side, centred; pressed: one pixel down right.
    SelectGuard selectFont(dc, font());
    const std::wstring& text = caption();
    RECT extent{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
    const int gap = text.empty() ? 0 : 4;
    const int total = kGlyphSize + gap + extent.right;
    const int shift = pushed ? 1 : 0;
    const int left = (client.right - total) / 2 + shift;
    const int glyphTop = (client.bottom - kGlyphSize) / 2 + shift;
    ImageList_Draw(glyphs_.get(), isEnabled ? 0 : 1, dc, left, glyphTop, ILD_TRANSPARENT);
    RECT textRect{left + kGlyphSize + gap, shift, left + total + 1, client.bottom + shift};
    SetBkMode(dc, TRANSPARENT);
    if (isEnabled) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextW(dc, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER);
    } else {
        // Engraved grey text, as the system draws disabled captions.
        RECT light = textRect;
        OffsetRect(&light, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
        DrawTextW(dc, text.c_str(), -1, &light, DT_SINGLELINE | DT_VCENTER);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER);
    }
    if (state & BST_FOCUS) {
        RECT focus = face;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
    BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

// CheckBox

CheckBox::CheckBox(const CheckBoxSpec& layout) : WindowedControl(layout.bounds, layout.caption), checked_(layout.checked) {
    setEnabled(layout.enabled);
}

void CheckBox::createHandle() {
    HWND window = createWindow(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP);
    SendMessageW(window, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::setChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (HWND window = handle()) SendMessageW(window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (onClick) onClick();
}

bool CheckBox::command(WORD code) {
    if (code != BN_CLICKED) return false;
    setChecked(SendMessageW(handle(), BM_GETCHECK, 0, 0) == BST_CHECKED);
    return true;
}

// GroupBox

GroupBox::GroupBox(const GroupBoxSpec& layout) : WindowedControl(layout.bounds, layout.caption) { setEnabled(layout.enabled); }

void GroupBox::createHandle() { createWindow(panelClass(), WS_CLIPCHILDREN, WS_EX_CONTROLPARENT); }

int GroupBox::textHeight() const { return TextHeight(font()); }

void GroupBox::enabledChanged() {
    WindowedControl::enabledChanged();
    invalidate();
}

// Siblings laid over the frame (a check box serving as its title) are left
// alone, whichever of the two paints last.
void GroupBox::excludeSiblings(HDC dc) const {
    HWND self = handle();
    RECT own;
    GetWindowRect(self, &own);
    for (HWND sibling = GetWindow(GetParent(self), GW_CHILD); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling == self || !IsWindowVisible(sibling)) continue;
        RECT other, common;
        GetWindowRect(sibling, &other);
        if (!IntersectRect(&common, &own, &other)) continue;
        MapWindowPoints(HWND_DESKTOP, self, reinterpret_cast<POINT*>(&common), 2);
        ExcludeClipRect(dc, common.left, common.top, common.right, common.bottom);
    }
}

void GroupBox::paintFrame(HDC dc) {
    RECT client;
    GetClientRect(handle(), &client);
    const int lineHeight = textHeight();
    RECT frame{0, lineHeight / 2, client.right, client.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    const std::wstring& text = caption();
    if (text.empty()) return;
    SelectGuard selectFont(dc, font());
    RECT extent{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
    RECT label{8, 0, 8 + extent.right, lineHeight};
    RECT gap{label.left - 1, 0, label.right + 1, lineHeight};
    FillRect(dc, &gap, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    DrawTextW(dc, text.c_str(), -1, &label, DT_SINGLELINE);
}

LRESULT GroupBox::wndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        // Like a system group box: the mouse reaches what lies beneath.
        return HTTRANSPARENT;
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        const int saved = SaveDC(dc);
        excludeSiblings(dc);
        RECT client;
        GetClientRect(handle(), &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        RestoreDC(dc, saved);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(handle(), &ps);
        excludeSiblings(dc);
        paintFrame(dc);
        EndPaint(handle(), &ps);
        return 0;
    }
    default:
        return WindowedControl::wndProc(message, wParam, lParam);
    }
}

// RadioGroup

RadioGroup::RadioGroup(const RadioGroupSpec& layout)
    : GroupBox({layout.bounds, layout.caption, layout.enabled}),
      items_(layout.items),
      columns_(std::max(1, layout.columns)),
      itemIndex_(clampRadioIndex(layout.itemIndex, static_cast<int>(layout.items.size()))) {}

HWND RadioGroup::buttonHandle(int item) const {
    return item >= 0 && item < static_cast<int>(buttons_.size()) ? buttons_[static_cast<size_t>(item)] : nullptr;
}

// The buttons fill the inside of the frame in columns of equal height, the
// first column first.
void RadioGroup::createHandle() {
    buttons_.clear();  // those of an earlier window went with it
    GroupBox::createHandle();
    const int count = static_cast<int>(items_.size());
    if (count == 0) return;
    const Bounds b = bounds();
    const int lineHeight = textHeight();
    const int perColumn = (count + columns_ - 1) / columns_;
    const int buttonWidth = (b.width - 10) / columns_;
    const int inner = b.height - lineHeight - 5;
    const int buttonHeight = inner / perColumn;
    const int topMargin = lineHeight + 1 + (inner % perColumn) / 2;
    const int boxWidth = GetSystemMetrics(SM_CXMENUCHECK) + 6;
    WindowDC screen;
    SelectGuard selectFont(screen.get(), font());
    for (int i = 0; i < count; ++i) {
        // As wide as its text, so that controls laid beside a short item
        // inside the frame stay reachable.
        RECT extent{0, 0, 0, 0};
        DrawTextW(screen.get(), items_[static_cast<size_t>(i)].c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
        const int width = std::min(buttonWidth, boxWidth + static_cast<int>(extent.right) + 2);
        const DWORD style = WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON | BS_NOTIFY | (i == 0 ? WS_GROUP : 0u) |
                            (enabled() ? 0u : WS_DISABLED);
        HWND button = CreateWindowExW(0, L"BUTTON", items_[static_cast<size_t>(i)].c_str(), style,
                                      (i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin,
                                      width, buttonHeight, handle(), nullptr, ModuleInstance(), nullptr);
        if (!button) throw Error(L"Cannot create the radio button \"" + items_[static_cast<size_t>(i)] + L"\"");
        SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
        buttons_.push_back(button);
    }
    showIndex();
}

// Checks the selected button; it alone is the group's tab stop (the first
// button when none is selected).
void RadioGroup::showIndex() {
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const bool selected = static_cast<int>(i) == itemIndex_;
        SendMessageW(buttons_[i], BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
        const bool stop = selected || (itemIndex_ < 0 && i == 0);
        LONG_PTR style = GetWindowLongPtrW(buttons_[i], GWL_STYLE);
        style = stop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        SetWindowLongPtrW(buttons_[i], GWL_STYLE, style);
    }
}

void RadioGroup::setItemIndex(int index) {
    index = clampRadioIndex(index, static_cast<int>(items_.size()));
    if (index == itemIndex_) return;
    itemIndex_ = index;
    showIndex();
    if (onClick) onClick();
}

void RadioGroup::enabledChanged() {
    GroupBox::enabledChanged();
    for (HWND button : buttons_) EnableWindow(button, enabled());
}

LRESULT RadioGroup::wndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        const auto found = std::find(buttons_.begin(), buttons_.end(), reinterpret_cast<HWND>(lParam));
        const int item = static_cast<int>(found - buttons_.begin());
        // A click selects; so does moving to a button with the arrow keys.
        const bool arrow = GetKeyState(VK_UP) < 0 || GetKeyState(VK_DOWN) < 0 || GetKeyState(VK_LEFT) < 0 ||
                           GetKeyState(VK_RIGHT) < 0;
        if (found != buttons_.end() &&
            (HIWORD(wParam) == BN_CLICKED || (HIWORD(wParam) == BN_SETFOCUS && arrow))) {
            setItemIndex(item);
            return 0;
        }
    }
    return GroupBox::wndProc(message, wParam, lParam);
}

// ListControl

ListControl::ListControl(const Bounds& bounds, std::vector<std::wstring> items, int itemIndex,
                         const Messages& messages)
    : WindowedControl(bounds),
      items_(std::move(items)),
      itemIndex_(listIndexOrNone(itemIndex, static_cast<int>(items_.size()))),
      messages_(messages) {}

void ListControl::fill(HWND window) {
    for (const std::wstring& item : items_)
        SendMessageW(window, messages_.addString, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageW(window, messages_.setCurSel, static_cast<WPARAM>(itemIndex_), 0);
}

void ListControl::clear() {
    items_.clear();
    itemIndex_ = -1;
    if (HWND window = handle()) SendMessageW(window, messages_.resetContent, 0, 0);
}

void ListControl::addItem(const std::wstring& item) {
    items_.push_back(item);
    if (HWND window = handle()) SendMessageW(window, messages_.addString, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

bool ListControl::command(WORD code) {
    if (code != messages_.selChange) return false;
    itemIndex_ = static_cast<int>(SendMessageW(handle(), messages_.getCurSel, 0, 0));
    return true;
}

void ListControl::setItemIndex(int index) {
    itemIndex_ = listIndexOrNone(index, static_cast<int>(items_.size()));
    if (HWND window = handle()) SendMessageW(window, messages_.setCurSel, static_cast<WPARAM>(itemIndex_), 0);
}

// ComboBox

namespace {
const ListControl::Messages kComboMessages{CB_ADDSTRING, CB_RESETCONTENT, CB_SETCURSEL, CB_GETCURSEL, CBN_SELCHANGE};
const ListControl::Messages kListMessages{LB_ADDSTRING, LB_RESETCONTENT, LB_SETCURSEL, LB_GETCURSEL, LBN_SELCHANGE};
}  // namespace

ComboBox::ComboBox(const ComboBoxSpec& layout)
    : ListControl(layout.bounds, layout.items, layout.itemIndex, kComboMessages) {
    setEnabled(layout.enabled);
}

// Room for up to 12 lines below the closed box.
int ComboBox::droppedHeight() const {
    const int lines = std::clamp(static_cast<int>(items().size()), 1, 12);
    return bounds().height + lines * (TextHeight(font()) + 2) + 2;
}

void ComboBox::createHandle() {
    fill(createWindow(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP));
    boundsChanged(bounds());
}

void ComboBox::boundsChanged(const Bounds&) {
    HWND window = handle();
    if (!window) return;
    const Bounds b = bounds();
    MoveWindow(window, b.left, b.top, b.width, droppedHeight(), TRUE);
    // The closed height follows the font unless set: the selection field
    // takes the bounds' height less the frame.
    if (b.height > 6) SendMessageW(window, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), b.height - 6);
}

// ListBox

ListBox::ListBox(const ListBoxSpec& layout) : ListControl(layout.bounds, layout.items, -1, kListMessages) {}

void ListBox::createHandle() {
    fill(createWindow(L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_GROUP,
                      WS_EX_CLIENTEDGE));
}

// Page

Page::Page(PageControl& owner, const PageSpec& layout)
    : WindowedControl({}, layout.caption), owner_(owner), tabVisible_(layout.tabVisible) {
    owner_.registerPage(*this);
}

void Page::createHandle() {
    if (parent() != &owner_) throw Error(L"The page \"" + caption() + L"\" must be added with its page control as parent");
    storeBounds(owner_.displayArea());
    createWindow(panelClass(), WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
    owner_.rebuildTabs();
}

void Page::setTabVisible(bool visible) {
    if (visible == tabVisible_) return;
    tabVisible_ = visible;
    if (!visible && owner_.active_ == this) {
        const std::vector<Page*> shown = owner_.visiblePages();
        if (!shown.empty()) owner_.setActivePage(*shown.front());
    }
    owner_.rebuildTabs();
}

void Page::captionChanged() { owner_.rebuildTabs(); }

// PageControl

PageControl::PageControl(Bounds bounds) : WindowedControl(bounds) {}

void PageControl::registerPage(Page& page) {
    pages_.push_back(&page);
    if (!active_) {
        active_ = &page;
    } else {
        page.setVisible(false);
    }
}

void PageControl::createHandle() {
    HWND window = createWindow(WC_TABCONTROLW, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
    // Narrow tabs, so that a handful of short captions fit without scrolling.
    SendMessageW(window, TCM_SETPADDING, 0, MAKELPARAM(4, 3));
}

Bounds PageControl::displayArea() const {
    const Bounds b = bounds();
    RECT area{0, 0, b.width, b.height};
    if (HWND window = handle()) {
        // The tabs' height depends on the font and on there being a tab.
        if (SendMessageW(window, TCM_GETITEMCOUNT, 0, 0) == 0) {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<wchar_t*>(L"");
            SendMessageW(window, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            SendMessageW(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
            SendMessageW(window, TCM_DELETEALLITEMS, 0, 0);
        } else {
            SendMessageW(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        }
    }
    return {area.left, area.top, area.right - area.left, area.bottom - area.top};
}

std::vector<Page*> PageControl::visiblePages() const {
    std::vector<Page*> shown;
    for (Page* page : pages_)
        if (page->tabVisible()) shown.push_back(page);
    return shown;
}

void PageControl::rebuildTabs() {
    HWND window = handle();
    if (!window) return;
    SendMessageW(window, TCM_DELETEALLITEMS, 0, 0);
    int index = 0;
    int selected = -1;
    for (Page* page : visiblePages()) {
        std::wstring text = page->caption();
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(window, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        if (page == active_) selected = index;
        ++index;
    }
    SendMessageW(window, TCM_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void PageControl::setActivePage(Page& page) {
    if (!page.tabVisible()) return;
    active_ = &page;
    for (Page* other : pages_)
        if (other != &page) other->setVisible(false);
    page.setVisible(true);
    if (HWND window = handle()) {
        const std::vector<Page*> shown = visiblePages();
        const auto found = std::find(shown.begin(), shown.end(), &page);
        SendMessageW(window, TCM_SETCURSEL, static_cast<WPARAM>(found - shown.begin()), 0);
    }
}

bool PageControl::notify(NMHDR* header, LRESULT& result) {
    if (header->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
    const int index = static_cast<int>(SendMessageW(handle(), TCM_GETCURSEL, 0, 0));
    const std::vector<Page*> shown = visiblePages();
    if (index >= 0 && index < static_cast<int>(shown.size())) setActivePage(*shown[static_cast<size_t>(index)]);
    result = 0;
    return true;
}

// ColorPanel

ColorPanel::ColorPanel(const ColorPanelSpec& layout) : WindowedControl(layout.bounds), color_(layout.color) {}

void ColorPanel::createHandle() { createWindow(panelClass(), 0); }

void ColorPanel::setColor(COLORREF color) {
    color_ = color & 0xFFFFFF;
    invalidate();
}

LRESULT ColorPanel::wndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = handle();
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        BrushHandle brush(CreateSolidBrush(color_));
        FillRect(dc, &client, brush.get());
        DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        pressed_ = true;
        SetCapture(window);
        return 0;
    case WM_LBUTTONUP: {
        if (!pressed_) return 0;
        pressed_ = false;
        ReleaseCapture();
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT client;
        GetClientRect(window, &client);
        if (PtInRect(&client, point) && onClick) onClick();
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        break;
    default:
        break;
    }
    return WindowedControl::wndProc(message, wParam, lParam);
}

// ProgressBar

ProgressBar::ProgressBar(const ProgressBarSpec& layout)
    : WindowedControl(layout.bounds), max_(layout.max), position_(layout.position) {}

void ProgressBar::createHandle() {
    HWND window = createWindow(PROGRESS_CLASSW, 0);
    SendMessageW(window, PBM_SETRANGE32, 0, max_);
    SendMessageW(window, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void ProgressBar::setMax(int max) {
    max_ = max;
    position_ = std::min(position_, max_);
    if (HWND window = handle()) SendMessageW(window, PBM_SETRANGE32, 0, max_);
}

void ProgressBar::setPosition(int position) {
    position_ = std::clamp(position, 0, std::max(0, max_));
    if (HWND window = handle()) SendMessageW(window, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

// DriveList

DriveList::DriveList(Bounds bounds)
    : ComboBox({.bounds = bounds, .items = DriveTexts(SystemDrives())}), drives_(SystemDrives()), drive_(CurrentDrive()) {
    showDrive(drive_);
}

void DriveList::showDrive(char letter) {
    drive_ = letter;
    const auto found = std::find(drives_.begin(), drives_.end(), letter);
    setItemIndex(found == drives_.end() ? -1 : static_cast<int>(found - drives_.begin()));
}

bool DriveList::setDrive(char letter) {
    letter = static_cast<char>(tolower(static_cast<unsigned char>(letter)));
    if (std::find(drives_.begin(), drives_.end(), letter) == drives_.end()) return false;
    showDrive(letter);
    if (directoryList_ && tolower(static_cast<unsigned char>(directoryList_->directory().front())) != letter) {
        // The drive's own current directory, as the system keeps one per drive.
        char full[MAX_PATH];
        const std::string drive = std::string(1, letter) + ":";
        const DWORD length = GetFullPathNameA(drive.c_str(), MAX_PATH, full, nullptr);
        if (length == 0 || length >= MAX_PATH || !directoryList_->setDirectory(std::string(full, length)))
            directoryList_->setDirectory(drive + "\\");
    }
    return true;
}

void DriveList::setDirectoryList(DirectoryList* list) {
    if (directoryList_) directoryList_->driveList_ = nullptr;
    directoryList_ = list;
    if (list) {
        list->driveList_ = this;
        showDrive(list->directory().front());
    }
}

bool DriveList::command(WORD code) {
    if (!ComboBox::command(code)) return false;
    const int index = itemIndex();
    if (index < 0 || index >= static_cast<int>(drives_.size()) || !setDrive(drives_[static_cast<size_t>(index)]))
        showDrive(drive_);
    return true;
}

// DirectoryList

DirectoryList::DirectoryList(Bounds bounds) : WindowedControl(bounds) {
    char current[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, current);
    directory_ = NormalizeDirectory(length > 0 && length < MAX_PATH ? std::string(current, length) : "c:\\");
    if (directory_.empty()) directory_ = "c:\\";
    fill();
}

bool DirectoryList::setDirectory(const std::string& path) {
    const std::string normal = NormalizeDirectory(path);
    if (normal.empty()) return false;
    if (lstrcmpiA(normal.c_str(), directory_.c_str()) == 0) return true;
    directory_ = normal;
    fill();
    if (driveList_) driveList_->showDrive(directory_.front());
    if (onChange) onChange();
    return true;
}

// The path to the directory, one line per level and indented, then its
// subdirectories one level deeper.
void DirectoryList::fill() {
    lines_.clear();
    texts_.clear();
    const std::vector<std::string> parts = SplitPath(directory_);
    std::string path;
    int depth = 0;
    for (const std::string& part : parts) {
        path = path.empty() ? part : JoinPath(path, part);
        lines_.push_back(path);
        texts_.push_back(std::wstring(static_cast<size_t>(depth) * 2, L' ') + FromAnsi(part));
        ++depth;
    }
    currentLine_ = static_cast<int>(lines_.size()) - 1;
    for (const std::string& name : Subdirectories(directory_)) {
        lines_.push_back(JoinPath(directory_, name));
        texts_.push_back(std::wstring(static_cast<size_t>(depth) * 2, L' ') + FromAnsi(name));
    }
    showLines();
}

void DirectoryList::showLines() {
    HWND window = handle();
    if (!window) return;
    SendMessageW(window, WM_SETREDRAW, FALSE, 0);
    SendMessageW(window, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& text : texts_) SendMessageW(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(window, LB_SETCURSEL, static_cast<WPARAM>(currentLine_), 0);
    SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window, nullptr, TRUE);
}

// The lines were read when the directory was set: the window shows them
// without reading the directory a second time at start-up.
void DirectoryList::createHandle() {
    createWindow(L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE);
    showLines();
}

bool DirectoryList::command(WORD code) {
    if (code != LBN_DBLCLK) return false;
    const int index = static_cast<int>(SendMessageW(handle(), LB_GETCURSEL, 0, 0));
    if (index >= 0 && index < static_cast<int>(lines_.size()) && !setDirectory(lines_[static_cast<size_t>(index)]))
        fill();  // the directory went away: show what exists now
    return true;
}

}  // namespace fw
