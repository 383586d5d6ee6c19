// The published Susie image plug-in interface, as hrl_spi calls it.
#pragma once

#include <windows.h>

namespace hrlspi {

using SpiProgress = int(__stdcall*)(int numerator, int denominator, long userData);
using GetPluginInfoFn = int(__stdcall*)(int infoNumber, LPSTR buffer, int bufferLength);
using IsSupportedFn = int(__stdcall*)(LPSTR fileName, DWORD handleOrHead);
using GetPictureFn = int(__stdcall*)(LPSTR source, long length, unsigned int flag, HANDLE* info,
                                     HANDLE* pixels, SpiProgress progress, long userData);

constexpr DWORD kHeadBytes = 2048;  // IsSupported's in-memory form: the first 2 KiB, zero-padded

}  // namespace hrlspi
