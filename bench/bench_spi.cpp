// hrl_spi figures: the plug-in search over a folder of 50 plug-ins, decoding
// a 4000x3000 JPEG (and a 1x1 PNG) through SPI_LoadImageEx against calling
// the shipped plug-in's GetPicture directly (with the cost of loading the
// plug-in), and the cost of one intermediate progress report. The pictures are written with the platform's encoders at
// start.
#include <windows.h>

#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "framework/gdi.h"
#include "spi_loader/hrl_spi.h"
#include "spi_loader/plugin_api.h"
#include "spi_loader/progress_window.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string BinDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    *std::strrchr(path, '\\') = '\0';
    return path;
}

std::string MakeTempDir() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    const std::string dir = std::string(base) + "hrlspi_bench" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

void RemoveDir(const std::string& dir) {
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do DeleteFileA((dir + "\\" + entry.cFileName).c_str());
        while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
}

// A picture with gradients and some texture, written with the platform's
// encoder of that container format (JPEG: like a camera's photo).
bool WritePicture(const std::string& path, REFGUID container, UINT width, UINT height) {
    const UINT stride = (width * 3 + 3) & ~3u;
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    std::wstring wide(path.begin(), path.end());
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(&factory));
    if (SUCCEEDED(hr)) hr = factory->CreateStream(&stream);
    if (SUCCEEDED(hr)) hr = stream->InitializeFromFilename(wide.c_str(), GENERIC_WRITE);
    if (SUCCEEDED(hr)) hr = factory->CreateEncoder(container, nullptr, &encoder);
    if (SUCCEEDED(hr)) hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(&frame, nullptr);
    if (SUCCEEDED(hr)) hr = frame->Initialize(nullptr);
    if (SUCCEEDED(hr)) hr = frame->SetSize(width, height);
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
    std::vector<BYTE> rows(static_cast<size_t>(stride) * 100);
    for (UINT y = 0; SUCCEEDED(hr) && y < height; y += 100) {
        const UINT strip = height - y < 100 ? height - y : 100;
        for (UINT r = 0; r < strip; ++r)
            for (UINT x = 0; x < width; ++x) {
                BYTE* p = &rows[r * stride + x * 3];
                const UINT yy = y + r;
                p[0] = static_cast<BYTE>(x * 255 / width);
                p[1] = static_cast<BYTE>(yy * 255 / height);
                p[2] = static_cast<BYTE>(((x / 8) ^ (yy / 8)) * 37 + (x * yy) % 23);
            }
        hr = frame->WritePixels(strip, stride, stride * strip, rows.data());
    }
    if (SUCCEEDED(hr)) hr = frame->Commit();
    if (SUCCEEDED(hr)) hr = encoder->Commit();
    if (frame) frame->Release();
    if (encoder) encoder->Release();
    if (stream) stream->Release();
    if (factory) factory->Release();
    return SUCCEEDED(hr);
}

int __stdcall NoProgress(int, int, long) { return 0; }

struct Comparison {
    double library;  // median ms through SPI_LoadImageEx
    double direct;   // median ms calling the plug-in's GetPicture
    double ratio;    // median of the pairs' ratios
    int pairs;
};

// Pairs run back to back, in alternating order, so that each ratio compares
// two decodes under the same load of the machine. The plug-in is loaded only
// for the direct call (not timed), so that the library pays for loading it
// as it does in the program.
Comparison Compare(const std::string& file, hrlspi::SpiLoadImageExFn loadImageEx, const std::string& pluginPath,
                   int pairs, bool& ok) {
    std::vector<double> viaLibrary, direct, ratios;
    std::vector<BYTE> header(1064);
    auto throughLibrary = [&] {
        HLOCAL pixels = nullptr;
        const LARGE_INTEGER start = Now();
        ok = loadImageEx(file.c_str(), &pixels, reinterpret_cast<BITMAPINFO*>(header.data())) == 1 && ok;
        viaLibrary.push_back(Milliseconds(start, Now()));
        LocalFree(pixels);
    };
    auto directly = [&] {
        const HMODULE plugin = LoadLibraryA(pluginPath.c_str());
        const auto getPicture = fw::Export<hrlspi::GetPictureFn>(plugin, "GetPicture");
        HANDLE info = nullptr, bits = nullptr;
        std::string path = file;
        const LARGE_INTEGER start = Now();
        ok = getPicture != nullptr && getPicture(path.data(), 0, 0, &info, &bits, NoProgress, 0) == 0 && ok;
        direct.push_back(Milliseconds(start, Now()));
        LocalFree(info);
        LocalFree(bits);
        FreeLibrary(plugin);
    };
    for (int run = 0; run < pairs; ++run) {
        if (run % 2 == 0) {
            throughLibrary();
            directly();
        } else {
            directly();
            throughLibrary();
        }
        ratios.push_back(viaLibrary.back() / direct.back());
    }
    return {Median(viaLibrary), Median(direct), Median(ratios), pairs};
}

}  // namespace

int main() {
    const std::string bin = BinDir();
    const HMODULE library = LoadLibraryA((bin + "\\hrl_spi.dll").c_str());
    if (library == nullptr) {
        std::printf("hrl_spi.dll not found beside the benchmark\n");
        return 1;
    }
    fw::Export<hrlspi::StartupLibraryFn>(library, "StartupLibrary")();
    const auto search = fw::Export<hrlspi::SearchPluginFn>(library, "SearchPlugin");
    const auto loadImageEx = fw::Export<hrlspi::SpiLoadImageExFn>(library, "SPI_LoadImageEx");
    const std::string dir = MakeTempDir();

    // 1. SearchPlugin over 50 plug-ins (each loaded, asked and unloaded).
    for (int i = 0; i < 50; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "\\p%02d.spi", i);
        CopyFileA((bin + "\\spi_test\\one.spi").c_str(), (dir + name).c_str(), FALSE);
    }
    std::vector<double> searches;
    int records = 0;
    for (int run = 0; run < 15; ++run) {
        const LARGE_INTEGER start = Now();
        records = search(dir.c_str());
        searches.push_back(Milliseconds(start, Now()));
    }
    std::printf("SearchPlugin, folder of 50 plug-ins (%d records): median %.1f ms, min %.1f ms (15 runs)\n", records,
                Median(searches), *std::min_element(searches.begin(), searches.end()));
    RemoveDir(dir);

    // 2. A 4000x3000 JPEG through the library against the plug-in directly,
    // and a 1x1 PNG: what a load costs beyond the decoding itself.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string pictures = MakeTempDir();
    const std::string jpeg = pictures + "\\photo.jpg", png = pictures + "\\dot.png";
    if (!WritePicture(jpeg, GUID_ContainerFormatJpeg, 4000, 3000) || !WritePicture(png, GUID_ContainerFormatPng, 1, 1)) {
        std::printf("could not write the pictures\n");
        return 1;
    }
    search(bin.c_str());
    const std::string plugin = bin + "\\hrlwic.spi";
    bool ok = true;
    const Comparison big = Compare(jpeg, loadImageEx, plugin, 15, ok);
    std::printf("4000x3000 JPEG: SPI_LoadImageEx median %.1f ms, GetPicture directly median %.1f ms; "
                "median ratio of %d back-to-back pairs %.3f (target <= 1.05)\n",
                big.library, big.direct, big.pairs, big.ratio);
    const Comparison dot = Compare(png, loadImageEx, plugin, 31, ok);
    std::printf("1x1 PNG: SPI_LoadImageEx median %.2f ms, GetPicture directly median %.2f ms "
                "(the library's cost per load: %.2f ms)%s\n",
                dot.library, dot.direct, dot.library - dot.direct, ok ? "" : " SOME LOADS FAILED");
    // Part of that cost: each try loads and unloads the plug-in twice.
    std::vector<double> loads;
    for (int run = 0; run < 31; ++run) {
        const LARGE_INTEGER start = Now();
        FreeLibrary(LoadLibraryA(plugin.c_str()));
        loads.push_back(Milliseconds(start, Now()));
    }
    std::printf("  of which loading and unloading hrlwic.spi, twice per load: median %.2f ms each time\n",
                Median(loads));
    DeleteFileA(jpeg.c_str());
    DeleteFileA(png.c_str());
    RemoveDir(pictures);
    fw::Export<hrlspi::TerminateLibraryFn>(library, "TerminateLibrary")();
    FreeLibrary(library);

    // 3. One intermediate report: the pump, the bar and the redraw of the
    // shown window (the library's code linked into this program). Most
    // reports of a plug-in move the bar by less than a pixel; those that
    // move it repaint it.
    StartupLibrary();
    hrlspi::ProgressCallback(0, 1000000, 0);
    const int reports = 20000;
    LARGE_INTEGER start = Now();
    for (int i = 1; i <= reports; ++i) hrlspi::ProgressCallback(i, 1000000, 0);
    const double still = 1000.0 * Milliseconds(start, Now()) / reports;
    hrlspi::ProgressCallback(0, 400, 0);
    const int moves = 399;
    start = Now();
    for (int i = 1; i <= moves; ++i) hrlspi::ProgressCallback(i, 400, 0);
    const double moving = 1000.0 * Milliseconds(start, Now()) / moves;
    hrlspi::ProgressCallback(400, 400, 0);
    TerminateLibrary();
    std::printf("intermediate progress report: %.1f us when the bar does not move (%d reports), "
                "%.1f us when it moves (%d reports)\n", still, reports, moving, moves);
    CoUninitialize();
    return ok ? 0 : 1;
}
