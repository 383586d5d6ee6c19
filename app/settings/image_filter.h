// The picture formats that the plug-ins found by hrl_spi declare, as the
// settings dialog offers them: the file dialog's filter and the lines of the
// format list. No window code here.
#pragma once

#include <string>
#include <vector>

#include "spi_loader/data_chain.h"

namespace horolo {

// The filter of the picture dialog before any plug-in search, and its first
// entry after one.
inline constexpr char kBitmapFilter[] = "Windows Bitmap (*.BMP)|*.bmp";
// The format list's first line: bitmaps need no plug-in.
inline constexpr char kBitmapFormat[] = "Windows Bitmap";

// One format of the chain: its description and file pattern (ANSI texts).
struct PictureFormat {
    std::string description;
    std::string pattern;
    friend bool operator==(const PictureFormat&, const PictureFormat&) = default;
};

// The formats of a data chain in chain order: at most `count` records (the
// count GetDataChain gave) and none past a null link. Each text ends at its
// NUL or at the end of its field, whichever comes first.
std::vector<PictureFormat> ChainFormats(const DataChainRecord* head, int count);

// The picture dialog's filter: the bitmap entry, then one entry per format
// ("|" description "|" pattern). A bar inside a description or pattern would
// split the entry and cost its pattern: it is dropped from a description and
// separates patterns as a semicolon does. `lead` tells the lead bytes of the
// ANSI code page, whose trail bytes may be 0x7C too.
std::string ImageFilterOf(const std::vector<PictureFormat>& formats, bool (*lead)(unsigned char));

}  // namespace horolo
