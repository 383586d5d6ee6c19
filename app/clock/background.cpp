// The clock window's background picture: the built-in pictures, picture
// files (bitmaps directly, other formats through hrl_spi) and the choice
// between them at start-up and after the settings dialog.
#include <cstdint>
#include <memory>

#include "app/clock/clockform.h"
#include "app/clock/picture_rules.h"
#include "app/resources/built_in_pictures.h"
#include "app/settings/setupform.h"
#include "framework/ansi.h"
#include "framework/bitmap_file.h"
#include "framework/error.h"
#include "spi_loader/dib_check.h"
#include "spi_loader/hrl_spi.h"

using namespace horolo;

namespace {

struct LocalFreer {
    void operator()(void* block) const noexcept { LocalFree(block); }
};

}  // namespace

bool Tclockform::LoadBackgroundFile(const std::string& name, bool stretch, COLORREF blank) {
    const PictureKind kind = PictureKindOf(name, fw::IsAnsiLeadByte);
    if (kind == PictureKind::Unknown) {
        fw::ShowErrorBox(L"Error:\n画像形式が不明です");
        return false;
    }
    if (!faceBitmap_) return false;
    const fw::BitmapCanvas face(faceBitmap_.get());
    if (!stretch) {
        const RECT all{0, 0, faceSize, faceSize};
        SetDCBrushColor(face.get(), blank);
        FillRect(face.get(), &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    if (kind == PictureKind::Plugin) return drawPluginPicture(face.get(), name, stretch);

    const std::optional<fw::Dib> dib = fw::LoadBitmapFile(name);
    const std::optional<FaceEdges> edges =
        dib ? FitByEdges(dib->width, dib->rows(), stretch, faceSize) : std::nullopt;
    if (!edges) {
        fw::ShowErrorBox(L"Error:\n画像ファイルを読み込めません");
        return false;
    }
    fw::DrawDib(face.get(), {edges->left, edges->top, edges->right, edges->bottom}, *dib);
    return true;
}

// The plug-ins' failures are reported by hrl_spi's result alone: no message
// here. The pixel block is checked against the header before drawing, so a
// plug-in that promises more rows than it delivers draws nothing.
bool Tclockform::drawPluginPicture(HDC face, const std::string& name, bool stretch) {
    const auto load = fw::Export<hrlspi::SpiLoadImageExFn>(LoaderHandle, "SPI_LoadImageEx");
    if (!load) return false;
    const auto buffer = std::make_unique<std::uint8_t[]>(hrlspi::kHeaderBufferBytes);
    auto* info = reinterpret_cast<BITMAPINFO*>(buffer.get());
    HLOCAL handle = nullptr;
    if (load(name.c_str(), &handle, info) == 0) return false;
    const std::unique_ptr<void, LocalFreer> pixels(handle);
    const void* bits = LocalLock(handle);
    if (!bits) return false;

    const BITMAPINFOHEADER& bi = info->bmiHeader;
    const std::int64_t rows = bi.biHeight < 0 ? -static_cast<std::int64_t>(bi.biHeight) : bi.biHeight;
    std::optional<FacePlacement> place;
    if (rows <= INT32_MAX && hrlspi::pixelsUsable(hrlspi::readFields(buffer.get()), LocalSize(handle)))
        place = FitBySize(bi.biWidth, static_cast<int>(rows), stretch, faceSize);
    // A top-down picture (negative height) is drawn upright from its whole
    // source rectangle, as tall as its rows. Whole pixels are dropped or
    // repeated: the default mode of a new DC would AND the dropped ones into
    // the kept ones and darken a photograph, even to black.
    SetStretchBltMode(face, COLORONCOLOR);
    if (place)
        StretchDIBits(face, place->x, place->y, place->width, place->height, 0, 0, bi.biWidth, static_cast<int>(rows),
                      bits, info, DIB_RGB_COLORS, SRCCOPY);
    LocalUnlock(handle);
    return place.has_value();
}

void Tclockform::showBuiltInPicture(int item) {
    fw::RadioGroup& selector = setupform_.bgselector;
    selector.setItemIndex(item);
    const int picture = BuiltInPictureOf(selector.itemIndex());
    if (selector.itemIndex() != picture) selector.setItemIndex(picture);
    setupform_.bgfsel.setEnabled(false);
    setupform_.str_type.setEnabled(false);
    if (!faceBitmap_) return;
    const std::wstring name(kBuiltInPictureTable[picture].resource);
    const std::optional<fw::Dib> dib = fw::LoadBitmapResource(GetModuleHandleW(nullptr), name.c_str());
    if (!dib) throw fw::Error(L"The built-in picture " + name + L" is missing");
    const fw::BitmapCanvas face(faceBitmap_.get());
    fw::DrawDib(face.get(), {0, 0, dib->width, dib->rows()}, *dib);
}

void Tclockform::showPictureFileOrFallback(bool stretch, COLORREF blank) {
    if (LoadBackgroundFile(BackgroundFile, stretch, blank)) return;
    BackgroundFile.clear();
    showBuiltInPicture(0);
}

void Tclockform::ChooseStartupBackground(const StoredSettings& stored) {
    if (!stored.background.empty()) {
        BackgroundFile = stored.background;
        showPictureFileOrFallback(stored.stretchMode, stored.backSpaceColor);
        return;
    }
    showBuiltInPicture(StartupSelectorItem(stored.version, stored.resource));
}

void Tclockform::ChooseAppliedBackground() {
    if (!BackgroundFile.empty()) {
        showPictureFileOrFallback(setupform_.str_type.checked(), setupform_.bgspcol.color());
        return;
    }
    showBuiltInPicture(setupform_.bgselector.itemIndex());
}
