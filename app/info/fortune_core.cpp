#include "app/info/fortune_core.h"

#include <algorithm>
#include <utility>

#include "app/resources/built_in_pictures.h"

namespace horolo {

namespace {

constexpr std::size_t kMarkEvery = 64;

bool Trimmed(char c) { return c == '\n' || c == '\r' || c == '\x1A' || c == ' '; }

// One piece of a line, read byte by byte in one pass: where it ends (after
// its line feed, after 255 bytes or at the end of the data) and where its
// entry ends (after the last byte before its first NUL that trimming keeps;
// where it starts when nothing is kept).
struct Piece {
    std::size_t end;
    std::size_t entryEnd;
};

Piece PieceAt(std::string_view data, std::size_t at) {
    const std::size_t limit = std::min(data.size(), at + kFortunePieceBytes);
    std::size_t entryEnd = at;
    bool cut = false;
    for (std::size_t i = at; i < limit; ++i) {
        const char c = data[i];
        if (c == '\0') cut = true;
        if (!cut && !Trimmed(c)) entryEnd = i + 1;
        if (c == '\n') return {i + 1, entryEnd};
    }
    return {limit, entryEnd};
}

}  // namespace

FortuneEntries::FortuneEntries(std::string data) : data_(std::move(data)) {
    for (std::size_t at = 0; at < data_.size();) {
        const Piece piece = PieceAt(data_, at);
        if (piece.entryEnd != at) {
            if (count_ % kMarkEvery == 0) marks_.push_back(at);
            ++count_;
        }
        at = piece.end;
    }
}

std::string_view FortuneEntries::operator[](std::size_t index) const {
    std::size_t at = marks_[index / kMarkEvery];
    for (std::size_t skip = index % kMarkEvery;;) {
        const Piece piece = PieceAt(data_, at);
        if (piece.entryEnd != at) {
            if (skip == 0) return std::string_view(data_).substr(at, piece.entryEnd - at);
            --skip;
        }
        at = piece.end;
    }
}

std::uint32_t FortuneGenerator::next() {
    state_ = state_ * 0x0000015A00004E35ULL + 1;
    return static_cast<std::uint32_t>(state_ >> 32) & 0x7FFFFFFFu;
}

std::wstring FortuneMessage(int voice, std::wstring_view entry) {
    const FortuneVoice& v = voice >= 0 && voice < kBuiltInPictures ? kBuiltInPictureTable[voice].voice : kNeutralVoice;
    std::wstring message;
    message.reserve(v.prefix.size() + entry.size() + v.suffix.size() + 4);
    message.append(v.prefix).append(L"\n「").append(entry).append(L"」\n").append(v.suffix);
    return message;
}

}  // namespace horolo
