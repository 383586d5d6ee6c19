// A fortune list's entries as texts, to compare with the expected ones.
#pragma once

#include <string>
#include <vector>

#include "app/info/fortune_core.h"

namespace fortunetest {

inline std::vector<std::string> Listed(const horolo::FortuneEntries& entries) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < entries.size(); ++i) texts.emplace_back(entries[i]);
    return texts;
}

}  // namespace fortunetest
