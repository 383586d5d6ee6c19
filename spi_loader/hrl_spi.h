// The exported interface of hrl_spi.dll (all __stdcall, exported by their
// plain names). The clock program binds these by name with GetProcAddress;
// the typedefs below are for that.
#pragma once

#include <windows.h>

#include "spi_loader/data_chain.h"

extern "C" {
int __stdcall StartupLibrary();
void __stdcall TerminateLibrary();
int __stdcall SearchPlugin(LPCSTR directory);
int __stdcall GetDataChain(DataChainRecord** head);
void __stdcall FreeDataChain();
int __stdcall QueryExtension(int start, LPCSTR extension);
int __stdcall CheckFormat(int index, LPCSTR path);
int __stdcall SPI_LoadImage(int index, LPCSTR path, HLOCAL* pixels, BITMAPINFO* header);
int __stdcall SPI_LoadImageEx(LPCSTR path, HLOCAL* pixels, BITMAPINFO* header);
}

namespace hrlspi {
using StartupLibraryFn = int(__stdcall*)();
using TerminateLibraryFn = void(__stdcall*)();
using SearchPluginFn = int(__stdcall*)(LPCSTR);
using GetDataChainFn = int(__stdcall*)(DataChainRecord**);
using FreeDataChainFn = void(__stdcall*)();
using QueryExtensionFn = int(__stdcall*)(int, LPCSTR);
using CheckFormatFn = int(__stdcall*)(int, LPCSTR);
using SpiLoadImageFn = int(__stdcall*)(int, LPCSTR, HLOCAL*, BITMAPINFO*);
using SpiLoadImageExFn = int(__stdcall*)(LPCSTR, HLOCAL*, BITMAPINFO*);
}  // namespace hrlspi
