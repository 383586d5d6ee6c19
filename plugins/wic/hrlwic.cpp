// hrlwic.spi: a Susie image plug-in that decodes PNG, JPEG, GIF and TIFF
// through the platform's imaging component (WIC) and hands back a bottom-up
// 24-bit (or, where WIC converts only to that, 32-bit) DIB in local memory
// blocks.
#include <windows.h>
#include <wincodec.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/disk_file.h"
#include "framework/picture_limit.h"

namespace {

using Progress = int(__stdcall*)(int, int, long);

enum Result { kOk = 0, kStopped = 1, kUnknownFormat = 2, kBrokenData = 3, kOutOfMemory = 4, kReadError = 6,
              kInternalError = 8 };

struct Format {
    const char* filter;
    const char* description;
};
// Descriptions are Shift-JIS: "PNG 画像" and so on.
constexpr Format kFormats[] = {
    {"*.png", "PNG \x89\xe6\x91\x9c"},
    {"*.jpg;*.jpeg", "JPEG \x89\xe6\x91\x9c"},
    {"*.gif", "GIF \x89\xe6\x91\x9c"},
    {"*.tif;*.tiff", "TIFF \x89\xe6\x91\x9c"},
};
constexpr int kFormatCount = sizeof kFormats / sizeof kFormats[0];

// Progress scale: the first tenth covers opening the decoder (which may
// decode the whole picture), the rest the copy of the rows.
constexpr int kScale = 100, kOpened = 10;
constexpr UINT kStrips = 8;
constexpr DWORD kReportMs = 50;

int copyInfo(const char* text, LPSTR buf, int buflen) {
    if (buf == nullptr || buflen <= 0) return 0;
    int n = 0;
    while (text[n] != '\0' && n + 1 < buflen) {
        const int step = IsDBCSLeadByte(static_cast<BYTE>(text[n])) ? 2 : 1;
        if (n + step + 1 > buflen) break;
        n += step;
    }
    std::memcpy(buf, text, n);
    buf[n] = '\0';
    return n;
}

bool knownSignature(const unsigned char* head, DWORD bytes) {
    auto starts = [&](const char* sig, DWORD n) { return bytes >= n && std::memcmp(head, sig, n) == 0; };
    return starts("\x89PNG\r\n\x1a\n", 8) || starts("\xff\xd8\xff", 3) || starts("GIF87a", 6) ||
           starts("GIF89a", 6) || starts("II*\0", 4) || starts("MM\0*", 4);
}

template <class T>
class Com {
public:
    Com() = default;
    ~Com() { if (p_ != nullptr) p_->Release(); }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    T** out() { return &p_; }
    void reset() {
        if (p_ != nullptr) p_->Release();
        p_ = nullptr;
    }

private:
    T* p_ = nullptr;
};

// COM for this call only: balanced when we initialised it (S_OK or S_FALSE),
// left alone when the thread already runs another apartment model.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() { if (SUCCEEDED(hr_)) CoUninitialize(); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT hr_;
};

int codeFor(HRESULT hr) {
    if (hr == E_OUTOFMEMORY) return kOutOfMemory;
    if (hr == WINCODEC_ERR_COMPONENTNOTFOUND) return kUnknownFormat;
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32) return kReadError;
    return kBrokenData;
}

bool readSource(LPSTR buf, long len, unsigned int flag, std::vector<BYTE>& bytes) {
    if ((flag & 7) == 1) {
        if (len <= 0) return false;
        bytes.assign(reinterpret_cast<BYTE*>(buf), reinterpret_cast<BYTE*>(buf) + len);
        return true;
    }
    const HANDLE file = fw::OpenDiskFile(buf, FILE_SHARE_READ, 0);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart > len && size.QuadPart - len < 0x7FFFFFFF &&
              SetFilePointer(file, len, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart - len));
        DWORD got = 0;
        ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size();
    }
    CloseHandle(file);
    return ok;
}

class Decode {
public:
    Decode(Progress progress, long data) : progress_(progress), data_(data) {}
    ~Decode() {
        if (info_ != nullptr) LocalFree(info_);
        if (pixels_ != nullptr) LocalFree(pixels_);
    }

    int run(LPSTR buf, long len, unsigned int flag) {
        if (report(0)) return kStopped;
        Com<IWICImagingFactory> factory;
        HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out()));
        if (FAILED(hr)) return kInternalError;

        Com<IWICBitmapDecoder> decoder;
        Com<IWICStream> stream;
        std::vector<BYTE> bytes;
        if ((flag & 7) == 0 && len == 0) {
            if (!fw::IsDiskFile(buf)) return kReadError;
            const int wide = MultiByteToWideChar(CP_ACP, 0, buf, -1, nullptr, 0);
            if (wide <= 0) return kReadError;
            std::vector<wchar_t> path(wide);
            MultiByteToWideChar(CP_ACP, 0, buf, -1, path.data(), wide);
            hr = factory->CreateDecoderFromFilename(path.data(), nullptr, GENERIC_READ,
                                                    WICDecodeMetadataCacheOnDemand, decoder.out());
        } else {
            if (!readSource(buf, len, flag, bytes)) return kReadError;
            hr = factory->CreateStream(stream.out());
            if (SUCCEEDED(hr)) hr = stream->InitializeFromMemory(bytes.data(), static_cast<DWORD>(bytes.size()));
            if (SUCCEEDED(hr))
                hr = factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                      decoder.out());
        }
        if (FAILED(hr)) return codeFor(hr);

        Com<IWICBitmapFrameDecode> frame;
        hr = decoder->GetFrame(0, frame.out());
        if (FAILED(hr)) return codeFor(hr);
        // 24-bit BGR where the platform converts to it; some converters accept
        // 24-bit BGR for a source (palette, 16-bit grey) and then fail to copy,
        // so a one-pixel copy decides. Those go out as 32-bit DIBs.
        Com<IWICFormatConverter> converter;
        int bits = 24;
        hr = makeConverter(factory.get(), frame.get(), GUID_WICPixelFormat24bppBGR, converter);
        if (FAILED(hr) || !copiesPixels(converter.get())) {
            bits = 32;
            hr = makeConverter(factory.get(), frame.get(), GUID_WICPixelFormat32bppBGRA, converter);
        }
        UINT width = 0, height = 0;
        if (SUCCEEDED(hr)) hr = converter->GetSize(&width, &height);
        if (FAILED(hr)) return codeFor(hr);
        if (width == 0 || height == 0 || width > 0x7FFFFFFF / 4 || height > 0x7FFFFFFF) return kBrokenData;
        // Refused before any block is allocated or any row converted: where
        // the platform decodes on demand, nothing of the picture is decoded.
        if (!fw::PictureFits(width, height, static_cast<std::uint16_t>(bits))) return kOutOfMemory;
        if (report(kOpened)) return kStopped;
        return copyRows(converter.get(), width, height, bits);
    }

    void handOver(HANDLE* info, HANDLE* pixels) {
        *info = info_;
        *pixels = pixels_;
        info_ = pixels_ = nullptr;
    }

private:
    static HRESULT makeConverter(IWICImagingFactory* factory, IWICBitmapSource* frame, REFWICPixelFormatGUID format,
                                 Com<IWICFormatConverter>& converter) {
        converter.reset();
        HRESULT hr = factory->CreateFormatConverter(converter.out());
        if (SUCCEEDED(hr))
            hr = converter->Initialize(frame, format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                       WICBitmapPaletteTypeCustom);
        return hr;
    }

    static bool copiesPixels(IWICBitmapSource* source) {
        BYTE pixel[4];
        const WICRect first{0, 0, 1, 1};
        return SUCCEEDED(source->CopyPixels(&first, sizeof pixel, sizeof pixel, pixel));
    }

    // Start, final and the report after opening always go out; those between
    // strips at most every kReportMs, since each may repaint a window (the
    // abort is looked at only in reports, so a stop request waits at most
    // that long plus one strip).
    bool report(int position, bool always = true) {
        if (progress_ == nullptr) return false;
        const DWORD now = GetTickCount();
        if (!always && now - lastReport_ < kReportMs) return false;
        lastReport_ = now;
        return progress_(position, kScale, data_) != 0;
    }

    int copyRows(IWICBitmapSource* source, UINT width, UINT height, int bits) {
        const UINT stride = (width * (bits / 8) + 3) & ~3u;
        const std::uint64_t total = static_cast<std::uint64_t>(stride) * height;
        info_ = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, sizeof(BITMAPINFOHEADER));
        pixels_ = LocalAlloc(LMEM_MOVEABLE, static_cast<SIZE_T>(total));
        if (info_ == nullptr || pixels_ == nullptr) return kOutOfMemory;

        auto* header = static_cast<BITMAPINFOHEADER*>(LocalLock(info_));
        header->biSize = sizeof(BITMAPINFOHEADER);
        header->biWidth = static_cast<LONG>(width);
        header->biHeight = static_cast<LONG>(height);  // bottom-up
        header->biPlanes = 1;
        header->biBitCount = static_cast<WORD>(bits);
        header->biCompression = BI_RGB;
        header->biSizeImage = static_cast<DWORD>(total);
        LocalUnlock(info_);

        // Rows come top first in strips; the DIB wants the bottom row first.
        // Progress is reported between strips: about eight of them, none
        // smaller than 1 MiB.
        const UINT byEight = (height + kStrips - 1) / kStrips;
        const UINT byMiB = stride >= (1u << 20) ? 1 : (1u << 20) / stride;
        const UINT strip = byEight > byMiB ? byEight : byMiB;
        std::vector<BYTE> buffer(static_cast<size_t>(stride) * (strip < height ? strip : height));
        auto* out = static_cast<BYTE*>(LocalLock(pixels_));
        int result = kOk;
        for (UINT y = 0; y < height && result == kOk; y += strip) {
            const UINT rows = height - y < strip ? height - y : strip;
            const WICRect rect{0, static_cast<INT>(y), static_cast<INT>(width), static_cast<INT>(rows)};
            const HRESULT hr = source->CopyPixels(&rect, stride, stride * rows, buffer.data());
            if (FAILED(hr)) {
                result = codeFor(hr);
                break;
            }
            for (UINT r = 0; r < rows; ++r)
                std::memcpy(out + static_cast<size_t>(height - 1 - (y + r)) * stride,
                            buffer.data() + static_cast<size_t>(r) * stride, stride);
            if (y + rows < height &&
                report(kOpened + static_cast<int>((kScale - kOpened - 1) * std::uint64_t(y + rows) / height), false))
                result = kStopped;
        }
        LocalUnlock(pixels_);
        if (result == kOk && report(kScale)) result = kStopped;
        return result;
    }

    Progress progress_;
    long data_;
    DWORD lastReport_ = 0;
    HLOCAL info_ = nullptr;
    HLOCAL pixels_ = nullptr;
};

// True when the bytes lie in committed memory that may be read.
bool readable(const void* start, std::size_t bytes) {
    const auto* p = static_cast<const BYTE*>(start);
    const BYTE* const end = p + bytes;
    while (p < end) {
        MEMORY_BASIC_INFORMATION region;
        if (VirtualQuery(p, &region, sizeof region) == 0 || region.State != MEM_COMMIT) return false;
        const DWORD access = region.Protect & 0xFF;
        if ((region.Protect & PAGE_GUARD) != 0 || access == PAGE_NOACCESS || access == PAGE_EXECUTE) return false;
        p = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize;
    }
    return true;
}

// No C++ exception may leave an export: it cannot unwind through the host's
// frames and would end its process.
template <class F>
int withoutExceptions(int failure, F&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

}  // namespace

extern "C" int __stdcall GetPluginInfo(int infono, LPSTR buf, int buflen) {
    return withoutExceptions(0, [&] {
        if (infono == 0) return copyInfo("00IN", buf, buflen);
        if (infono == 1) return copyInfo("Horolo WIC plug-in 1.0", buf, buflen);
        const int n = (infono - 2) / 2;
        if (infono < 0 || n >= kFormatCount) return 0;
        return copyInfo(infono % 2 == 0 ? kFormats[n].filter : kFormats[n].description, buf, buflen);
    });
}

// dw is a file handle when its high word is 0, otherwise a pointer to the
// first 2 KiB of the file. A failed open (HFILE_ERROR), a handle that is no
// disk file (a read from a device may never return) or any other value that
// points at nothing readable is no picture.
extern "C" int __stdcall IsSupported(LPSTR, DWORD dw) {
    return withoutExceptions(0, [&] {
        if (dw == static_cast<DWORD>(HFILE_ERROR)) return 0;
        unsigned char head[16] = {};
        DWORD bytes = 0;
        if (HIWORD(dw) == 0) {
            const HANDLE file = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dw));
            if (!fw::IsDiskHandle(file) || !ReadFile(file, head, sizeof head, &bytes, nullptr)) return 0;
        } else {
            const void* memory = reinterpret_cast<const void*>(static_cast<UINT_PTR>(dw));
            if (!readable(memory, sizeof head)) return 0;
            std::memcpy(head, memory, sizeof head);
            bytes = sizeof head;
        }
        return knownSignature(head, bytes) ? 1 : 0;
    });
}

extern "C" int __stdcall GetPicture(LPSTR buf, long len, unsigned int flag, HANDLE* pHBInfo, HANDLE* pHBm,
                                    Progress progress, long lData) {
    return withoutExceptions(kOutOfMemory, [&] {
        if (buf == nullptr || pHBInfo == nullptr || pHBm == nullptr || len < 0) return int{kInternalError};
        const ComScope com;
        if (!com.usable()) return int{kInternalError};
        Decode decode(progress, lData);
        const int result = decode.run(buf, len, flag);
        if (result == kOk) decode.handOver(pHBInfo, pHBm);
        return result;
    });
}
