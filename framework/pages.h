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

}  // namespace fw
