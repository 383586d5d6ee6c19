// The help command: the program's help in the system's help viewer, or in
// the browser where the system has no WinHelp viewer.
#pragma once

#include <windows.h>

#include <string>

// The help file a first start uses: "Horolo.hlp" in the program's folder.
std::string DefaultHelpFilePath();

// The same help as one HTML page: the help file's path with ".html" in
// place of its extension.
std::string HtmlHelpFilePath(const std::string& helpFile);

// Where the system has a WinHelp viewer: opens the help file at its contents
// and, when that worked, jumps to the topic "INDEX"; the viewer reports a
// missing or broken file itself. Elsewhere: opens the HTML page in the
// user's browser, and reports a page that cannot be opened in an error box.
void ShowHelpContents(HWND owner, const std::string& helpFile);
