// Windows XP lacks GetTickCount64, which the thread library of the toolchain
// (winpthreads, built for Vista) imports. This fills its import slot instead:
// the function where the system has it, else GetTickCount's 32 bits.
#include <windows.h>

#include "forms/win32/api.h"

namespace {

ULONGLONG WINAPI TickCount64() {
  // Looked up at each call: a static local's guard would take a lock of the
  // very thread library that asks.
  using Function = ULONGLONG(WINAPI*)();
  const auto system = forms::win32::FromModule<Function>(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64");
  return system != nullptr ? system() : GetTickCount();
}

}  // namespace

// The slot's own name, defined in the program itself so that the linker
// takes it before the one of kernel32's import library.
#ifdef _WIN64
extern "C" ULONGLONG(WINAPI* const bottles_tick_count_64)() __asm__("__imp_GetTickCount64");
#else
extern "C" ULONGLONG(WINAPI* const bottles_tick_count_64)() __asm__("__imp__GetTickCount64@0");
#endif
extern "C" ULONGLONG(WINAPI* const bottles_tick_count_64)() = &TickCount64;
