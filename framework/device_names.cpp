#include "framework/device_names.h"

#include <algorithm>
#include <array>

namespace fw {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool Separator(char c) { return c == '\\' || c == '/'; }

// The last component of the path: after its last separator or the colon of
// a drive ("c:con"), as the system reads the path character by character.
std::string_view LastComponent(std::string_view path, bool (*lead)(unsigned char)) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (lead(static_cast<unsigned char>(path[i])) && i + 1 < path.size())
            ++i;
        else if (Separator(path[i]) || (i == 1 && path[i] == ':'))
            start = i + 1;
    }
    return path.substr(start);
}

bool IsReservedName(std::string_view name) {
    static constexpr std::array<std::string_view, 4> kPlain{"CON", "NUL", "PRN", "AUX"};
    std::array<char, 4> upper{};
    if (name.size() < 3 || name.size() > upper.size()) return false;
    std::transform(name.begin(), name.end(), upper.begin(), Upper);
    const std::string_view u(upper.data(), name.size());
    if (std::find(kPlain.begin(), kPlain.end(), u) != kPlain.end()) return true;
    return u.size() == 4 && (u.substr(0, 3) == "COM" || u.substr(0, 3) == "LPT") && u[3] >= '1' && u[3] <= '9';
}

}  // namespace

bool NamesDevice(std::string_view path, bool (*lead)(unsigned char)) {
    if (path.size() >= 4 && Separator(path[0]) && Separator(path[1]) && path[2] == '.' && Separator(path[3]))
        return true;
    std::string_view name = LastComponent(path, lead);
    // The system strips trailing dots and spaces, takes what precedes an
    // extension (or a colon), and strips the spaces before that too.
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.remove_suffix(1);
    name = name.substr(0, name.find_first_of(".:"));
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    return IsReservedName(name);
}

}  // namespace fw
