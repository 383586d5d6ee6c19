// The help command: the program's help file in the system's help viewer.
#pragma once

#include <windows.h>

#include <string>

// The help file a first start uses: "Horolo.hlp" in the program's folder.
std::string DefaultHelpFilePath();

// Opens the help file at its contents and, when that worked, jumps to the
// topic "INDEX". The viewer reports a missing or broken file itself.
void ShowHelpContents(HWND owner, const std::string& helpFile);
