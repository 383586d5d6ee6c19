#include "app/clock/picture_rules.h"

#include "app/resources/built_in_pictures.h"
#include "horolo_version.h"
#include "spi_loader/text_rules.h"

namespace horolo {

PictureKind PictureKindOf(const std::string& path, bool (*lead)(unsigned char)) {
    char ext[hrlspi::kExtensionBytes];
    if (!hrlspi::extensionOf(path.c_str(), ext, lead)) return PictureKind::Unknown;
    hrlspi::foldLower(ext);
    return std::string_view(ext) == "bmp" ? PictureKind::Bitmap : PictureKind::Plugin;
}

std::optional<FaceEdges> FitByEdges(int w, int h, bool stretch, int side) {
    if (w <= 0 || h <= 0) return std::nullopt;
    if (stretch) return FaceEdges{0, 0, side, side};
    const long long s = side;
    if (w > h) {
        const long long scaled = h * s / w;
        return FaceEdges{0, static_cast<int>((s - scaled) / 2), side, static_cast<int>((scaled + s) / 2)};
    }
    const long long scaled = w * s / h;
    return FaceEdges{static_cast<int>((s - scaled) / 2), 0, static_cast<int>((scaled + s) / 2), side};
}

std::optional<FacePlacement> FitBySize(int w, int h, bool stretch, int side) {
    if (w <= 0 || h <= 0) return std::nullopt;
    if (stretch) return FacePlacement{0, 0, side, side};
    const long long s = side;
    if (h < w) {
        const int height = static_cast<int>(h * s / w);
        return FacePlacement{0, (side - height) / 2, side, height};
    }
    const int width = static_cast<int>(w * s / h);
    return FacePlacement{(side - width) / 2, 0, width, side};
}

int BuiltInPictureOf(int item) { return item >= 0 && item < kBuiltInPictures ? item : 0; }

int StartupSelectorItem(std::string_view storedVersion, int storedResource) {
    return storedVersion == HOROLO_VERSION_TEXT ? storedResource : 0;
}

}  // namespace horolo
