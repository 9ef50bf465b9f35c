// Small helpers over the wide Windows API that the Win32 back end's files
// share: texts to and from Windows-1251, and functions looked up at run time.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace forms::win32 {

std::wstring Wide(std::u16string_view text);
std::wstring FromCp1251(std::string_view text);
std::string ToCp1251(std::wstring_view text);
std::wstring WindowText(HWND w);

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

}  // namespace forms::win32
