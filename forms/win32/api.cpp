// The Win32 back end's shared helpers; see api.h. Out of line: inlined into
// each of their callers they made the program a kilobyte larger.
#include "forms/win32/api.h"

#include <algorithm>

#include "forms/cp1251.h"

namespace forms::win32 {

namespace {
bool SystemHighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != FALSE &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}
}  // namespace

bool (*HighContrastOn)() = &SystemHighContrastOn;

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::wstring FromCp1251(std::string_view text) { return Wide(DecodeCp1251(text)); }
std::string ToCp1251(std::wstring_view text) { return EncodeCp1251(std::u16string(text.begin(), text.end())); }

std::wstring WindowText(HWND w) {
  const int length = GetWindowTextLengthW(w);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(w, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

int WindowDpi(HWND hwnd) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  if (const auto get_dpi = FromUser32<GetDpiForWindowFunction>("GetDpiForWindow")) {
    const UINT dpi = get_dpi(hwnd);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  const HDC dc = GetDC(hwnd);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(hwnd, dc);
  return dpi > 0 ? dpi : 96;
}

}  // namespace forms::win32
