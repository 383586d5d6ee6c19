// One source for every test plug-in. Each build turns on one behaviour with
// a PLUG_ definition and exports a chosen subset of the published functions
// through its own .def file.
//
// Picture format read by these plug-ins ("HRLT"): the bytes 'H' 'R' 'L' 'T',
// width, height (one byte each), then width*height RGB triples, top row first.
//
// The plug-ins append what happened to the process environment variable
// HRL_TEST_LOG ("name:event;"), their loading and unloading included, which
// tests read back after the plug-in has been unloaded. HRL_TEST_DECLINE names
// a plug-in file that declines every picture; HRL_TEST_VERSION, when set, is
// what info number 0 answers, without a terminator. The PLUG_TRACE build
// creates the file HRL_TEST_TRACE names when it is loaded, for tests that
// watch another process.
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
// texts are longer than the record fields (19 and 40 bytes).
constexpr Format kFormats[] = {{"*.jpg;*.jpeg;*.jfif", "first format, described at great length."},
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

int versionOut(LPSTR buf, int buflen) {
    char version[64] = {};
    const DWORD len = GetEnvironmentVariableA("HRL_TEST_VERSION", version, sizeof version);
    if (len == 0 || len >= sizeof version) return copyOut(PLUG_VERSION, buf, buflen);
    const int n = static_cast<int>(len) < buflen ? static_cast<int>(len) : buflen;
    std::memcpy(buf, version, n);
    return n;
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

#ifdef PLUG_REENTER
template <class Fn>
Fn exported(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("hrl_spi.dll"), name)));
}

// Calls every export of the loading library that must refuse to run inside
// a load, as a caller's code run by the progress pump would; then the
// record count.
std::string reenter(LPSTR picture) {
    using LoadImage = int(__stdcall*)(int, LPCSTR, HLOCAL*, void*);
    using LoadImageEx = int(__stdcall*)(LPCSTR, HLOCAL*, void*);
    using Check = int(__stdcall*)(int, LPCSTR);
    using Search = int(__stdcall*)(LPCSTR);
    using Count = int(__stdcall*)(void*);
    using Action = void(__stdcall*)();
    HLOCAL pixels = nullptr;
    unsigned char header[1064];
    const int results[] = {exported<LoadImage>("SPI_LoadImage")(0, picture, &pixels, header),
                           exported<LoadImageEx>("SPI_LoadImageEx")(picture, &pixels, header),
                           exported<Check>("CheckFormat")(0, picture), exported<Search>("SearchPlugin")("")};
    exported<Action>("FreeDataChain")();
    exported<Action>("TerminateLibrary")();
    std::string text;
    for (const int r : results) text += std::to_string(r) + ",";
    return text + std::to_string(exported<Count>("GetDataChain")(nullptr));
}
#endif

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) log("attach");
#ifdef PLUG_TRACE
    char trace[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("HRL_TEST_TRACE", trace, sizeof trace);
    if (reason == DLL_PROCESS_ATTACH && length > 0 && length < sizeof trace)
        CloseHandle(CreateFileA(trace, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
#endif
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) log("detach");
    return TRUE;
}

extern "C" int __stdcall GetPluginInfo(int infono, LPSTR buf, int buflen) {
#if defined(PLUG_FAULT) && PLUG_FAULT == 1
    if (infono == 4) fault();
#endif
#ifdef PLUG_LOG_INFO
    log("info(" + std::to_string(infono) + ")");
#endif
    if (infono == 0) return versionOut(buf, buflen);
#ifdef PLUG_MIN_LENGTH
    // Like a widely used plug-in: nothing but the version for a short buffer.
    if (buflen < PLUG_MIN_LENGTH) return 0;
#endif
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
    const std::string call =
        "GetPicture(" + std::to_string(len) + "," + std::to_string(flag) + "," + std::to_string(lData) + ")=";
    std::vector<unsigned char> bytes;
    if (!readPicture(buf, len, flag, bytes)) {
        log(call + "2");
        return 2;
    }
    const int width = bytes[4], height = bytes[5];
#ifdef PLUG_COLOURS
    const int bits = 8, colours = PLUG_COLOURS;
#else
    const int bits = 24, colours = 0;
#endif
    const int stride = (width * bits + 31) / 32 * 4;
#ifdef PLUG_V5_PROFILE
    // A V5 header followed by an embedded colour profile of that many bytes.
    const DWORD headerSize = sizeof(BITMAPV5HEADER);
    const SIZE_T headerBytes = headerSize + PLUG_V5_PROFILE;
#else
    const DWORD headerSize = sizeof(BITMAPINFOHEADER);
#ifdef PLUG_HEADER_BYTES
    const SIZE_T headerBytes = PLUG_HEADER_BYTES;
#else
    const SIZE_T headerBytes = sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD);
#endif
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
#ifdef PLUG_REENTER
    log("nested=" + reenter(buf));
#endif
    for (int step = 1; step < PLUG_STEPS; ++step) {
#ifdef PLUG_STEP_MS
        Sleep(PLUG_STEP_MS);
#endif
        if (report(step, PLUG_STEPS) != 0) {
            log(call + "1 reports=" + reports);
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
    auto* block = static_cast<unsigned char*>(LocalLock(info));
    auto* bi = reinterpret_cast<BITMAPINFOHEADER*>(block);
    bi->biSize = headerSize;
    bi->biWidth = width;
#ifdef PLUG_TOP_DOWN
    bi->biHeight = -height;
#else
    bi->biHeight = height;
#endif
    bi->biPlanes = 1;
    bi->biBitCount = bits;
    bi->biCompression = BI_RGB;
    bi->biClrUsed = colours;
#ifdef PLUG_V5_PROFILE
    auto* v5 = reinterpret_cast<BITMAPV5HEADER*>(block);
    v5->bV5CSType = 0x4D424544;  // 'MBED': the profile is embedded
    v5->bV5ProfileData = headerSize;
    v5->bV5ProfileSize = PLUG_V5_PROFILE;
    std::memset(block + headerSize, 'P', PLUG_V5_PROFILE);
#endif
    auto* table = reinterpret_cast<RGBQUAD*>(block + headerSize);
    auto* out = static_cast<unsigned char*>(LocalLock(pixels));
    for (int y = 0; y < height; ++y) {
#ifdef PLUG_TOP_DOWN
        unsigned char* row = out + static_cast<size_t>(y) * stride;
#else
        unsigned char* row = out + static_cast<size_t>(height - 1 - y) * stride;  // bottom-up
#endif
        for (int x = 0; x < width; ++x) {
            const unsigned char* rgb = &bytes[6 + 3 * (y * width + x)];
            if (bits == 8) {
                const int entry = (y * width + x) & 255;
                table[entry] = RGBQUAD{rgb[2], rgb[1], rgb[0], 0};
                row[x] = static_cast<unsigned char>(entry);
            } else {
                row[3 * x] = rgb[2];
                row[3 * x + 1] = rgb[1];
                row[3 * x + 2] = rgb[0];
            }
        }
    }
    LocalUnlock(pixels);
    LocalUnlock(info);
    *pHBInfo = info;
    *pHBm = pixels;
#ifdef PLUG_FAIL_AFTER_STORE
    // Like plug-ins built on common image libraries: a late failure frees
    // both blocks and fails without clearing the caller's variables. What
    // the process allocates next may reuse those handles.
    LocalFree(info);
    LocalFree(pixels);
    const HLOCAL canary1 = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, headerBytes);
    const HLOCAL canary2 = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, static_cast<SIZE_T>(stride) * height);
    char stored[96];
    std::snprintf(stored, sizeof stored, "stored=%p,%p canaries=%p,%p", info, pixels, canary1, canary2);
    log(call + "4 " + stored);
    return 4;
#else
    report(PLUG_STEPS, PLUG_STEPS);
    log(call + "0 reports=" + reports);
    return 0;
#endif
}
