// The fortune teller's rules: how a data file splits into entries, the
// random generator that draws them, and the message in the voice that goes
// with the chosen background picture. No window code here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace horolo {

// A line of the data file is read in pieces of at most this many bytes.
inline constexpr std::size_t kFortunePieceBytes = 255;

// The entries of a fortune data file, in file order. Each line (ended by a
// line feed) is cut into pieces of at most 255 bytes, the line feed counted
// with the piece it ends; each piece is trimmed of trailing line feeds,
// carriage returns, Ctrl-Z and spaces, and is an entry when something is
// left. Bytes stay as they are (Shift-JIS in practice), even where a cut
// falls inside a double-byte character. A piece ends at a NUL byte, as a C
// string would: what follows it could never be shown.
//
// The file's bytes are kept once, as they are; only where every 64th entry
// starts is recorded, so a file of millions of short lines takes hardly more
// memory than its size, and an entry is found again by splitting at most 64
// entries (and the empty pieces between them) from the record before it.
class FortuneEntries {
public:
    FortuneEntries() = default;
    explicit FortuneEntries(std::string data);

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    // The entry at index (below size()); valid while this list lives.
    std::string_view operator[](std::size_t index) const;

private:
    std::string data_;
    std::vector<std::size_t> marks_;  // where the piece of entry 0, 64, 128 ... starts
    std::size_t count_ = 0;
};

// The draws: a 64-bit state, state × 0x0000015A00004E35 + 1 modulo 2^64 per
// draw, which yields the new state's high 32 bits with the top bit cleared.
class FortuneGenerator {
public:
    explicit FortuneGenerator(std::uint64_t state = 0) : state_(state) {}

    // Seeding with the calendar time: low 32 bits the seconds, high bits 0.
    void seed(std::uint32_t seconds) { state_ = seconds; }
    // A value from 0 to 0x7FFFFFFF.
    std::uint32_t next();
    // Index of one of `count` entries (count > 0): a draw modulo count.
    std::size_t pick(std::size_t count) { return next() % count; }

private:
    std::uint64_t state_;
};

// The message for an entry in the voice of a background choice:
// prefix, line feed, the entry in corner brackets, line feed, suffix. A
// choice that is no built-in picture (a picture file, or no background
// selected) takes the neutral voice.
std::wstring FortuneMessage(int voice, std::wstring_view entry);

}  // namespace horolo
