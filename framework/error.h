// The framework's error class and the report shown for an error that no
// handler caught.
#pragma once

#include <exception>
#include <string>

namespace fw {

class Error : public std::exception {
public:
    explicit Error(std::wstring text) : text_(std::move(text)) {}
    const std::wstring& text() const { return text_; }
    const char* what() const noexcept override { return "fw::Error"; }

private:
    std::wstring text_;
};

// The text of the exception being handled: an Error's text, a standard
// exception's message (ANSI code page), or a generic text for anything else.
// Call only inside a catch block.
std::wstring CurrentExceptionText();

// Shows the error report for the exception being handled: its text followed
// by ".", the application title as caption, stop icon, one OK button (through
// the platform seam). Call only inside a catch block; never throws.
void ReportException() noexcept;

// The error kind of message box: the asterisk beep first, then the text
// with the caption "ｴﾗｰ", stop icon and one OK button, modal and centred on
// the screen (through the platform seam).
void ShowErrorBox(const std::wstring& text);

}  // namespace fw
