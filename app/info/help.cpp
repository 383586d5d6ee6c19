#include "app/info/help.h"

#include "framework/application.h"
#include "framework/platform.h"

namespace {

// The help macro that shows the topic whose context string is "INDEX".
constexpr char kIndexJump[] = "JumpID(\"\",\"INDEX\")";

}  // namespace

std::string DefaultHelpFilePath() { return fw::ProgramFolderFile("Horolo.hlp"); }

void ShowHelpContents(HWND owner, const std::string& helpFile) {
    fw::Platform& platform = fw::platform();
    if (!platform.winHelp(owner, helpFile, HELP_CONTENTS, 0)) return;
    platform.winHelp(owner, helpFile, HELP_COMMAND, reinterpret_cast<ULONG_PTR>(kIndexJump));
}
