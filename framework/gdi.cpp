#include "framework/gdi.h"

#include <winternl.h>

#include <cstdint>

namespace fw {

namespace {

// One entry of Wine's GDI handle table (the layout its win32u uses).
struct WineGdiHandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;  // 0: a free entry
    std::uint8_t flags;
    std::uint64_t userPointer;
};
static_assert(sizeof(WineGdiHandleEntry) == 24);
constexpr int kWineGdiHandleCount = 0x10000;
constexpr size_t kGdiSharedHandleTableOffset = 0x94;  // in the 32-bit PEB

const WineGdiHandleEntry* WineGdiHandleTable() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return nullptr;
    PROCESS_BASIC_INFORMATION info{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info), nullptr) != 0)
        return nullptr;
    const auto* peb = reinterpret_cast<const BYTE*>(info.PebBaseAddress);
    const void* table = *reinterpret_cast<void* const*>(peb + kGdiSharedHandleTableOffset);
    return static_cast<const WineGdiHandleEntry*>(table);
}

}  // namespace

int TextHeight(HFONT font) {
    WindowDC screen;
    SelectGuard select(screen.get(), font);
    TEXTMETRICW metrics;
    GetTextMetricsW(screen.get(), &metrics);
    return metrics.tmHeight;
}

int GdiObjectCount() {
    static const WineGdiHandleEntry* const wineTable = WineGdiHandleTable();
    if (!wineTable) return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    int count = 0;
    for (int i = 0; i < kWineGdiHandleCount; ++i)
        if (wineTable[i].type != 0) ++count;
    return count;
}

}  // namespace fw
