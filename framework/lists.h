// Lists: the drop-down list and the list box, which share their items and
// one selected index.
#pragma once

#include "framework/control.h"

#include <string>
#include <vector>

namespace fw {

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

}  // namespace fw
