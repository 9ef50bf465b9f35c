// The Qt 6 Widgets back end of the forms runtime: builds a window from a
// form's description, hands out its controls as board elements, delivers
// the load and click events, and reports an error that leaves a handler.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "forms/control_table.h"
#include "forms/description.h"

namespace forms::qt {

class FormWindow : public QWidget, public ControlTable {
 public:
  explicit FormWindow(const Form& form);
  ~FormWindow() override;

  // Connects the controls' events to the handlers and raises the load event.
  // Returns false when the load handler failed (the error was reported).
  bool Load(Handlers& handlers);

  // Opens the window, centred on its screen.
  void ShowCentred();

  // Replaces the standard report (an error box, then the end of the
  // program), for tests.
  using Reporter = std::function<void(const ErrorReport&)>;
  void SetReporter(Reporter reporter) { reporter_ = std::move(reporter); }

  // The widget built from a row of the description, or nullptr.
  QWidget* Widget(std::string_view name, int index) const;
  int Dpi() const { return dpi_; }

 private:
  struct Row;
  void Deliver(const std::function<void()>& event);
  void Report(const ErrorReport& report);

  int dpi_;
  std::vector<std::unique_ptr<Row>> rows_;
  QWidget* focus_mark_ = nullptr;  // the mark of the focused control
  Handlers* handlers_ = nullptr;
  Reporter reporter_;
  bool ended_ = false;
};

// The decimal separator of the user's locale, as the board wants it.
char DecimalSeparator();

}  // namespace forms::qt
