// hrl_spi's process-wide state and the helpers its exports share.
#pragma once

#include <windows.h>

#include "framework/gdi.h"
#include "spi_loader/data_chain.h"
#include "spi_loader/text_rules.h"

namespace hrlspi {

// A chain record as the library allocates it: the shared record first, then
// the plug-in's full file name, which may be longer than fileName holds.
struct ChainNode {
    DataChainRecord record;
    char pluginFile[kPathBytes];
};

struct LibraryState {
    DataChainRecord* head;
    int count;
    char directory[kPathBytes];
    // Set while an export runs plug-in code. The progress pump of a load can
    // run the caller's code (a modal loop of the progress window), which must
    // then neither load plug-ins nor change the chain or the window under it.
    bool busy;
};

LibraryState& state();

// Marks the library busy for one export; false when it already was, and
// then the export must fail without doing anything.
class BusyScope {
public:
    BusyScope() : entered_(!state().busy) { state().busy = true; }
    ~BusyScope() {
        if (entered_) state().busy = false;
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    explicit operator bool() const { return entered_; }

private:
    bool entered_;
};

// CheckFormat and SPI_LoadImage inside a busy export, for a picture path
// that already fits kPathBytes.
int checkFormat(int index, char* picture);
int loadImage(int index, char* picture, HLOCAL* pixels, BITMAPINFO* header);

// A plug-in loaded for one call and unloaded when this goes out of scope.
class PluginModule {
public:
    explicit PluginModule(const char* path);
    explicit PluginModule(int index);  // the plug-in of that record
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // Null when the plug-in lacks it or was not loaded.
    template <class Fn>
    Fn function(const char* name) const {
        return fw::Export<Fn>(module_, name);
    }

private:
    HMODULE module_;
};

}  // namespace hrlspi
