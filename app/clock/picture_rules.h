// Rules of the background picture that need no window: which path a picture
// file takes, where a picture lands on the face, and which built-in picture
// a selector item shows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace horolo {

// How a picture file is read, decided by its name alone: "bmp" in any case
// is a Windows bitmap, any other extension goes to the plug-ins, and a last
// path component without a dot is an unknown format. `lead` tells the
// lead bytes of the ANSI code page, so that a trail byte 0x5C of a
// double-byte character is not taken for a backslash.
enum class PictureKind { Unknown, Bitmap, Plugin };
PictureKind PictureKindOf(const std::string& path, bool (*lead)(unsigned char));

// Where a picture of w by h pixels lands on a square face of side S:
// stretched over the whole face, or fitted with its proportions kept and
// centred. Nothing for a picture without pixels (w or h not positive).
// Bitmap files are placed by edges, plug-in pictures by position and size;
// the two agree up to one pixel of rounding.
struct FaceEdges {
    int left, top, right, bottom;
    friend bool operator==(const FaceEdges&, const FaceEdges&) = default;
};
struct FacePlacement {
    int x, y, width, height;
    friend bool operator==(const FacePlacement&, const FacePlacement&) = default;
};
std::optional<FaceEdges> FitByEdges(int w, int h, bool stretch, int side);
std::optional<FacePlacement> FitBySize(int w, int h, bool stretch, int side);

// The built-in pictures are those of the selector's first items; any other
// item (the picture file's without a file, or no item) shows picture 0.
int BuiltInPictureOf(int item);

// The selector item of a start without a picture file: the stored
// "Resource" when the stored "Version" is this program's, otherwise 0.
int StartupSelectorItem(std::string_view storedVersion, int storedResource);

}  // namespace horolo
