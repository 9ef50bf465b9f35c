// The Win32 back end of the forms runtime: a window of real controls built
// from a form's description, handed out as board elements, their notices
// raised as events; the error box and the message loop's end after it.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

#include "forms/back_end.h"
#include "forms/description.h"
#include "forms/win32/api.h"

// Sent by Windows 8.1 and later when the window moves to a monitor of
// another DPI; the headers hide it when built for Windows XP.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace forms::win32 {

struct Apartment;
struct RadioGroup;

// Solid brushes by colour, each made when first asked for, all deleted with
// their owner.
class Brushes {
 public:
  Brushes() = default;
  Brushes(const Brushes&) = delete;
  Brushes& operator=(const Brushes&) = delete;
  ~Brushes();
  HBRUSH Of(COLORREF colour);

 private:
  // Plain handles: a map of unique_ptr made the program half a kilobyte
  // larger.
  std::map<COLORREF, HBRUSH> brushes_;
};

class FormWindow : public BackEnd {
 public:
  // Creates the window and its controls, hidden.
  explicit FormWindow(const Form& form);
  ~FormWindow() override;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  // Opens the window, centred on the work area of its monitor.
  void ShowCentred(int show_command = SW_SHOWNORMAL);

  // Runs the message loop until the window is closed, or until an error was
  // reported; returns the program's exit code (0, or 1 after an error).
  int Run();

  // The control built from a row of the description, or nullptr.
  HWND Widget(std::string_view name, int index) const;
  std::string DecimalSeparator() const override;
  HWND Handle() const { return hwnd_; }
  // The DPI the form is laid out at: the monitor's, or less where the
  // window would not fit the work area at the monitor's.
  int Dpi() const { return dpi_; }

 private:
  struct Row;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControls();
  Element MakeControl(const Placement& placement) override;
  void Layout();
  void FindCovers();
  void FitClientArea();
  RECT Outer(int width, int height) const;
  int FittingDpi() const;
  void KeepOnWorkArea();
  void Command(int id, int code, HWND control);
  LRESULT ControlColour(HWND control, HDC dc, UINT message);
  // The shades of what the window draws itself beside the described
  // colours: fixed, so that no colour scheme mixes into the form, unless
  // the system asks for high contrast; then the system's.
  struct Shades {
    COLORREF highlight, light, shadow, dark;  // of raised and sunken edges
    COLORREF well, dot;                       // an option button's mark
  };
  Shades ShadesNow() const;
  // The buttons, the option buttons and the frame are drawn by the window,
  // so in the form's colours and shades, whatever the system's.
  void DrawButton(const DRAWITEMSTRUCT& item);
  void DrawOption(const DRAWITEMSTRUCT& item);
  void DrawFrame(const DRAWITEMSTRUCT& item);
  void DrawCaption(HDC dc, const std::wstring& caption, RECT area, UINT format, bool disabled) const;
  HBRUSH Brush(Colour colour);
  // Asks the system again and repaints the window in the colours it wants.
  void FollowContrast();
  Row* RowOf(HWND control) const;
  void ShowErrorBox(const ErrorReport& report) override;
  void Changed(const Change& change) override;
  void EndProgram() override;

  // Destroys the window, with the FormWindow or when its constructor fails
  // once the window is made, without ending the program.
  class WindowOwner {
   public:
    explicit WindowOwner(FormWindow& self) : self_(self) {}
    WindowOwner(const WindowOwner&) = delete;
    WindowOwner& operator=(const WindowOwner&) = delete;
    ~WindowOwner();

   private:
    FormWindow& self_;
  };

  // Whether the window's thread joined COM for a screen reader: the first
  // member, so the last to go, once no control can be asked any more.
  std::unique_ptr<Apartment> apartment_;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  int system_dpi_ = 96;
  Gdi<HFONT> font_;
  std::vector<std::unique_ptr<Row>> rows_;
  std::vector<std::unique_ptr<RadioGroup>> groups_;
  int previous_group_ = -1;  // the group of the control made last
  Row* told_ = nullptr;      // the control whose description says a move's words
  Brushes brushes_;
  bool destroying_ = false;
  bool high_contrast_ = false;  // the system's colours, not the described ones
  int exit_code_ = 0;
  // The last member, so the first to go: the window and its controls go
  // while the rows their procedures read, the font and the brushes live.
  WindowOwner window_owner_{*this};
};

}  // namespace forms::win32
