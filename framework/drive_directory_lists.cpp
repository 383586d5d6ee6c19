#include "framework/drive_directory_lists.h"

#include "framework/ansi.h"

#include <algorithm>
#include <cctype>

namespace fw {

namespace {

// Paths are ANSI texts in the system code page, which may be a double-byte
// one: a trail byte can equal '\\', so separators are found character-wise.
bool EndsWithSeparator(const std::string& path) {
    if (path.empty()) return false;
    const char* last = CharPrevA(path.c_str(), path.c_str() + path.size());
    return *last == '\\' && last + 1 == path.c_str() + path.size();
}

// The components of a full path: "c:\", then each directory name.
std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    if (path.size() < 3) return parts;
    parts.push_back(path.substr(0, 3));
    std::string current;
    for (const char* p = path.c_str() + 3; *p;) {
        const char* next = CharNextA(p);
        if (next == p + 1 && *p == '\\') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current.append(p, next);
        }
        p = next;
    }
    if (!current.empty()) parts.push_back(current);
    return parts;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
    return EndsWithSeparator(directory) ? directory + name : directory + "\\" + name;
}

// A full path of an existing directory in our form (no trailing backslash
// except at a root), or an empty text.
std::string NormalizeDirectory(const std::string& path) {
    if (path.empty()) return {};
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) return {};
    std::string result(full, length);
    const DWORD attributes = GetFileAttributesA(result.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
    if (result.size() < 3 || result[1] != ':') return {};
    while (result.size() > 3 && EndsWithSeparator(result)) result.pop_back();
    result[0] = static_cast<char>(tolower(static_cast<unsigned char>(result[0])));
    return result;
}

std::vector<std::string> Subdirectories(const std::string& directory) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(JoinPath(directory, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    return names;
}

char CurrentDrive() {
    char directory[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
    if (length >= 2 && length < MAX_PATH && directory[1] == ':')
        return static_cast<char>(tolower(static_cast<unsigned char>(directory[0])));
    return 'c';
}

std::vector<char> SystemDrives() {
    std::vector<char> drives;
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
        if (mask & (1u << i)) drives.push_back(static_cast<char>('a' + i));
    return drives;
}

std::wstring DriveText(char letter) {
    const std::string root = std::string(1, letter) + ":\\";
    std::wstring text = FromAnsi(std::string(1, letter) + ":");
    const UINT type = GetDriveTypeA(root.c_str());
    if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) {
        char label[MAX_PATH + 1] = {};
        if (GetVolumeInformationA(root.c_str(), label, sizeof(label), nullptr, nullptr, nullptr, nullptr, 0) && label[0])
            text += L" [" + FromAnsi(label) + L"]";
    }
    return text;
}

std::vector<std::wstring> DriveTexts(const std::vector<char>& drives) {
    std::vector<std::wstring> texts;
    for (char letter : drives) texts.push_back(DriveText(letter));
    return texts;
}

}  // namespace

// DriveList

DriveList::DriveList(Bounds bounds)
    : ComboBox({.bounds = bounds, .items = DriveTexts(SystemDrives())}), drives_(SystemDrives()), drive_(CurrentDrive()) {
    showDrive(drive_);
}

void DriveList::showDrive(char letter) {
    drive_ = letter;
    const auto found = std::find(drives_.begin(), drives_.end(), letter);
    setItemIndex(found == drives_.end() ? -1 : static_cast<int>(found - drives_.begin()));
}

bool DriveList::setDrive(char letter) {
    letter = static_cast<char>(tolower(static_cast<unsigned char>(letter)));
    if (std::find(drives_.begin(), drives_.end(), letter) == drives_.end()) return false;
    showDrive(letter);
    if (directoryList_ && tolower(static_cast<unsigned char>(directoryList_->directory().front())) != letter) {
        // The drive's own current directory, as the system keeps one per drive.
        char full[MAX_PATH];
        const std::string drive = std::string(1, letter) + ":";
        const DWORD length = GetFullPathNameA(drive.c_str(), MAX_PATH, full, nullptr);
        if (length == 0 || length >= MAX_PATH || !directoryList_->setDirectory(std::string(full, length)))
            directoryList_->setDirectory(drive + "\\");
    }
    return true;
}

void DriveList::setDirectoryList(DirectoryList* list) {
    if (directoryList_) directoryList_->driveList_ = nullptr;
    directoryList_ = list;
    if (list) {
        list->driveList_ = this;
        showDrive(list->directory().front());
    }
}

bool DriveList::command(WORD code) {
    if (!ComboBox::command(code)) return false;
    const int index = itemIndex();
    if (index < 0 || index >= static_cast<int>(drives_.size()) || !setDrive(drives_[static_cast<size_t>(index)]))
        showDrive(drive_);
    return true;
}

// DirectoryList

DirectoryList::DirectoryList(Bounds bounds) : WindowedControl(bounds) {
    char current[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, current);
    directory_ = NormalizeDirectory(length > 0 && length < MAX_PATH ? std::string(current, length) : "c:\\");
    if (directory_.empty()) directory_ = "c:\\";
    fill();
}

bool DirectoryList::setDirectory(const std::string& path) {
    const std::string normal = NormalizeDirectory(path);
    if (normal.empty()) return false;
    if (lstrcmpiA(normal.c_str(), directory_.c_str()) == 0) return true;
    directory_ = normal;
    fill();
    if (driveList_) driveList_->showDrive(directory_.front());
    if (onChange) onChange();
    return true;
}

// The path to the directory, one line per level and indented, then its
// subdirectories one level deeper.
void DirectoryList::fill() {
    lines_.clear();
    texts_.clear();
    const std::vector<std::string> parts = SplitPath(directory_);
    std::string path;
    int depth = 0;
    for (const std::string& part : parts) {
        path = path.empty() ? part : JoinPath(path, part);
        lines_.push_back(path);
        texts_.push_back(std::wstring(static_cast<size_t>(depth) * 2, L' ') + FromAnsi(part));
        ++depth;
    }
    currentLine_ = static_cast<int>(lines_.size()) - 1;
    for (const std::string& name : Subdirectories(directory_)) {
        lines_.push_back(JoinPath(directory_, name));
        texts_.push_back(std::wstring(static_cast<size_t>(depth) * 2, L' ') + FromAnsi(name));
    }
    showLines();
}

void DirectoryList::showLines() {
    HWND window = handle();
    if (!window) return;
    SendMessageW(window, WM_SETREDRAW, FALSE, 0);
    SendMessageW(window, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& text : texts_) SendMessageW(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(window, LB_SETCURSEL, static_cast<WPARAM>(currentLine_), 0);
    SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window, nullptr, TRUE);
}

// The lines were read when the directory was set: the window shows them
// without reading the directory a second time at start-up.
void DirectoryList::createHandle() {
    createWindow(L"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE);
    showLines();
}

bool DirectoryList::command(WORD code) {
    if (code != LBN_DBLCLK) return false;
    const int index = static_cast<int>(SendMessageW(handle(), LB_GETCURSEL, 0, 0));
    if (index >= 0 && index < static_cast<int>(lines_.size()) && !setDirectory(lines_[static_cast<size_t>(index)]))
        fill();  // the directory went away: show what exists now
    return true;
}

}  // namespace fw
