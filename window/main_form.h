// MainForm, the program's one window: its stored description, and its three
// handlers, which drive the board over the controls a back end built.
#pragma once

#include <cstdint>

#include "board/board.h"
#include "forms/description.h"
#include "forms/runtime.h"

class MainForm : public forms::Handlers {
 public:
  static const forms::Form& Description();

  // locale gives the user's decimal separator for the volumes of the
  // summaries, asked at every summary (a back end is one); it outlives the
  // form.
  MainForm(forms::Controls& controls, const board::Locale& locale);

  void Form_Load();
  void Option1_Click(std::int16_t index);
  void Command1_Click(std::int16_t index);

  board::Board& Board() { return board_; }

  // forms::Handlers: the events, by control array.
  void Load() override { Form_Load(); }
  void Click(const forms::Control& control) override;

 private:
  board::Board board_;
};
