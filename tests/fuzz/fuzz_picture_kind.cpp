// Which path a background picture takes, by its name: any text a settings
// file or a dialog may give. The first byte picks a Shift-JIS lead-byte test
// or none; the rest is the path. The case of the letters and the folders in
// front never change the kind; a name that ends in ".BMP" is a bitmap, one
// with another extension goes to the plug-ins, and a last component without a
// dot is no picture.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/clock/picture_rules.h"
#include "spi_loader/text_rules.h"

using horolo::PictureKind;
using horolo::PictureKindOf;

namespace {

bool shiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// True when the last character of text is whole (no lead byte left alone).
bool EndsWhole(const std::string& text, bool (*lead)(unsigned char)) {
    std::size_t at = 0;
    while (at < text.size()) at += lead(static_cast<unsigned char>(text[at])) ? 2 : 1;
    return at == text.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    bool (*const lead)(unsigned char) = (data[0] & 1) ? shiftJisLead : hrlspi::noLeadBytes;
    std::string path(reinterpret_cast<const char*>(data + 1), size - 1);
    path.resize(path.find('\0') == std::string::npos ? path.size() : path.find('\0'));

    const PictureKind kind = PictureKindOf(path, lead);
    std::string upper = path;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (PictureKindOf(upper, lead) != kind) std::abort();
    if (PictureKindOf("C:\\pictures.d\\" + path, lead) != kind) std::abort();
    if (!EndsWhole(path, lead)) return 0;
    if (PictureKindOf(path + ".BmP", lead) != PictureKind::Bitmap ||
        PictureKindOf(path + ".png", lead) != PictureKind::Plugin ||
        PictureKindOf(path + "\\clock", lead) != PictureKind::Unknown)
        std::abort();
    return 0;
}
