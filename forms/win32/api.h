// Small helpers over the wide Windows API that the Win32 back end's files
// share: texts to and from Windows-1251, and functions looked up at run time.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace forms::win32 {

std::wstring Wide(std::u16string_view text);
std::wstring FromCp1251(std::string_view text);
std::string ToCp1251(std::wstring_view text);
std::wstring WindowText(HWND w);

// A font or a brush, deleted with its owner.
struct GdiDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
template <class Handle>
using Gdi = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDeleter>;

template <class T>
LPARAM AsLParam(T* pointer) {
  return reinterpret_cast<LPARAM>(pointer);
}

// nullptr where the module or the function is missing.
template <class Function>
Function FromModule(HMODULE module, const char* name) {
  const FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
  // Through void(*)(): the cast between function types is then deliberate.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// Functions of newer systems, looked up so that the program still starts
// where they are missing.
template <class Function>
Function FromUser32(const char* name) {
  return FromModule<Function>(GetModuleHandleW(L"user32.dll"), name);
}

// The dots per inch of the monitor a window is on.
int WindowDpi(HWND hwnd);

// Whether the user asked the system for high contrast (SPI_GETHIGHCONTRAST,
// HCF_HIGHCONTRASTON): the one place that asks, which a test may replace.
extern bool (*HighContrastOn)();

}  // namespace forms::win32
