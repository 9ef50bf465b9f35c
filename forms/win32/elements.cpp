// The element adapters over Win32 controls; see elements.h.
#include "forms/win32/elements.h"

#include "board/errors.h"
#include "forms/cp1251.h"
#include "forms/win32/api.h"

namespace forms::win32 {

void RadioGroup::UpdateTabStop() const {
  HWND stop = members.empty() ? nullptr : members.front();
  for (HWND member : members) {
    if (SendMessageW(member, BM_GETCHECK, 0, 0) == BST_CHECKED) {
      stop = member;
      break;
    }
  }
  for (HWND member : members) {
    const LONG_PTR style = GetWindowLongPtrW(member, GWL_STYLE);
    const LONG_PTR wanted = member == stop ? (style | WS_TABSTOP) : (style & ~LONG_PTR{WS_TABSTOP});
    if (wanted != style) SetWindowLongPtrW(member, GWL_STYLE, wanted);
  }
}

namespace {

class ListElement : public board::List {
 public:
  explicit ListElement(HWND w) : w_(w) {}
  int Count() const override { return static_cast<int>(SendMessageW(w_, LB_GETCOUNT, 0, 0)); }
  void Clear() override { SendMessageW(w_, LB_RESETCONTENT, 0, 0); }
  void Append(std::string_view entry) override {
    const std::wstring text = FromCp1251(entry);
    SendMessageW(w_, LB_ADDSTRING, 0, AsLParam(text.c_str()));
  }
  void RemoveAt(int index) override {
    if (index < 0 || index >= Count()) throw board::NoSuchElementError();
    SendMessageW(w_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  }

 private:
  HWND w_;
};

class TextElement : public board::Text {
 public:
  explicit TextElement(HWND w) : w_(w) {}
  std::string Get() const override { return ToCp1251(WindowText(w_)); }
  // A text set again unchanged (the cells the board clears at loading,
  // empty already) is left alone: storing a window's text is a trip to the
  // Wine server.
  void Set(std::string_view text) override {
    const std::wstring wide = FromCp1251(text);
    if (WindowText(w_) != wide) SetWindowTextW(w_, wide.c_str());
  }

 private:
  HWND w_;
};

class CaptionElement : public board::Caption {
 public:
  explicit CaptionElement(HWND w) : w_(w) {}
  void SetCaption(std::string_view caption) override {
    SetWindowTextW(w_, Wide(DecodeUtf8(caption)).c_str());
    // The system announces a new window text for the window object only; a
    // screen reader reads a label through its client object, whose name
    // is made from the caption.
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, w_, OBJID_CLIENT, CHILDID_SELF);
  }

 private:
  HWND w_;
};

class SwitchElement : public board::Switch {
 public:
  explicit SwitchElement(HWND w) : w_(w) {}
  bool Enabled() const override { return IsWindowEnabled(w_) != FALSE; }
  void SetEnabled(bool enabled) override {
    if (Enabled() == enabled) return;  // nothing to redraw
    // A control that is disabled while it has the focus would leave the
    // keyboard with nowhere to go: hand the focus on first.
    if (!enabled && GetFocus() == w_) {
      const HWND next = GetNextDlgTabItem(GetParent(w_), w_, FALSE);
      if (next != nullptr && next != w_) SetFocus(next);
    }
    EnableWindow(w_, enabled ? TRUE : FALSE);
    InvalidateRect(w_, nullptr, TRUE);
  }

 private:
  HWND w_;
};

class OptionElement : public board::Option {
 public:
  OptionElement(HWND w, RadioGroup& group) : w_(w), group_(group) {}
  bool Value() const override { return SendMessageW(w_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetValue(bool selected) override {
    // BM_SETCHECK sends no notification, so no click is raised.
    if (selected) {
      for (HWND member : group_.members) {
        if (member != w_) SendMessageW(member, BM_SETCHECK, BST_UNCHECKED, 0);
      }
    }
    SendMessageW(w_, BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
    if (selected) {
      group_.selected = w_;
    } else if (group_.selected == w_) {
      group_.selected = nullptr;
    }
    group_.UpdateTabStop();
  }

 private:
  HWND w_;
  RadioGroup& group_;
};

}  // namespace

Element ListOver(HWND list_box, RadioGroup*) { return std::make_unique<ListElement>(list_box); }
Element TextOver(HWND edit, RadioGroup*) { return std::make_unique<TextElement>(edit); }
Element CaptionOver(HWND label, RadioGroup*) { return std::make_unique<CaptionElement>(label); }
Element SwitchOver(HWND button, RadioGroup*) { return std::make_unique<SwitchElement>(button); }
Element OptionOver(HWND option_button, RadioGroup* group) {
  return std::make_unique<OptionElement>(option_button, *group);
}

}  // namespace forms::win32
