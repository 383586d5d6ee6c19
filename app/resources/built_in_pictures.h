// The built-in face pictures, one row each: the background selector's item,
// the bitmap resource, and the voice the fortune teller speaks in while the
// picture is chosen. Every count of them follows from this table; the
// resource script's list (CMake's HOROLO_BUILT_IN_PICTURES) is checked
// against it when compiling.
#pragma once

#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace horolo {

struct FortuneVoice {
    std::wstring_view prefix;
    std::wstring_view suffix;
};

struct BuiltInPicture {
    std::wstring_view item;
    std::wstring_view resource;
    FortuneVoice voice;
};

inline constexpr BuiltInPicture kBuiltInPictureTable[] = {
    {L"ミルア", L"IMAGE0", {L"アンタの今日の運勢は、", L"よ！"}},
    {L"ネオラ", L"IMAGE1", {L"あなたの運勢は", L"よ…"}},
    {L"ザクル", L"IMAGE2", {L"え、えと…君の運勢は…", L"なんだ。"}},
};
inline constexpr int kBuiltInPictures = static_cast<int>(std::size(kBuiltInPictureTable));
static_assert(kBuiltInPictures == HOROLO_BUILT_IN_PICTURE_COUNT,
              "the resource script's pictures and this table must match");

// The selector's item after the built-in pictures: a picture file of the
// user's own, whose fortunes come in the neutral voice.
inline constexpr int kPictureFileItem = kBuiltInPictures;
inline constexpr std::wstring_view kPictureFileItemText = L"その他";
inline constexpr FortuneVoice kNeutralVoice{L"今日の運勢は、", L"です"};

// The background selector's items: the pictures, then the picture file.
inline std::vector<std::wstring> BackgroundSelectorItems() {
    std::vector<std::wstring> items;
    for (const BuiltInPicture& picture : kBuiltInPictureTable) items.emplace_back(picture.item);
    items.emplace_back(kPictureFileItemText);
    return items;
}

}  // namespace horolo
