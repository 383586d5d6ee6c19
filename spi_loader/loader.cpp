// Start-up and shut-down of the library, decoding through a plug-in, and the
// progress function plug-ins report to.
#include <windows.h>

#include <cstring>

#include "spi_loader/dib_check.h"
#include "spi_loader/hrl_spi.h"
#include "spi_loader/library_state.h"
#include "spi_loader/plugin_api.h"
#include "spi_loader/progress_report.h"
#include "spi_loader/progress_window.h"
#include "spi_loader/seh_guard.h"

namespace hrlspi {

namespace {

Tprogress* g_progress = nullptr;

void release(HLOCAL& block) {
    if (block != nullptr) LocalFree(block);
    block = nullptr;
}

// Copies the plug-in's header block into the caller's buffer when it makes a
// usable picture with the pixel block; frees the header block either way.
bool takeHeader(HLOCAL& info, HLOCAL pixels, BITMAPINFO* header) {
    const auto* block = static_cast<const unsigned char*>(LocalLock(info));
    if (block == nullptr) return false;
    const SIZE_T bytes = LocalSize(info);
    BITMAPINFOHEADER fields{};
    std::memcpy(&fields, block, bytes < sizeof fields ? bytes : sizeof fields);
    const DibFields dib{fields.biSize, fields.biWidth, fields.biHeight, fields.biBitCount, fields.biCompression};
    const bool usable = pictureUsable(dib, bytes, LocalSize(pixels));
    if (usable) std::memcpy(header, block, bytes);
    LocalUnlock(info);
    release(info);
    return usable;
}

}  // namespace

Tprogress* progressWindow() { return g_progress; }

namespace {

int handleReport(Tprogress& w, int numerator, int denominator) {
    MSG msg;
    if (PeekMessageA(&msg, w.handle(), 0, 0, PM_NOREMOVE) && GetMessageA(&msg, w.handle(), 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    switch (classifyReport(numerator, denominator)) {
    case ProgressReport::Start:
        w.cancelFlag = 0;
        w.status.setMax(denominator);
        w.status.setPosition(0);
        w.shownUnits = 0;
        w.showInFront();
        w.redraw();
        return 0;
    case ProgressReport::Final:
        w.hide();
        return 0;
    case ProgressReport::Intermediate: {
        const int units = barUnits(numerator, w.status.max(), w.status.bounds().width);
        if (units != w.shownUnits) {
            w.shownUnits = units;
            w.status.setPosition(numerator);
        }
        w.redraw();
        return w.cancelFlag;
    }
    }
    return 0;
}

}  // namespace

// Called from inside a plug-in: nothing may unwind through its frames.
int __stdcall ProgressCallback(int numerator, int denominator, long) {
    Tprogress* w = g_progress;
    if (w == nullptr || w->handle() == nullptr) return 0;
    try {
        return handleReport(*w, numerator, denominator);
    } catch (...) {
        return 0;
    }
}

}  // namespace hrlspi

using namespace hrlspi;

extern "C" int __stdcall StartupLibrary() {
    if (g_progress != nullptr) return 1;
    // Nothing crosses the interface: without a window, loads simply show no
    // progress.
    try {
        auto* window = new Tprogress();
        try {
            window->create();
            g_progress = window;
        } catch (...) {
            delete window;
        }
    } catch (...) {
    }
    return 1;
}

extern "C" void __stdcall TerminateLibrary() {
    FreeDataChain();
    delete g_progress;
    g_progress = nullptr;
}

// Every failure leaves the caller's handle null: it never holds something
// the caller might free twice or draw from.
extern "C" int __stdcall SPI_LoadImage(int index, LPCSTR path, HLOCAL* pixels, BITMAPINFO* header) {
    char pluginPath[kPathBytes], picture[kPathBytes];
    if (pixels != nullptr) *pixels = nullptr;
    if (path == nullptr || pixels == nullptr || header == nullptr) return 0;
    if (!pluginPathOf(index, pluginPath) || !joinPath("", path, picture, sizeof picture)) return 0;
    const PluginModule plugin(pluginPath);
    if (!plugin) return 0;
    const auto getPicture = plugin.function<GetPictureFn>("GetPicture");
    if (getPicture == nullptr) return 0;

    HLOCAL info = nullptr;
    int result = -1;
    const bool returned = guarded([&] { result = getPicture(picture, 0, 0, &info, pixels, ProgressCallback, 0); });
    // A load that ends without a final report must not leave the window up.
    if (g_progress != nullptr && g_progress->shown()) g_progress->hide();
    if (!returned) {
        // After a fault nothing the plug-in stored can be trusted, not even
        // enough to free it.
        *pixels = nullptr;
        return 0;
    }
    if (result == 0 && info != nullptr && *pixels != nullptr && takeHeader(info, *pixels, header)) return 1;
    release(info);
    release(*pixels);
    return 0;
}

extern "C" int __stdcall SPI_LoadImageEx(LPCSTR path, HLOCAL* pixels, BITMAPINFO* header) {
    char picture[kPathBytes], extension[kExtensionBytes];
    if (pixels != nullptr) *pixels = nullptr;
    if (path == nullptr || !joinPath("", path, picture, sizeof picture) || picture[0] == '\0') return 0;
    if (!extensionOf(picture, extension, isLeadByte)) return 0;
    for (int start = 0;;) {
        const int index = QueryExtension(start, extension);
        if (index == -1) return 0;
        // One load of the plug-in serves both the check and the decode of this
        // try (their own loads only count references); it is gone afterwards.
        char pluginPath[kPathBytes];
        const PluginModule held(pluginPathOf(index, pluginPath) ? pluginPath : nullptr);
        if (CheckFormat(index, picture) != 0 && SPI_LoadImage(index, picture, pixels, header) == 1) return 1;
        start = index + 1;
    }
}
