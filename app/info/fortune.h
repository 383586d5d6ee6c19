// The fortune teller: the entries of the fortune data file, the Fortune
// command of the clock window's menu, and the message box it shows.
#pragma once

#include <cstdint>
#include <string>

#include "app/info/fortune_core.h"

namespace fw {
class MenuItem;
class RadioGroup;
}  // namespace fw

// The data file a first start uses: "Fortune.dat" in the program's folder.
std::string DefaultFortuneDataPath();

class FortuneTeller {
public:
    // The command it enables and disables, and the settings dialog's
    // background selector, whose item picks the voice.
    FortuneTeller(fw::MenuItem& command, const fw::RadioGroup& bgselector);

    // The path of the data file (an ANSI text).
    std::string FortuneDataPath;
    // The entries, in file order; duplicates stay.
    horolo::FortuneEntries FortuneList;

    // The start-up step: the stored path (empty: the default path), the
    // first load without reporting a missing file, and the seed from the
    // calendar time in seconds.
    void StartUp(const std::string& storedPath, std::uint32_t seconds);

    // Reads the entries of FortuneDataPath. A missing file disables the
    // command (after a beep and an error box when `report`) and keeps the
    // entries; so does a file that exists but cannot be read or held in
    // memory, which leaves the command as it was.
    void LoadFortunes(bool report);
    // One entry drawn at random; only while there are entries.
    std::string PickFortune();
    // The Fortune command: a beep and the drawn entry in the voice of the
    // chosen background, in an information box.
    void ShowFortune();

private:
    fw::MenuItem& command_;
    const fw::RadioGroup& bgselector_;
    horolo::FortuneGenerator generator_;
};
