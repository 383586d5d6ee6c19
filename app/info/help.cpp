#include "app/info/help.h"

#include "framework/ansi.h"
#include "framework/application.h"
#include "framework/error.h"
#include "framework/platform.h"

#include <shellapi.h>

namespace {

// The help macro that shows the topic whose context string is "INDEX".
constexpr char kIndexJump[] = "JumpID(\"\",\"INDEX\")";

void ShowHtmlHelp(HWND owner, const std::string& page) {
    const auto result = reinterpret_cast<INT_PTR>(
        fw::platform().shellExecute(owner, "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32) return;
    const std::wstring name = fw::FromAnsi(page.substr(page.find_last_of("\\/") + 1));
    const bool missing = result == SE_ERR_FNF || result == SE_ERR_PNF;
    fw::ShowErrorBox(L"Error:\nヘルプファイル " + name + (missing ? L" が見つかりません" : L" を開けません"));
}

}  // namespace

std::string DefaultHelpFilePath() { return fw::ProgramFolderFile("Horolo.hlp"); }

std::string HtmlHelpFilePath(const std::string& helpFile) {
    const size_t name = helpFile.find_last_of("\\/") + 1;
    const size_t dot = helpFile.rfind('.');
    return helpFile.substr(0, dot != std::string::npos && dot >= name ? dot : helpFile.size()) + ".html";
}

void ShowHelpContents(HWND owner, const std::string& helpFile) {
    fw::Platform& platform = fw::platform();
    if (!platform.hasWinHelpViewer()) {
        ShowHtmlHelp(owner, HtmlHelpFilePath(helpFile));
        return;
    }
    if (!platform.winHelp(owner, helpFile, HELP_CONTENTS, 0)) return;
    platform.winHelp(owner, helpFile, HELP_COMMAND, reinterpret_cast<ULONG_PTR>(kIndexJump));
}
