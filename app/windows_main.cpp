// Start-up on Windows: build MainForm with the Win32 back end, load it, show
// it centred, and run the message loop until the window is closed.
#include <windows.h>

#include <cstdlib>
#include <tuple>

#include "forms/win32/win32_form.h"
#include "window/main_form.h"

namespace {

// The icon of the resources (app/windows/bottles.rc), at the sizes the
// system wants for the caption and the task bar.
void SetIcons(HWND window, HINSTANCE instance) {
  for (const auto& [which, metric_x, metric_y] :
       {std::tuple{ICON_BIG, SM_CXICON, SM_CYICON}, std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}}) {
    const HANDLE icon = LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(metric_x),
                                   GetSystemMetrics(metric_y), LR_DEFAULTCOLOR);
    if (icon != nullptr) SendMessageW(window, WM_SETICON, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(icon));
  }
}

}  // namespace

// The default end of an uncaught exception prints its type, which brings the
// demangler and printf along: some 70 KB of a program that has no console to
// print to. Every error of the game is caught and reported before this. The
// program's own objects are linked before any library, so this definition is
// the one taken and libstdc++'s member holding the printing one is never
// pulled in; it must stay here, not move into a static library (the size
// limit of tests/win32/exe_check.py would catch that).
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// The system's header names the parameters its own way.
// NOLINTNEXTLINE(readability-inconsistent-declaration-parameter-name)
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  forms::win32::FormWindow window(MainForm::Description());
  SetIcons(window.Handle(), instance);
  MainForm form(window, window);
  if (!window.Load(form)) return 1;
  window.ShowCentred(show_command);
  return window.Run();
}
