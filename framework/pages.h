// Pages: a page control (tabs over a stack of pages) and its pages.
#pragma once

#include "framework/control.h"

#include <string>
#include <vector>

namespace fw {

class PageControl;

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
//
// The keys of a tabbed dialog: Ctrl+Tab and Ctrl+PgDn turn to the next page,
// Ctrl+Shift+Tab and Ctrl+PgUp to the one before, wrapping around at the
// ends, as a click on that tab does; the focus then goes to the new page's
// first control. The tab strip is a tab stop just before the controls of the
// page, where the arrow keys choose the tabs.
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
    bool dialogKey(const MSG& message) override;

private:
    friend class Page;
    void registerPage(Page& page);
    // The area of the pages within the tab control.
    Bounds displayArea() const;
    void rebuildTabs();
    // Turns `step` visible pages on, wrapping around, through the tab
    // control's own notifications of a click.
    void turnPage(int step);
    // The first tab stop of the active page, or null.
    HWND firstTabStop() const;
    // Where Tab or Shift+Tab from `focus` goes instead of where the dialog
    // manager would go: to the strip when the way passes it, from the strip
    // into the page; null where the dialog manager goes the right way.
    HWND tabTarget(HWND focus, bool backwards) const;
    std::vector<Page*> pages_;
    Page* active_ = nullptr;
};

}  // namespace fw
