#include "framework/pages.h"

#include "framework/error.h"

#include <algorithm>

namespace fw {

namespace {

// A window's place in the order the dialog manager walks a form's tab stops:
// the window's and its ancestors' positions among their siblings, outermost
// first (a container comes before what it holds).
std::vector<int> DialogOrder(HWND root, HWND window) {
    std::vector<int> place;
    for (; window && window != root; window = GetParent(window)) {
        int position = 0;
        for (HWND sibling = GetWindow(window, GW_HWNDPREV); sibling; sibling = GetWindow(sibling, GW_HWNDPREV))
            ++position;
        place.insert(place.begin(), position);
    }
    return place;
}

}  // namespace

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
    HWND window = createWindow(WC_TABCONTROLW, WS_CLIPCHILDREN | WS_TABSTOP | WS_GROUP, WS_EX_CONTROLPARENT);
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

bool PageControl::dialogKey(const MSG& message) {
    HWND window = handle();
    if (message.message != WM_KEYDOWN || !window || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
        GetKeyState(VK_MENU) < 0)
        return false;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    int step = 0;
    if (GetKeyState(VK_CONTROL) < 0) {
        if (message.wParam == VK_TAB) step = shift ? -1 : 1;
        if (message.wParam == VK_NEXT) step = 1;
        if (message.wParam == VK_PRIOR) step = -1;
        if (step == 0) return false;
    } else if (message.wParam != VK_TAB) {
        return false;
    }
    // A control that wants these keys for itself keeps them.
    MSG asked = message;
    const LRESULT wanted = SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&asked));
    if (wanted & DLGC_WANTMESSAGE) return false;
    if (step != 0) {
        turnPage(step);
        return true;
    }
    if (wanted & DLGC_WANTTAB) return false;
    HWND target = tabTarget(message.hwnd, shift);
    if (!target) return false;
    SetFocus(target);
    return true;
}

void PageControl::turnPage(int step) {
    const std::vector<Page*> shown = visiblePages();
    if (shown.empty()) return;
    const int count = static_cast<int>(shown.size());
    const int current = static_cast<int>(std::find(shown.begin(), shown.end(), active_) - shown.begin());
    const int next = ((current + step) % count + count) % count;
    NMHDR header{handle(), static_cast<UINT_PTR>(id()), static_cast<UINT>(TCN_SELCHANGING)};
    HWND notified = GetParent(handle());
    if (SendMessageW(notified, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header))) return;
    SendMessageW(handle(), TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
    header.code = static_cast<UINT>(TCN_SELCHANGE);
    SendMessageW(notified, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    HWND first = firstTabStop();
    SetFocus(first ? first : handle());
}

HWND PageControl::firstTabStop() const {
    return active_ && active_->handle() ? GetNextDlgTabItem(active_->handle(), nullptr, FALSE) : nullptr;
}

HWND PageControl::tabTarget(HWND focus, bool backwards) const {
    HWND strip = handle();
    if (focus == strip) return backwards ? nullptr : firstTabStop();
    HWND root = GetAncestor(strip, GA_ROOT);
    if (!IsChild(root, focus)) return nullptr;
    HWND next = GetNextDlgTabItem(root, focus, backwards);
    if (!next) return nullptr;
    // Going back from `focus` to `next` passes the same places as going on
    // from `next` to `focus`.
    std::vector<int> from = DialogOrder(root, focus);
    std::vector<int> to = DialogOrder(root, next);
    if (backwards) std::swap(from, to);
    const std::vector<int> at = DialogOrder(root, strip);
    const bool passes = from < to ? (from < at && at < to) : (from < at || at < to);
    return passes ? strip : nullptr;
}

}  // namespace fw
