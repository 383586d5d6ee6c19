#include "app/info/fortune_core.h"

#include <utility>

namespace horolo {

namespace {

struct Voice {
    std::wstring_view prefix;
    std::wstring_view suffix;
};

// One row per item of the background selector: the three characters of the
// built-in pictures, then the neutral voice.
constexpr Voice kVoices[kFortuneVoices] = {
    {L"アンタの今日の運勢は、", L"よ！"},
    {L"あなたの運勢は", L"よ…"},
    {L"え、えと…君の運勢は…", L"なんだ。"},
    {L"今日の運勢は、", L"です"},
};

constexpr std::string_view kTrimmed{"\n\r\x1A ", 4};
constexpr std::size_t kMarkEvery = 64;

// One piece of a line: its entry (empty when nothing is left after
// trimming) and where the next piece starts.
struct Piece {
    std::string_view entry;
    std::size_t next;
};

Piece PieceAt(std::string_view data, std::size_t at) {
    std::string_view piece = data.substr(at, kFortunePieceBytes);
    if (const std::size_t lineFeed = piece.find('\n'); lineFeed != std::string_view::npos)
        piece = piece.substr(0, lineFeed + 1);
    const std::size_t next = at + piece.size();
    piece = piece.substr(0, piece.find('\0'));
    const std::size_t last = piece.find_last_not_of(kTrimmed);
    return {last == std::string_view::npos ? std::string_view{} : piece.substr(0, last + 1), next};
}

}  // namespace

FortuneEntries::FortuneEntries(std::string data) : data_(std::move(data)) {
    for (std::size_t at = 0; at < data_.size();) {
        const Piece piece = PieceAt(data_, at);
        if (!piece.entry.empty()) {
            if (count_ % kMarkEvery == 0) marks_.push_back(at);
            ++count_;
        }
        at = piece.next;
    }
}

std::string_view FortuneEntries::operator[](std::size_t index) const {
    std::size_t at = marks_[index / kMarkEvery];
    for (std::size_t skip = index % kMarkEvery;;) {
        const Piece piece = PieceAt(data_, at);
        if (!piece.entry.empty()) {
            if (skip == 0) return piece.entry;
            --skip;
        }
        at = piece.next;
    }
}

std::uint32_t FortuneGenerator::next() {
    state_ = state_ * 0x0000015A00004E35ULL + 1;
    return static_cast<std::uint32_t>(state_ >> 32) & 0x7FFFFFFFu;
}

std::wstring FortuneMessage(int voice, std::wstring_view entry) {
    const Voice& v = kVoices[(voice >= 0 && voice < kFortuneVoices) ? voice : kFortuneVoices - 1];
    std::wstring message;
    message.reserve(v.prefix.size() + entry.size() + v.suffix.size() + 4);
    message.append(v.prefix).append(L"\n「").append(entry).append(L"」\n").append(v.suffix);
    return message;
}

}  // namespace horolo
