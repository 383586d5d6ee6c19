// One source for every test plug-in. Each build turns on one behaviour with
// a PLUG_ definition and exports a chosen subset of the published functions
// through its own .def file.
//
// Picture format read by these plug-ins ("HRLT"): the bytes 'H' 'R' 'L' 'T',
// width, height (one byte each), then width*height RGB triples, top row first.
//
// The plug-ins append what happened to the process environment variable
// HRL_TEST_LOG ("name:event;"), which tests read back after the plug-in has
// been unloaded. HRL_TEST_DECLINE names a plug-in file that declines every
// picture.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifndef PLUG_VERSION
#define PLUG_VERSION "00IN"
#endif
#ifndef PLUG_FORMATS
#define PLUG_FORMATS 1
#endif
#ifndef PLUG_STEPS
#define PLUG_STEPS 3
#endif

namespace {

struct Format {
    const char* filter;
    const char* description;
};

#if PLUG_FORMATS == 3
// Declared in this order; the chain lists them last first. The first one's
// texts are longer than the record fields.
constexpr Format kFormats[] = {{"*.tp1;*.tp1a;*.tp1b", "first format, described at great length"},
                               {"*.tp2;*.tp3", "second format"},
                               {"*.hrl", "third format"}};
#elif PLUG_FORMATS == 0
constexpr Format kFormats[] = {{"*.end", "answers every number"}};
#else
constexpr Format kFormats[] = {{"*.HRL", "HRL test picture"}};
#endif
constexpr int kFormatCount = sizeof kFormats / sizeof kFormats[0];

const char* baseName(const char* path) {
    const char* slash = std::strrchr(path, '\\');
    return slash != nullptr ? slash + 1 : path;
}

std::string moduleName() {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&moduleName), &self);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, MAX_PATH);
    return baseName(path);
}

void log(const std::string& event) {
    char old[8192] = {};
    GetEnvironmentVariableA("HRL_TEST_LOG", old, sizeof old);
    const std::string text = std::string(old) + moduleName() + ":" + event + ";";
    SetEnvironmentVariableA("HRL_TEST_LOG", text.c_str());
}

bool declines() {
#ifdef PLUG_DECLINE
    return true;
#else
    char name[MAX_PATH] = {};
    GetEnvironmentVariableA("HRL_TEST_DECLINE", name, sizeof name);
    return lstrcmpiA(name, moduleName().c_str()) == 0;
#endif
}

#ifdef PLUG_FAULT
void fault() {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
}
#endif

int copyOut(const char* text, LPSTR buf, int buflen) {
    // Like many real plug-ins: the length counts the terminator, and a cut
    // text is left unterminated.
    const int len = static_cast<int>(std::strlen(text));
    const int n = len < buflen ? len + 1 : buflen;
    std::memcpy(buf, text, n);
    return n - (len < buflen ? 1 : 0);
}

bool readPicture(LPSTR source, long length, unsigned int flag, std::vector<unsigned char>& bytes) {
    if ((flag & 7) == 1) {
        bytes.assign(source, source + length);
    } else {
        const HANDLE file = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        const DWORD size = GetFileSize(file, nullptr);
        bytes.resize(size);
        DWORD got = 0;
        ReadFile(file, bytes.data(), size, &got, nullptr);
        CloseHandle(file);
        if (got != size || static_cast<DWORD>(length) > size) return false;
        bytes.erase(bytes.begin(), bytes.begin() + length);
    }
    if (bytes.size() < 6 || std::memcmp(bytes.data(), "HRLT", 4) != 0) return false;
    return bytes.size() >= 6 + 3u * bytes[4] * bytes[5] && bytes[4] != 0 && bytes[5] != 0;
}

}  // namespace

extern "C" int __stdcall GetPluginInfo(int infono, LPSTR buf, int buflen) {
#if defined(PLUG_FAULT) && PLUG_FAULT == 1
    if (infono == 4) fault();
#endif
    if (infono == 0) return copyOut(PLUG_VERSION, buf, buflen);
    if (infono == 1) return copyOut("Horolo test plug-in", buf, buflen);
#if PLUG_FORMATS == 0
    const int n = 0;
#else
    const int n = (infono - 2) / 2;
    if (n >= kFormatCount) return 0;
#endif
    return copyOut(infono % 2 == 0 ? kFormats[n].filter : kFormats[n].description, buf, buflen);
}

extern "C" int __stdcall IsSupported(LPSTR filename, DWORD dw) {
#if defined(PLUG_FAULT) && PLUG_FAULT == 2
    fault();
#endif
    char head[4] = {};
    const bool handleForm = HIWORD(dw) == 0;
    if (handleForm) {
        DWORD got = 0;
        ReadFile(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dw)), head, 4, &got, nullptr);
    } else {
        std::memcpy(head, reinterpret_cast<const void*>(static_cast<UINT_PTR>(dw)), 4);
    }
    const int answer = !declines() && std::memcmp(head, "HRLT", 4) == 0 ? 1 : 0;
    log(std::string("IsSupported(") + (handleForm ? "handle" : "head") + "," + baseName(filename) + ")=" +
        std::to_string(answer));
    return answer;
}

extern "C" int __stdcall GetPicture(LPSTR buf, long len, unsigned int flag, HANDLE* pHBInfo, HANDLE* pHBm,
                                    int(__stdcall* progress)(int, int, long), long lData) {
    std::vector<unsigned char> bytes;
    if (!readPicture(buf, len, flag, bytes)) {
        log("GetPicture=2");
        return 2;
    }
    const int width = bytes[4], height = bytes[5];
#ifdef PLUG_PALETTE
    const int bits = 8, colours = 256;
#else
    const int bits = 24, colours = 0;
#endif
    const int stride = (width * bits + 31) / 32 * 4;
#ifdef PLUG_HEADER_BYTES
    const SIZE_T headerBytes = PLUG_HEADER_BYTES;
#else
    const SIZE_T headerBytes = sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD);
#endif
    std::string reports;
    auto report = [&](int n, int d) {
        const int r = progress != nullptr ? progress(n, d, lData) : 0;
        reports += std::to_string(r);
        return r;
    };
    report(0, PLUG_STEPS);
#if defined(PLUG_FAULT) && PLUG_FAULT == 3
    fault();
#endif
    for (int step = 1; step < PLUG_STEPS; ++step) {
#ifdef PLUG_STEP_MS
        Sleep(PLUG_STEP_MS);
#endif
        if (report(step, PLUG_STEPS) != 0) {
            log("GetPicture=1 reports=" + reports);
            return 1;
        }
    }

    const HLOCAL info = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, headerBytes);
#ifdef PLUG_SHORT_PIXELS
    // The header promises more rows than the block holds.
    const HLOCAL pixels = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, static_cast<SIZE_T>(stride) * height - 1);
#else
    const HLOCAL pixels = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, static_cast<SIZE_T>(stride) * height);
#endif
    auto* bi = static_cast<BITMAPINFO*>(LocalLock(info));
    bi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi->bmiHeader.biWidth = width;
#ifdef PLUG_TOP_DOWN
    bi->bmiHeader.biHeight = -height;
#else
    bi->bmiHeader.biHeight = height;
#endif
    bi->bmiHeader.biPlanes = 1;
    bi->bmiHeader.biBitCount = bits;
    bi->bmiHeader.biCompression = BI_RGB;
    bi->bmiHeader.biClrUsed = colours;
    auto* out = static_cast<unsigned char*>(LocalLock(pixels));
    for (int y = 0; y < height; ++y) {
#ifdef PLUG_TOP_DOWN
        unsigned char* row = out + static_cast<size_t>(y) * stride;
#else
        unsigned char* row = out + static_cast<size_t>(height - 1 - y) * stride;  // bottom-up
#endif
        for (int x = 0; x < width; ++x) {
            const unsigned char* rgb = &bytes[6 + 3 * (y * width + x)];
#ifdef PLUG_PALETTE
            const int entry = (y * width + x) & 255;
            bi->bmiColors[entry] = RGBQUAD{rgb[2], rgb[1], rgb[0], 0};
            row[x] = static_cast<unsigned char>(entry);
#else
            row[3 * x] = rgb[2];
            row[3 * x + 1] = rgb[1];
            row[3 * x + 2] = rgb[0];
#endif
        }
    }
    LocalUnlock(pixels);
    LocalUnlock(info);
    *pHBInfo = info;
    *pHBm = pixels;
#ifdef PLUG_FAIL_AFTER_STORE
    char stored[64];
    std::snprintf(stored, sizeof stored, "GetPicture=3 stored=%p,%p", info, pixels);
    log(stored);
    return 3;
#else
    report(PLUG_STEPS, PLUG_STEPS);
    log("GetPicture=0 reports=" + reports);
    return 0;
#endif
}
