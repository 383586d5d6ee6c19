// The edit box: one line of text that the user types.
#pragma once

#include "framework/control.h"

#include <string>

namespace fw {

struct EditSpec {
    Bounds bounds{};
    std::wstring text{};
    // The most characters the user can type; 0: the system's limit. A text
    // set by the program may be longer.
    int maxLength = 0;
};

class Edit : public WindowedControl {
public:
    explicit Edit(const EditSpec& layout);
    // The text as the box shows it, also while the user types.
    const std::wstring& text() const { return caption(); }
    void setText(const std::wstring& text) { setCaption(text); }
    // Selects the whole text, so that typing replaces it.
    void selectAll();

protected:
    void createHandle() override;
    bool command(WORD code) override;
    void captionChanged() override;

private:
    int maxLength_;
};

}  // namespace fw
