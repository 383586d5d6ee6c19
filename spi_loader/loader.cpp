// Start-up and shut-down of the library, and decoding through a plug-in.
#include <windows.h>

#include <cstring>

#include "framework/ansi.h"
#include "framework/disk_file.h"
#include "spi_loader/dib_check.h"
#include "spi_loader/hrl_spi.h"
#include "spi_loader/library_state.h"
#include "spi_loader/plugin_api.h"
#include "spi_loader/progress_window.h"
#include "spi_loader/seh_guard.h"

namespace hrlspi {

namespace {

Tprogress* g_progress = nullptr;

void release(HLOCAL& block) {
    if (block != nullptr) LocalFree(block);
    block = nullptr;
}

// Copies what the caller's buffer can hold of the plug-in's header block
// when it makes a usable picture with the pixel block.
bool takeHeader(HLOCAL info, HLOCAL pixels, BITMAPINFO* header) {
    const auto* block = static_cast<const unsigned char*>(LocalLock(info));
    if (block == nullptr) return false;
    unsigned char copy[kHeaderBufferBytes];
    const std::size_t bytes = copyHeaderBlock(block, LocalSize(info), copy);
    LocalUnlock(info);
    if (bytes == 0 || !pixelsUsable(readFields(copy), LocalSize(pixels))) return false;
    std::memcpy(header, copy, bytes);
    return true;
}

}  // namespace

Tprogress* progressWindow() { return g_progress; }

// A plug-in may store both handles and still fail, having freed them itself:
// after a failure nothing it stored is ours to free. Handed over with
// success, both blocks are ours until the caller takes them.
int loadImage(int index, char* picture, HLOCAL* pixels, BITMAPINFO* header) {
    const PluginModule plugin(index);
    const auto getPicture = plugin.function<GetPictureFn>("GetPicture");
    if (getPicture == nullptr) return 0;

    HLOCAL info = nullptr;
    *pixels = nullptr;
    int result = -1;
    const bool returned = guarded([&] { result = getPicture(picture, 0, 0, &info, pixels, ProgressCallback, 0); });
    // A load that ends without a final report must not leave the window up.
    if (g_progress != nullptr && g_progress->shown()) g_progress->hide();
    if (!returned || result != 0) {
        *pixels = nullptr;
        return 0;
    }
    const bool taken = info != nullptr && *pixels != nullptr && takeHeader(info, *pixels, header);
    release(info);
    if (!taken) release(*pixels);
    return taken ? 1 : 0;
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
    if (state().busy) return;
    FreeDataChain();
    delete g_progress;
    g_progress = nullptr;
}

// Every failure leaves the caller's handle null: it never holds something
// the caller might free twice or draw from. A picture that is no disk file
// (a device name, a pipe) never reaches a plug-in: a read from it could
// block for ever.
extern "C" int __stdcall SPI_LoadImage(int index, LPCSTR path, HLOCAL* pixels, BITMAPINFO* header) {
    char picture[kPathBytes];
    if (pixels != nullptr) *pixels = nullptr;
    if (path == nullptr || pixels == nullptr || header == nullptr) return 0;
    if (!joinPath("", path, picture, sizeof picture) || !fw::IsDiskFile(picture)) return 0;
    const BusyScope busy;
    return busy ? loadImage(index, picture, pixels, header) : 0;
}

// Each try loads the plug-in for the check and again for the decode, so
// that nothing of the check stays with the plug-in when it decodes.
extern "C" int __stdcall SPI_LoadImageEx(LPCSTR path, HLOCAL* pixels, BITMAPINFO* header) {
    char picture[kPathBytes], extension[kExtensionBytes];
    if (pixels != nullptr) *pixels = nullptr;
    if (path == nullptr || pixels == nullptr || header == nullptr) return 0;
    if (!joinPath("", path, picture, sizeof picture) || picture[0] == '\0') return 0;
    if (!extensionOf(picture, extension, fw::IsAnsiLeadByte) || !fw::IsDiskFile(picture)) return 0;
    const BusyScope busy;
    if (!busy) return 0;
    for (int start = 0;;) {
        const int index = QueryExtension(start, extension);
        if (index == -1) return 0;
        if (checkFormat(index, picture) != 0 && loadImage(index, picture, pixels, header) == 1) return 1;
        start = index + 1;
    }
}
