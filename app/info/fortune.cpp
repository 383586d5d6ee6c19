#include "app/info/fortune.h"

#include <windows.h>

#include <new>
#include <optional>
#include <utility>

#include "framework/ansi.h"
#include "framework/application.h"
#include "framework/controls.h"
#include "framework/error.h"
#include "framework/file_bytes.h"
#include "framework/menu.h"
#include "framework/platform.h"

namespace {

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Far more than any list of fortunes (a log file picked by mistake may be
// bigger); a larger file is not read.
constexpr std::uint64_t kMaxDataFileBytes = 64 * 1024 * 1024;

}  // namespace

std::string DefaultFortuneDataPath() { return fw::ProgramFolderFile("Fortune.dat"); }

FortuneTeller::FortuneTeller(fw::MenuItem& command, const fw::RadioGroup& bgselector)
    : command_(command), bgselector_(bgselector) {}

void FortuneTeller::StartUp(const std::string& storedPath, std::uint32_t seconds) {
    FortuneDataPath = storedPath.empty() ? DefaultFortuneDataPath() : storedPath;
    FortuneList = {};
    LoadFortunes(false);
    generator_.seed(seconds);
}

void FortuneTeller::LoadFortunes(bool report) {
    if (!FileExists(FortuneDataPath)) {
        if (report) fw::ShowErrorBox(L"Data File is not found.");
        command_.setEnabled(false);
        return;
    }
    // A file that exists but cannot be read, or that the address space has
    // no room for, changes nothing: the start goes on whatever file is named.
    try {
        std::optional<std::string> data = fw::ReadWholeFile(FortuneDataPath, kMaxDataFileBytes);
        if (!data) return;
        FortuneList = horolo::FortuneEntries(std::move(*data));
    } catch (const std::bad_alloc&) {
        return;
    }
    command_.setEnabled(!FortuneList.empty());
}

std::string FortuneTeller::PickFortune() { return std::string(FortuneList[generator_.pick(FortuneList.size())]); }

void FortuneTeller::ShowFortune() {
    if (FortuneList.empty()) return;
    fw::platform().messageBeep(1);
    const std::wstring text = horolo::FortuneMessage(bgselector_.itemIndex(), fw::FromAnsi(PickFortune()));
    fw::platform().messageBox(GetActiveWindow(), text, L"情報", MB_ICONINFORMATION | MB_OK);
}
