// Runs a call into a plug-in behind a structured-exception frame of our own,
// so that an access violation (or any other fault the plug-in does not
// handle itself) fails that call instead of ending the process. Frames of the
// plug-in are searched first; ours only sees what nobody inside handled.
#pragma once

#include <type_traits>

namespace hrlspi {

// Returns false when fn raised an exception that reached our frame; the
// frames inside are unwound first.
bool runGuarded(void (*fn)(void*), void* context) noexcept;

template <class F>
bool guarded(F&& call) noexcept {
    using Call = std::remove_reference_t<F>;
    return runGuarded([](void* c) { (*static_cast<Call*>(c))(); }, &call);
}

}  // namespace hrlspi
