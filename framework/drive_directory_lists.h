// The drive list and the directory list, which work as a pair: choosing a
// drive moves the directory list to it. Paths are ANSI texts.
#pragma once

#include "framework/control.h"
#include "framework/lists.h"

#include <functional>
#include <string>
#include <vector>

namespace fw {

class DirectoryList;

// A drop-down list of the system's drives. Bound to a DirectoryList, choosing
// a drive moves that list to the drive's current directory.
class DriveList : public ComboBox {
public:
    explicit DriveList(Bounds bounds);
    // The selected drive letter, lower case.
    char drive() const { return drive_; }
    // Selects a drive (either case); false, and nothing changes, when the
    // system has no such drive.
    bool setDrive(char letter);
    void setDirectoryList(DirectoryList* list);

protected:
    bool command(WORD code) override;

private:
    friend class DirectoryList;
    // Selects the drive without moving the bound directory list.
    void showDrive(char letter);
    std::vector<char> drives_;
    char drive_;
    DirectoryList* directoryList_ = nullptr;
};

// The directory tree of one drive: the path to the current directory, then
// its subdirectories; a double-click opens a line. Paths are ANSI texts.
// onChange runs on every change of the directory, also a programmatic one.
class DirectoryList : public WindowedControl {
public:
    explicit DirectoryList(Bounds bounds);
    // Full path without a trailing backslash, except for a drive's root ("c:\").
    const std::string& directory() const { return directory_; }
    // Moves to an existing directory; false, and nothing changes, otherwise.
    bool setDirectory(const std::string& path);
    std::function<void()> onChange;
    // The path each line stands for, in display order.
    const std::vector<std::string>& lines() const { return lines_; }

protected:
    void createHandle() override;
    bool command(WORD code) override;

private:
    friend class DriveList;
    // Reads the lines of the directory, then shows them.
    void fill();
    // Puts the lines read last into the window.
    void showLines();
    std::string directory_;
    std::vector<std::string> lines_;
    std::vector<std::wstring> texts_;
    int currentLine_ = 0;
    DriveList* driveList_ = nullptr;
};

}  // namespace fw
