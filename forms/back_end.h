// What every back end does the same way around its toolkit: the walk over the
// description that makes the controls, the load, the delivery of events, the
// report of an error that leaves a handler and the end of the program after
// it. A back end supplies the toolkit's part only.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/arrow_keys.h"
#include "forms/control_table.h"
#include "forms/runtime.h"

namespace forms {

// A length in pixels, from an origin.
struct Box {
  int left, top, width, height;
};

// A row of the description resolved for a toolkit: where it goes, what it
// says, how a screen reader names it.
struct Placement {
  std::size_t row;
  const Control* control;
  int container;           // the row of the frame that holds it; -1: the window
  Box in_container;        // pixels, from its container's origin
  Box in_window;           // pixels, from the window's client origin
  std::u16string caption;  // a text box's text with plain line feeds
  // What names it for a screen reader beside its own caption; empty when
  // nothing does.
  std::u16string spoken;
  // An option button's group (the row of its first member) and where each
  // arrow key goes from it; -1 for other controls and at the edges.
  int group = -1;
  ArrowTargets arrows{-1, -1, -1, -1};
};

// What an event changed on the form, worked out once by the frame for every
// back end's screen reader: each changed row with what it now says, and the
// words for the whole change, in the form's own language, made from its
// captions. Words are empty after the load, which nobody asked for.
struct Change {
  struct Part {
    std::size_t row;
    std::u16string said;  // "Пълна: 7", "2-ра, Полу: 1", "2-ра = 1 / 0.5"
  };
  std::vector<Part> parts;  // in the description's order
  std::u16string words;     // "2-ра, Полу: 1. 2-ра = 1 / 0.5. Полу: 6"
};

class BackEnd : public ControlTable {
 public:
  // Connects the controls' events to the handlers and raises the load event.
  // Returns false when the load handler failed (the error was reported).
  bool Load(Handlers& handlers);

  // Replaces the standard report (an error box, then the end of the
  // program), for tests.
  using Reporter = std::function<void(const ErrorReport&)>;
  void SetReporter(Reporter reporter) { reporter_ = std::move(reporter); }

  // Whether an error was reported: the program has ended, and no event
  // reaches a handler any more.
  bool Ended() const { return ended_; }

  // board::Locale: the decimal separator of the user's locale as the system
  // gives it now, in UTF-8 (one character or several), for the form's
  // numbers.
  std::string DecimalSeparator() const override = 0;

  // A row resolved at the given dots per inch.
  static Placement Place(const Form& form, std::size_t row, int dpi);
  // Only its place in the window, which a new DPI changes.
  static Box WindowBox(const Form& form, std::size_t row, int dpi);
  // The rows in the order Build makes them (see there).
  static std::vector<std::size_t> CreationOrder(const Form& form);

 protected:
  explicit BackEnd(const Form& form) : ControlTable(form) {}

  // Where nobody hears what an event changed (in-memory controls under a
  // long random run of events), it is not worked out: a call before Build.
  void TellNoChanges() { tells_changes_ = false; }

  // Makes every control through MakeControl, in tab order, each frame
  // before the controls it holds: the order of creation is the order of
  // the keyboard focus where a toolkit goes by creation (the page's
  // elements, Win32's Z-order). A back end calls it once, when its window
  // is ready for controls.
  void Build(int dpi);
  // Makes the control of a row and returns its element.
  virtual Element MakeControl(const Placement& placement) = 0;
  // Tells the back end's screen reader what an event changed; called after
  // the load and after every click that reached a handler without an error.
  virtual void Changed(const Change& /*change*/) {}

  // The row of a control, or -1.
  int RowNumber(std::string_view name, int index) const { return FindControl(Description(), name, index); }

  // Raises the click event of a control, the row it was built from: nothing
  // before the load or after an error.
  void RaiseClick(const Control& control);

  // Where a toolkit must be told whom to call when the user acts; a toolkit
  // whose controls report to the window on their own needs nothing.
  virtual void ConnectEvents() {}
  // The standard report: the error box, and once it is closed the end of
  // the program, where the toolkit has one to end (hide the window, leave
  // the event loop with the failure code 1). A back end with no loop of its
  // own to leave ends by handling no more events, which Ended() already
  // sees to.
  virtual void ShowErrorBox(const ErrorReport& report) = 0;
  virtual void EndProgram() = 0;

 private:
  // Defined and used in back_end.cpp only; a template, so that no
  // std::function wraps each event.
  template <class Event>
  void Deliver(const Event& event);
  void Report(const ErrorReport& report);
  // Works out what the last event changed and hands it to Changed().
  void TellChange(const Control* pressed);
  // What a row says now (a pool its count, a cell its labels and text).
  std::u16string SaidOf(std::size_t row);

  Handlers* handlers_ = nullptr;
  Reporter reporter_;
  bool tells_changes_ = true;
  bool ended_ = false;
  std::vector<std::u16string> said_;  // by row, as last told
};

}  // namespace forms
