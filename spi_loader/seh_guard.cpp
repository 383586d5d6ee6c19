#include "spi_loader/seh_guard.h"

#include <windows.h>

namespace hrlspi {

namespace {

struct GuardFrame {
    EXCEPTION_REGISTRATION_RECORD record;  // must come first: the dispatcher hands us its address
    void* resume[5];                       // __builtin_setjmp buffer
};

EXCEPTION_REGISTRATION_RECORD* chainHead() {
    EXCEPTION_REGISTRATION_RECORD* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

void setChainHead(EXCEPTION_REGISTRATION_RECORD* head) {
    asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory");
}

bool isDebuggerEvent(DWORD code) {
    return code == EXCEPTION_BREAKPOINT || code == EXCEPTION_SINGLE_STEP || (code & 0xC0000000u) == 0x40000000u;
}

EXCEPTION_DISPOSITION NTAPI onException(EXCEPTION_RECORD* exception, void* establisher, CONTEXT*, void*) {
    if (exception->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
    if (isDebuggerEvent(exception->ExceptionCode)) return ExceptionContinueSearch;
    // Let the plug-in's own frames run their unwind handlers; afterwards our
    // record is the head of the chain again.
    RtlUnwind(establisher, nullptr, exception, nullptr);
    __builtin_longjmp(static_cast<GuardFrame*>(establisher)->resume, 1);
}

}  // namespace

__attribute__((noinline)) bool runGuarded(void (*fn)(void*), void* context) noexcept {
    GuardFrame frame;
    frame.record.Next = chainHead();
    frame.record.Handler = onException;
    if (__builtin_setjmp(frame.resume)) {
        setChainHead(frame.record.Next);
        return false;
    }
    setChainHead(&frame.record);
    fn(context);
    setChainHead(frame.record.Next);
    return true;
}

}  // namespace hrlspi
