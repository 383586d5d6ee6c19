// Text and path rules of hrl_spi that need no Windows API: directory
// normalisation, bounded copies, case folding, the extension scan and the
// filter match. Texts are 8-bit in the ANSI code page; functions that must not
// split a double-byte character take a lead-byte test (IsDBCSLeadByte on
// Windows, a Shift-JIS table in tests).
#pragma once

#include <cstddef>

namespace hrlspi {

constexpr std::size_t kPathBytes = 260;      // path buffers, terminator included
constexpr std::size_t kExtensionBytes = 8;   // extension taken from a picture path
constexpr std::size_t kQueryBytes = 16;      // extension given to QueryExtension

using LeadByteTest = bool (*)(unsigned char);
bool noLeadBytes(unsigned char);

// Copies at most cap-1 bytes of src (up to its NUL or srcBytes, whichever
// comes first) into dst, never splitting a double-byte character, and fills
// the rest of dst with NULs. Returns false when the text was cut.
bool copyText(char* dst, std::size_t cap, const char* src, std::size_t srcBytes,
              LeadByteTest lead = noLeadBytes);

// Copies a file-name filter the way copyText does, but a filter too long for
// dst keeps only its whole patterns: it is cut before the last ";" that
// leaves a text that fits. When not even the first pattern fits, it is cut
// like any text.
void copyFilter(char* dst, std::size_t cap, const char* src, std::size_t srcBytes,
                LeadByteTest lead = noLeadBytes);

// Folds the bytes A to Z to lower case and leaves every other byte alone.
void foldLower(char* text);

// Directory as SearchPlugin keeps it: a non-empty text whose last character is
// neither a backslash nor a colon gets a backslash appended. Returns false
// (and an empty out) when the result does not fit kPathBytes.
bool normaliseDirectory(const char* dir, char (&out)[kPathBytes], LeadByteTest lead = noLeadBytes);

// dir followed by name into out; false (out empty) when it does not fit.
bool joinPath(const char* dir, const char* name, char* out, std::size_t cap);

// The extension of the last path component: the text after the last dot that
// follows the last backslash, cut to kExtensionBytes-1 bytes. False when the
// last component has no dot.
bool extensionOf(const char* path, char (&ext)[kExtensionBytes], LeadByteTest lead = noLeadBytes);

// QueryExtension's test of one record: a prefix comparison of the extension
// (already folded) against the text after each "*" and the one character that
// follows it, up to the end of the whole filter.
bool filterMatches(const char* filter, const char* ext);

}  // namespace hrlspi
