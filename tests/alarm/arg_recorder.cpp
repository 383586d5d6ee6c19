// Started through the shell by the alarm's open action in a test: writes the
// show mode it was started with and its parameters (the command line after
// the program's name, bytes as given) to "<its own path>.txt".
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR parameters, int show) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string target = std::string(path, length) + ".txt";
    const std::string partial = target + ".part";
    const std::string record = "show=" + std::to_string(show) + "\n" + parameters;
    // Written whole, then renamed: the test never reads half a record.
    HANDLE file = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
    return MoveFileExA(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
