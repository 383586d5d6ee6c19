// Under Wine, every test needs the desktop up before it starts and kept for
// the whole run by holddesktop.exe. A test process that finds no desktop
// starts the desktop process itself, waits up to ten seconds for it, and
// hands it its output, which the test runner then waits on until the desktop
// closes again: on a busy machine each such case took over twenty seconds and
// still passed. Without the holder, every case fails at once here instead.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

bool ProcessRuns(const wchar_t* name) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        found = _wcsicmp(entry.szExeFile, name) == 0;
    CloseHandle(snapshot);
    return found;
}

bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Ends the test program before its first test: a failed assertion here
// would only mark the tests skipped, which ctest counts as passed.
class DesktopHeld : public testing::Environment {
    void SetUp() override {
        if (!UnderWine() || ProcessRuns(L"holddesktop.exe")) return;
        std::fputs("Wine's desktop is not held: start `wine build/win32/bin/holddesktop.exe </dev/null >/dev/null 2>&1 &` "
                   "with this WINEPREFIX before the tests (./dev.sh test does) and end it with `wineserver -k` after them\n",
                   stderr);
        std::exit(1);
    }
};

testing::Environment* const kDesktopHeld = testing::AddGlobalTestEnvironment(new DesktopHeld);

}  // namespace
