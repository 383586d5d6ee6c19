// The record of one picture format declared by a plug-in. hrl_spi builds a
// chain of these and the clock program walks it directly, so the layout is
// shared byte for byte between the two modules (32-bit: 68 bytes).
#pragma once

#include <cstddef>
#include <cstdint>

struct DataChainRecord {
    DataChainRecord* next;  // null in the last record
    char fileName[16];      // plug-in file name without directory, NUL-terminated
    char description[32];   // format description, NUL-terminated
    char filter[16];        // e.g. "*.jpg;*.jpeg", A-Z folded to lower case, NUL-terminated
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(offsetof(DataChainRecord, next) == 0);
static_assert(offsetof(DataChainRecord, fileName) == 4);
static_assert(offsetof(DataChainRecord, description) == 20);
static_assert(offsetof(DataChainRecord, filter) == 52);
static_assert(sizeof(DataChainRecord) == 68);
#endif
