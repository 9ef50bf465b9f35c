// A real MainForm on real Win32 controls (a window on the test display), and
// the user's means to play it: clicks through BM_CLICK, keys through the
// message loop, and what the controls show, read back with their messages.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "forms/cp1251.h"
#include "forms/win32/win32_form.h"
#include "tests/loaded_form.h"
#include "tests/model.h"

namespace win32_test {

// What a control shows, as the control itself reports it.
inline std::u16string TextOf(HWND w) {
  const auto length = static_cast<std::size_t>(SendMessageW(w, WM_GETTEXTLENGTH, 0, 0));
  std::wstring text(length + 1, L'\0');
  const auto got = SendMessageW(w, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(got));
  return std::u16string(text.begin(), text.end());
}
inline std::string Cp1251Of(HWND w) { return forms::EncodeCp1251(TextOf(w)); }

// A text as UTF-8, for the tests' messages and expectations.
inline std::string Utf8(std::u16string_view text) { return forms::EncodeUtf8(text); }

// Handles whatever is waiting (painting, above all) without blocking.
inline void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

class Game : public model::Target, public tests::LoadedForm<forms::win32::FormWindow> {
 public:
  explicit Game(std::string separator = ".") : LoadedForm(std::move(separator)) {
    window.ShowCentred();
    Pump();
  }

  HWND W(const char* name, int index = -1) const { return window.Widget(name, index); }
  HWND Main() const { return window.Handle(); }
  void Click(const char* name, int index) { SendMessageW(W(name, index), BM_CLICK, 0, 0); }
  bool Checked(int cell) const { return SendMessageW(W("Option1", cell), BM_GETCHECK, 0, 0) == BST_CHECKED; }

  // model::Target: what the user does and sees.
  void Select(int cell) override { Click("Option1", cell); }
  void Press(int button) override { Click("Command1", button); }
  bool Enabled(int button) override { return IsWindowEnabled(W("Command1", button)) != FALSE; }
  int PoolCount(int kind) override {
    HWND list = W("List1", kind);
    const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t entry[16] = {};
      if (SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) != 1) return -1;
      SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
      if (std::wstring(entry) != L"1") return -1;  // every entry is the text "1"
    }
    return count;
  }
  std::string Cell(int cell) override { return Cp1251Of(W("Text2", cell)); }
  std::string Summary(int table) override { return Utf8(TextOf(W("Label3", table))); }
  // The checked selector; -2 when more than one is.
  int SelectedCell() override {
    int selected = -1;
    for (int c = 0; c < 9; ++c) {
      if (!Checked(c)) continue;
      if (selected >= 0) return -2;
      selected = c;
    }
    return selected;
  }
};

}  // namespace win32_test
