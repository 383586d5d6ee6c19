#include "spi_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/gdi.h"

namespace spitest {

namespace {

template <class Fn>
Fn bind(HMODULE module, const char* name) {
    auto f = fw::Export<Fn>(module, name);
    EXPECT_NE(f, nullptr) << name;
    return f;
}

}  // namespace

std::string binDir() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    *std::strrchr(path, '\\') = '\0';
    return path;
}

std::string testPluginDir() { return binDir() + "\\spi_test"; }

TempDir::TempDir() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static int serial = 0;
    for (;;) {
        path_ = std::string(base) + "hrlspi" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    }
}

TempDir::~TempDir() {
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..") {
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveDirectoryA(file(name).c_str());
                else
                    DeleteFileA(file(name).c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
}

void TempDir::addPlugins(std::initializer_list<const char*> names) const {
    for (const std::string entry : names) {
        const auto eq = entry.find('=');
        const std::string source = entry.substr(0, eq), target = eq == std::string::npos ? entry : entry.substr(eq + 1);
        ASSERT_TRUE(CopyFileA((testPluginDir() + "\\" + source).c_str(), file(target).c_str(), FALSE)) << source;
    }
}

void TempDir::write(const std::string& name, const std::string& bytes) const {
    const HANDLE f = CreateFileA(file(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << name;
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

void TempDir::extend(const std::string& name, long long size) const {
    const HANDLE f = CreateFileA(file(name).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << name;
    LARGE_INTEGER end{};
    end.QuadPart = size;
    EXPECT_TRUE(SetFilePointerEx(f, end, nullptr, FILE_BEGIN) && SetEndOfFile(f)) << name;
    CloseHandle(f);
}

std::string hrltPicture(int width, int height, const std::vector<unsigned char>& rgb) {
    std::string bytes = "HRLT";
    bytes += static_cast<char>(width);
    bytes += static_cast<char>(height);
    bytes.append(rgb.begin(), rgb.end());
    return bytes;
}

std::string takeLog() {
    char text[8192] = {};
    GetEnvironmentVariableA("HRL_TEST_LOG", text, sizeof text);
    SetEnvironmentVariableA("HRL_TEST_LOG", nullptr);
    return text;
}

bool moduleLoaded(const char* name) { return GetModuleHandleA(name) != nullptr; }

Library::Library() : module_(LoadLibraryA((binDir() + "\\hrl_spi.dll").c_str())) {
    EXPECT_NE(module_, nullptr);
    SearchPlugin = bind<hrlspi::SearchPluginFn>(module_, "SearchPlugin");
    GetDataChain = bind<hrlspi::GetDataChainFn>(module_, "GetDataChain");
    FreeDataChain = bind<hrlspi::FreeDataChainFn>(module_, "FreeDataChain");
    QueryExtension = bind<hrlspi::QueryExtensionFn>(module_, "QueryExtension");
    CheckFormat = bind<hrlspi::CheckFormatFn>(module_, "CheckFormat");
    SPI_LoadImage = bind<hrlspi::SpiLoadImageFn>(module_, "SPI_LoadImage");
    SPI_LoadImageEx = bind<hrlspi::SpiLoadImageExFn>(module_, "SPI_LoadImageEx");
    EXPECT_EQ(bind<hrlspi::StartupLibraryFn>(module_, "StartupLibrary")(), 1);
    takeLog();
}

Library::~Library() {
    bind<hrlspi::TerminateLibraryFn>(module_, "TerminateLibrary")();
    FreeLibrary(module_);
}

std::vector<const DataChainRecord*> Library::records() const {
    std::vector<const DataChainRecord*> out;
    DataChainRecord* head = nullptr;
    const int count = GetDataChain(&head);
    for (const DataChainRecord* r = head; r != nullptr; r = r->next) out.push_back(r);
    EXPECT_EQ(static_cast<int>(out.size()), count);
    return out;
}

namespace {

BOOL CALLBACK findProgressWindow(HWND window, LPARAM out) {
    wchar_t caption[32] = {};
    GetWindowTextW(window, caption, 32);
    if (lstrcmpW(caption, L"Loading File...") != 0) return TRUE;
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
}

}  // namespace

// The progress window of this process (tests of other processes may show theirs).
HWND Library::progressWindow() const {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findProgressWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND Library::abortButton() const { return FindWindowExW(progressWindow(), nullptr, L"Button", L"中止"); }

HeaderBuffer::HeaderBuffer() { std::memset(bytes, 0xCD, sizeof bytes); }

bool HeaderBuffer::guardIntact() const {
    for (size_t i = 1064; i < sizeof bytes; ++i)
        if (bytes[i] != 0xCD) return false;
    return true;
}

}  // namespace spitest
