#include "app/info/fortune_core.h"

#include "app/resources/built_in_pictures.h"

namespace horolo {

namespace {

constexpr std::string_view kTrimmed{"\n\r\x1A ", 4};

}  // namespace

std::vector<std::string> SplitFortunes(std::string_view data) {
    std::vector<std::string> entries;
    while (!data.empty()) {
        std::string_view piece = data.substr(0, kFortunePieceBytes);
        if (const std::size_t lineFeed = piece.find('\n'); lineFeed != std::string_view::npos)
            piece = piece.substr(0, lineFeed + 1);
        data.remove_prefix(piece.size());
        piece = piece.substr(0, piece.find('\0'));
        const std::size_t last = piece.find_last_not_of(kTrimmed);
        if (last != std::string_view::npos) entries.emplace_back(piece.substr(0, last + 1));
    }
    return entries;
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
