#include "spi_loader/text_rules.h"

#include <cstring>

namespace hrlspi {

bool noLeadBytes(unsigned char) { return false; }

namespace {

// Offset of the last character of text, walking from the start
// (a trail byte of Shift-JIS may look like a backslash).
std::size_t lastCharStart(const char* text, std::size_t len, LeadByteTest lead) {
    std::size_t i = 0, start = 0;
    while (i < len) {
        start = i;
        i += (lead(static_cast<unsigned char>(text[i])) && i + 1 < len) ? 2 : 1;
    }
    return start;
}

}  // namespace

bool copyText(char* dst, std::size_t cap, const char* src, std::size_t srcBytes, LeadByteTest lead) {
    if (cap == 0) return false;
    std::size_t len = 0;
    while (len < srcBytes && src[len] != '\0') ++len;
    std::size_t keep = 0;
    while (keep < len) {
        const std::size_t step = lead(static_cast<unsigned char>(src[keep])) ? 2 : 1;
        if (keep + step > cap - 1 || keep + step > len) break;
        keep += step;
    }
    std::memcpy(dst, src, keep);
    std::memset(dst + keep, 0, cap - keep);
    return keep == len;
}

void copyFilter(char* dst, std::size_t cap, const char* src, std::size_t srcBytes, LeadByteTest lead) {
    if (cap == 0) return;
    std::size_t len = 0;
    while (len < srcBytes && src[len] != '\0') ++len;
    std::size_t wholePatterns = 0;
    if (len > cap - 1) {
        for (std::size_t i = 0; i < cap; i += lead(static_cast<unsigned char>(src[i])) ? 2 : 1)
            if (src[i] == ';') wholePatterns = i;
    }
    copyText(dst, cap, src, wholePatterns != 0 ? wholePatterns : len, lead);
}

void foldLower(char* text) {
    for (; *text != '\0'; ++text)
        if (*text >= 'A' && *text <= 'Z') *text = static_cast<char>(*text - 'A' + 'a');
}

bool normaliseDirectory(const char* dir, char (&out)[kPathBytes], LeadByteTest lead) {
    out[0] = '\0';
    const std::size_t len = std::strlen(dir);
    if (len == 0) return true;
    const std::size_t last = lastCharStart(dir, len, lead);
    const bool ends = last == len - 1 && (dir[last] == '\\' || dir[last] == ':');
    const std::size_t total = len + (ends ? 0 : 1);
    if (total + 1 > kPathBytes) return false;
    std::memcpy(out, dir, len);
    if (!ends) out[len] = '\\';
    out[total] = '\0';
    return true;
}

bool joinPath(const char* dir, const char* name, char* out, std::size_t cap) {
    const std::size_t a = std::strlen(dir), b = std::strlen(name);
    if (cap == 0) return false;
    out[0] = '\0';
    if (a + b + 1 > cap) return false;
    std::memcpy(out, dir, a);
    std::memcpy(out + a, name, b + 1);
    return true;
}

bool extensionOf(const char* path, char (&ext)[kExtensionBytes], LeadByteTest lead) {
    ext[0] = '\0';
    const std::size_t len = std::strlen(path);
    if (len == 0) return false;
    // Forward walk by characters: the stop character is the last dot or
    // backslash, or the first character when there is neither.
    std::size_t stop = 0;
    for (std::size_t i = 0; i < len;) {
        if (path[i] == '.' || path[i] == '\\') stop = i;
        i += (lead(static_cast<unsigned char>(path[i])) && i + 1 < len) ? 2 : 1;
    }
    if (path[stop] != '.') return false;
    copyText(ext, kExtensionBytes, path + stop + 1, len - stop - 1, lead);
    return true;
}

bool filterMatches(const char* filter, const char* ext) {
    const std::size_t len = std::strlen(filter);
    const std::size_t extLen = std::strlen(ext);
    std::size_t pos = 0;
    while (pos < len) {
        const char* star = std::strchr(filter + pos, '*');
        if (star == nullptr) return false;
        pos = static_cast<std::size_t>(star - filter) + 2;  // the star and the dot after it
        if (pos > len) return false;
        const std::size_t n = extLen < len - pos ? extLen : len - pos;
        if (std::memcmp(ext, filter + pos, n) == 0) return true;
    }
    return false;
}

}  // namespace hrlspi
