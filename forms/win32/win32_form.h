// The Win32 back end of the forms runtime: builds a window of real controls
// from a form's description, names them for screen readers, hands them out as
// board elements, delivers the events, and reports an error leaving a handler.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "forms/control_table.h"
#include "forms/description.h"

namespace forms::win32 {

struct Apartment;
struct RadioGroup;

class FormWindow : public ControlTable {
 public:
  // Creates the window and its controls, hidden.
  explicit FormWindow(const Form& form);
  ~FormWindow() override;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  // Connects the controls' events to the handlers and raises the load event.
  // Returns false when the load handler failed (the error was reported).
  bool Load(Handlers& handlers);

  // Opens the window, centred on the work area of its monitor.
  void ShowCentred(int show_command = SW_SHOWNORMAL);

  // Runs the message loop until the window is closed, or until an error was
  // reported; returns the program's exit code (0, or 1 after an error).
  int Run();

  // Replaces the standard report (an error box, then the end of the
  // program), for tests.
  using Reporter = std::function<void(const ErrorReport&)>;
  void SetReporter(Reporter reporter) { reporter_ = std::move(reporter); }

  // The control built from a row of the description, or nullptr.
  HWND Widget(std::string_view name, int index) const;
  HWND Handle() const { return hwnd_; }
  int Dpi() const { return dpi_; }

 private:
  struct Row;
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControls();
  void Layout();
  void FitClientArea();
  void Command(int id, int code, HWND control);
  LRESULT ControlColour(HWND control, HDC dc, UINT message);
  void DrawButton(const DRAWITEMSTRUCT& item);
  HBRUSH Brush(Colour colour);
  Row* RowOf(HWND control) const;
  void Deliver(const std::function<void()>& event);
  void Report(const ErrorReport& report);

  // Whether the window's thread joined COM for a screen reader, to leave it
  // in the destructor.
  std::unique_ptr<Apartment> apartment_;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  HFONT font_ = nullptr;
  std::vector<std::unique_ptr<Row>> rows_;
  std::vector<std::unique_ptr<RadioGroup>> groups_;
  std::map<COLORREF, HBRUSH> brushes_;
  HWND focus_ = nullptr;  // the control to give the focus back to on activation
  Handlers* handlers_ = nullptr;
  Reporter reporter_;
  bool ended_ = false;
  bool destroying_ = false;
  int exit_code_ = 0;
};

// The decimal separator of the user's locale, as the board wants it.
char DecimalSeparator();

}  // namespace forms::win32
