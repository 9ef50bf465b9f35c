// The Qt 6 Widgets back end of the forms runtime: a window built from a
// form's description, its controls handed out as board elements, their
// signals raised as events; the error box and the event loop's end after it.
#pragma once

#include <QButtonGroup>
#include <QWidget>
#include <string_view>
#include <vector>

#include "forms/back_end.h"
#include "forms/description.h"

namespace forms::qt {

class FormWindow : public QWidget, public BackEnd {
 public:
  explicit FormWindow(const Form& form);
  ~FormWindow() override;

  // Opens the window, centred on its screen.
  void ShowCentred();

  // The widget built from a row of the description, or nullptr.
  QWidget* Widget(std::string_view name, int index) const;
  int Dpi() const { return dpi_; }

  std::string DecimalSeparator() const override;

 private:
  Element MakeControl(const Placement& placement) override;
  void ConnectEvents() override;
  void ShowErrorBox(const ErrorReport& report) override;
  void EndProgram() override;
  void Changed(const Change& change) override;

  int dpi_;
  std::vector<QWidget*> widgets_;      // by row; children of the window
  std::vector<QButtonGroup*> groups_;  // by the row that names a group
  std::vector<ArrowTargets> arrows_;   // by row, for the selectors
  QWidget* last_focusable_ = nullptr;
  QWidget* focus_mark_ = nullptr;         // the mark of the focused control
  class Announcer* announcer_ = nullptr;  // says each move's words
};

}  // namespace forms::qt
