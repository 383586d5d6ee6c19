// Helpers for the tests that drive hrl_spi.dll the way the clock program
// does: loaded by name, every export bound by name.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "spi_loader/hrl_spi.h"

namespace spitest {

// Folder of the test program (build/win32/bin) and of the test plug-ins.
std::string binDir();
std::string testPluginDir();

// A fresh folder under %TEMP%, removed with its files at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }  // without trailing backslash
    std::string file(const std::string& name) const { return path_ + "\\" + name; }
    // Copies test plug-ins in (name, or "source=target" to copy under another name).
    void addPlugins(std::initializer_list<const char*> names) const;
    void write(const std::string& name, const std::string& bytes) const;
    // Makes the file that long, what is added being zero bytes (sparse where
    // the disk allows it, so any size is quick to make).
    void extend(const std::string& name, long long size) const;

private:
    std::string path_;
};

// An "HRLT" picture for the test plug-ins: width, height, RGB triples.
std::string hrltPicture(int width, int height, const std::vector<unsigned char>& rgb);

// What the test plug-ins logged since the last call; clears the log.
std::string takeLog();

bool moduleLoaded(const char* name);

// hrl_spi.dll loaded and started; terminated and unloaded at the end.
class Library {
public:
    Library();
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    hrlspi::SearchPluginFn SearchPlugin;
    hrlspi::GetDataChainFn GetDataChain;
    hrlspi::FreeDataChainFn FreeDataChain;
    hrlspi::QueryExtensionFn QueryExtension;
    hrlspi::CheckFormatFn CheckFormat;
    hrlspi::SpiLoadImageFn SPI_LoadImage;
    hrlspi::SpiLoadImageExFn SPI_LoadImageEx;

    std::vector<const DataChainRecord*> records() const;
    HWND progressWindow() const;
    HWND abortButton() const;

private:
    HMODULE module_;
};

// Header buffer of the size the clock program passes, with guard bytes after it.
struct HeaderBuffer {
    HeaderBuffer();
    BITMAPINFO* info() { return reinterpret_cast<BITMAPINFO*>(bytes); }
    bool guardIntact() const;
    alignas(4) unsigned char bytes[1064 + 64];
};

}  // namespace spitest
