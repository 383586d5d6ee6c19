#include <windows.h>

// Loading and unloading do no work: StartupLibrary and TerminateLibrary do.
BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
