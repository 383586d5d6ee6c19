// The data chain: plug-in search, extension query and format check.
#include <windows.h>

#include <cstring>
#include <new>

#include "framework/ansi.h"
#include "framework/disk_file.h"
#include "spi_loader/hrl_spi.h"
#include "spi_loader/library_state.h"
#include "spi_loader/plugin_api.h"
#include "spi_loader/seh_guard.h"

namespace hrlspi {

namespace {

LibraryState g_state{};

// Every info number is asked with this much room: some plug-ins answer
// nothing at all for a short buffer, and the record's fields take what fits.
constexpr int kScratchBytes = 1024;
// A plug-in answering every info number would otherwise never end the search.
constexpr int kMaxFormatsPerPlugin = 256;

// Deletes the records from head to the end of its chain.
void deleteChain(DataChainRecord* head) {
    while (head != nullptr) {
        ChainNode* node = reinterpret_cast<ChainNode*>(head);
        head = head->next;
        delete node;
    }
}

// Records of one plug-in, newest first, before they join the library's chain.
struct Records {
    DataChainRecord* head = nullptr;
    DataChainRecord* last = nullptr;  // the first one made
    int count = 0;

    void push(ChainNode* node) {
        node->record.next = head;
        head = &node->record;
        if (last == nullptr) last = head;
        ++count;
    }
    void free() {
        deleteChain(head);
        head = nullptr;
        last = nullptr;
        count = 0;
    }
};

// Reads the formats of one loaded plug-in. None for a plug-in of another
// kind or one that faulted while answering. Nothing here can throw: a record
// that cannot be allocated ends the list.
Records readFormats(GetPluginInfoFn info, const char* fileName) {
    Records records;
    char scratch[kScratchBytes] = {};
    if (!guarded([&] { info(0, scratch, kScratchBytes); })) return records;
    scratch[kScratchBytes - 1] = '\0';
    if (std::strcmp(scratch, "00IN") != 0) return records;

    for (int n = 0; n < kMaxFormatsPerPlugin; ++n) {
        std::memset(scratch, 0, sizeof scratch);
        int answer = 0;
        if (!guarded([&] { answer = info(2 * n + 2, scratch, kScratchBytes); })) {
            records.free();
            break;
        }
        if (answer == 0) break;
        auto* node = new (std::nothrow) ChainNode{};
        if (node == nullptr) break;
        copyText(node->record.fileName, sizeof node->record.fileName, fileName, kPathBytes, fw::IsAnsiLeadByte);
        copyText(node->pluginFile, sizeof node->pluginFile, fileName, kPathBytes, fw::IsAnsiLeadByte);
        copyFilter(node->record.filter, sizeof node->record.filter, scratch, kScratchBytes, fw::IsAnsiLeadByte);
        foldLower(node->record.filter);
        records.push(node);

        std::memset(scratch, 0, sizeof scratch);
        if (!guarded([&] { info(2 * n + 3, scratch, kScratchBytes); })) {
            records.free();
            break;
        }
        copyText(node->record.description, sizeof node->record.description, scratch, kScratchBytes, fw::IsAnsiLeadByte);
    }
    return records;
}

void freeChain() {
    deleteChain(g_state.head);
    g_state.head = nullptr;
    g_state.count = 0;
    g_state.directory[0] = '\0';
}

// The record with that index (a negative index counts as 0); null past the end.
ChainNode* nodeAt(int index) {
    if (index >= g_state.count) return nullptr;
    if (index < 0) index = 0;
    DataChainRecord* r = g_state.head;
    for (int i = 0; i < index && r != nullptr; ++i) r = r->next;
    return reinterpret_cast<ChainNode*>(r);
}

// Plug-in directory followed by the record's full file name; false when
// there is no such record or the path does not fit.
bool pluginPathOf(int index, char (&path)[kPathBytes]) {
    const ChainNode* node = nodeAt(index);
    return node != nullptr && joinPath(g_state.directory, node->pluginFile, path, kPathBytes);
}

HMODULE loadPlugin(const char* path) {
    if (!fw::IsDiskFile(path)) return nullptr;
    // No "missing DLL" dialog for a plug-in whose own imports are missing.
    DWORD oldMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
    const HMODULE module = LoadLibraryA(path);
    SetThreadErrorMode(oldMode, nullptr);
    return module;
}

}  // namespace

LibraryState& state() { return g_state; }

PluginModule::PluginModule(const char* path) : module_(loadPlugin(path)) {}

PluginModule::PluginModule(int index) : module_(nullptr) {
    char path[kPathBytes];
    if (pluginPathOf(index, path)) module_ = loadPlugin(path);
}

PluginModule::~PluginModule() {
    if (module_ != nullptr) FreeLibrary(module_);
}

int checkFormat(int index, char* picture) {
    const PluginModule plugin(index);
    const auto isSupported = plugin.function<IsSupportedFn>("IsSupported");
    if (isSupported == nullptr) return 0;

    // A device or pipe is refused before the plug-in sees it: its read could
    // block for ever.
    const HANDLE file = fw::OpenDiskFile(picture, FILE_SHARE_READ | FILE_SHARE_WRITE, 0);
    if (file == INVALID_HANDLE_VALUE) return 0;
    // The handle form of IsSupported carries the handle in the low word only;
    // a larger handle value would be read as a pointer, so such a plug-in gets
    // the other form: the first 2 KiB of the file.
    char head[kHeadBytes] = {};
    DWORD argument = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(file));
    if (HIWORD(argument) != 0) {
        DWORD got = 0;
        ReadFile(file, head, sizeof head, &got, nullptr);
        argument = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(head));
    }
    int answer = 0;
    if (!guarded([&] { answer = isSupported(picture, argument); })) answer = 0;
    CloseHandle(file);
    return answer;
}

}  // namespace hrlspi

using namespace hrlspi;

extern "C" int __stdcall SearchPlugin(LPCSTR directory) {
    const BusyScope busy;
    if (!busy) return 0;
    freeChain();
    LibraryState& s = state();
    if (!normaliseDirectory(directory != nullptr ? directory : "", s.directory, fw::IsAnsiLeadByte)) return 0;
    char pattern[kPathBytes];
    if (!joinPath(s.directory, "*.SPI", pattern, sizeof pattern)) return 0;

    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        char path[kPathBytes];
        if (!joinPath(s.directory, entry.cFileName, path, sizeof path)) continue;
        const PluginModule plugin(path);
        const auto info = plugin.function<GetPluginInfoFn>("GetPluginInfo");
        if (info == nullptr) continue;
        const Records records = readFormats(info, entry.cFileName);
        if (records.count > 0) {
            records.last->next = s.head;
            s.head = records.head;
            s.count += records.count;
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return s.count;
}

extern "C" int __stdcall GetDataChain(DataChainRecord** head) {
    if (head != nullptr) *head = state().head;
    return state().count;
}

extern "C" void __stdcall FreeDataChain() {
    if (!state().busy) freeChain();
}

extern "C" int __stdcall QueryExtension(int start, LPCSTR extension) {
    const ChainNode* node = nodeAt(start);
    if (node == nullptr) return -1;
    char folded[kQueryBytes];
    const char* ext = extension != nullptr ? extension : "";
    copyText(folded, sizeof folded, ext, std::strlen(ext), fw::IsAnsiLeadByte);
    foldLower(folded);
    int index = start < 0 ? 0 : start;
    for (const DataChainRecord* r = &node->record; r != nullptr; r = r->next, ++index)
        if (filterMatches(r->filter, folded)) return index;
    return -1;
}

extern "C" int __stdcall CheckFormat(int index, LPCSTR path) {
    char picture[kPathBytes];
    if (path == nullptr || !joinPath("", path, picture, sizeof picture)) return 0;
    const BusyScope busy;
    return busy ? checkFormat(index, picture) : 0;
}
