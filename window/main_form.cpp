// MainForm's handlers, over the controls built from its description.
#include "window/main_form.h"

#include <array>
#include <string_view>

#include "window/main_form_description.h"

namespace {

board::Elements Wire(forms::Controls& c) {
  board::Elements e{};
  for (int i = 0; i < board::kKinds; ++i) e.pools[static_cast<std::size_t>(i)] = &c.List("List1", i);
  for (int i = 0; i < board::kCells; ++i) {
    e.cells[static_cast<std::size_t>(i)] = &c.Text("Text2", i);
    e.selectors[static_cast<std::size_t>(i)] = &c.Option("Option1", i);
  }
  for (int i = 0; i < board::kTables; ++i) e.summaries[static_cast<std::size_t>(i)] = &c.Caption("Label3", i);
  for (int i = 0; i < 2; ++i) e.pouring[static_cast<std::size_t>(i)] = &c.Switch("Command1", i);
  return e;
}

}  // namespace

const forms::Form& MainForm::Description() { return MainFormDescription(); }

MainForm::MainForm(forms::Controls& controls, const board::Locale& locale) : board_(Wire(controls), locale) {}

void MainForm::Form_Load() { board_.ClearBoard(); }

void MainForm::Option1_Click(std::int16_t index) { board_.SelectedCell = index; }

void MainForm::Command1_Click(std::int16_t index) {
  switch (index) {
    case 0: board_.FullToHalves(); break;
    case 1: board_.HalvesToFull(); break;
    case 2: board_.ClearBoard(); break;
    case 3: board_.PlaceBottle(); break;
    case 4: board_.ReturnBottle(); break;
    default: break;
  }
}

void MainForm::Click(const forms::Control& control) {
  const std::string_view array = control.name;
  if (array == "Option1") {
    Option1_Click(control.index);
  } else if (array == "Command1") {
    Command1_Click(control.index);
  }
}
