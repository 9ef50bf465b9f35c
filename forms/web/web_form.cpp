// The browser back end; see web_form.h. The page's elements, written into
// the page by the build (markup.cpp), are the only state: every board element asks its element of the page, through the
// small JavaScript functions below, and keeps nothing itself.
#include "forms/web/web_form.h"

#include <emscripten.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "board/errors.h"
#include "forms/arrow_keys.h"
#include "forms/cp1251.h"
#include "forms/web/markup.h"

// The page's side, in web_form.js.
extern "C" {
void forms_web_begin(const char* id, int points);
void forms_web_make(int row, const char* kind, const char* name, int index, const char16_t* spoken, int left, int top,
                    int width, int height, int back, int visible, int tab, const char* container);
void forms_web_ready();
void forms_web_listen(int row);
void forms_web_arrows(int row, int group, int left, int right, int up, int down);
int forms_web_list_count(int row);
void forms_web_list_clear(int row);
void forms_web_list_append(int row, const char16_t* entry);
void forms_web_list_remove(int row, int index);
int forms_web_text_length(int row);
void forms_web_text_read(char16_t* buffer, int length);
void forms_web_text_set(int row, const char16_t* text);
void forms_web_caption_set(int row, const char16_t* caption);
int forms_web_enabled(int row);
void forms_web_set_enabled(int row, int enabled);
int forms_web_checked(int row);
void forms_web_set_checked(int row, int checked);
void forms_web_error(const char16_t* title, const char16_t* message);
void forms_web_name(int row, const char16_t* name);
void forms_web_status(const char16_t* words);
int forms_web_decimal_separator(char* utf8, int size);
}

namespace forms::web {

namespace {

// The page's one form: the page's script knows its elements by row, and
// its clicks come back through one exported function.
WebForm* the_form = nullptr;

// Each element is the page's element of its row, asked anew every time.
template <class Element>
class OfRow : public Element {
 public:
  explicit OfRow(int row) : row_(row) {}

 protected:
  int row_;
};

struct ListElement : OfRow<board::List> {
  using OfRow::OfRow;
  int Count() const override { return forms_web_list_count(row_); }
  void Clear() override { forms_web_list_clear(row_); }
  void Append(std::string_view entry) override { forms_web_list_append(row_, DecodeCp1251(entry).c_str()); }
  void RemoveAt(int index) override {
    if (index < 0 || index >= Count()) throw board::NoSuchElementError();
    forms_web_list_remove(row_, index);
  }
};

struct TextElement : OfRow<board::Text> {
  using OfRow::OfRow;
  std::string Get() const override {
    std::u16string text(static_cast<std::size_t>(forms_web_text_length(row_)), u'\0');
    forms_web_text_read(text.data(), static_cast<int>(text.size()));
    return WithCrLf(EncodeCp1251(text));
  }
  void Set(std::string_view text) override { forms_web_text_set(row_, WithLineFeeds(DecodeCp1251(text)).c_str()); }
};

struct CaptionElement : OfRow<board::Caption> {
  using OfRow::OfRow;
  void SetCaption(std::string_view caption) override { forms_web_caption_set(row_, DecodeUtf8(caption).c_str()); }
};

struct SwitchElement : OfRow<board::Switch> {
  using OfRow::OfRow;
  bool Enabled() const override { return forms_web_enabled(row_) != 0; }
  void SetEnabled(bool enabled) override { forms_web_set_enabled(row_, enabled ? 1 : 0); }
};

struct OptionElement : OfRow<board::Option> {
  using OfRow::OfRow;
  bool Value() const override { return forms_web_checked(row_) != 0; }
  // Setting the checked flag raises no click.
  void SetValue(bool selected) override { forms_web_set_checked(row_, selected ? 1 : 0); }
};

int ColourOrNone(Colour c) { return c == kDefaultColour ? -1 : static_cast<int>(c); }

}  // namespace

WebForm::WebForm(const Form& form) : BackEnd(form) {
  forms_web_begin(form.name, form.font.points);
  // CSS pixels are 1/96 inch, and the browser scales them for zoom and
  // dense screens.
  Build(96);
  the_form = this;
}

// The page's markup holds the control already, in its place in tab order;
// the script finds it by row, with what the description says of it.
Element WebForm::MakeControl(const Placement& p) {
  const Control& c = *p.control;
  const int row = static_cast<int>(p.row);
  const Box& b = p.in_container;
  forms_web_make(row, KindName(c.kind), c.name, c.index, p.spoken.c_str(), b.left, b.top, b.width, b.height,
                 ColourOrNone(c.back_colour), c.visible ? 1 : 0, c.tab_index, c.container ? c.container : "");
  if (c.kind == ControlKind::kOptionButton || c.kind == ControlKind::kButton) forms_web_listen(row);
  if (c.kind == ControlKind::kOptionButton) {
    const auto to = [&p](Arrow arrow) { return p.arrows[static_cast<std::size_t>(arrow)]; };
    forms_web_arrows(row, p.group, to(Arrow::kLeft), to(Arrow::kRight), to(Arrow::kUp), to(Arrow::kDown));
  }
  switch (c.kind) {
    case ControlKind::kLabel: return std::make_unique<CaptionElement>(row);
    case ControlKind::kFrame: break;
    case ControlKind::kOptionButton: return std::make_unique<OptionElement>(row);
    case ControlKind::kButton: return std::make_unique<SwitchElement>(row);
    case ControlKind::kTextBox: {
      auto text = std::make_unique<TextElement>(row);
      text->Set(c.caption);
      return text;
    }
    case ControlKind::kListBox: return std::make_unique<ListElement>(row);
  }
  return {};
}

WebForm::~WebForm() {
  if (the_form == this) the_form = nullptr;
}

void WebForm::Ready() { forms_web_ready(); }

void WebForm::Changed(const Change& change) {
  const auto& controls = Description().controls;
  for (const Change::Part& part : change.parts) {
    if (controls[part.row].kind == ControlKind::kListBox) forms_web_name(static_cast<int>(part.row), part.said.c_str());
  }
  if (!change.words.empty()) forms_web_status(change.words.c_str());
}

void WebForm::ShowErrorBox(const ErrorReport& report) { forms_web_error(report.title.c_str(), report.message.c_str()); }

void WebForm::Failed(const std::u16string& what) {
  if (Ended()) return;
  // The report of an error with no text of its own, then the page's.
  ErrorReport report = ReportFor(Description(), std::runtime_error(""));
  ShowErrorBox({report.title, report.message + what});
}

void WebForm::Clicked(int row) {
  const auto& controls = Description().controls;
  if (row < 0 || static_cast<std::size_t>(row) >= controls.size()) return;
  RaiseClick(controls[static_cast<std::size_t>(row)]);
}

std::string WebForm::DecimalSeparator() const {
  char utf8[32] = {};
  const int length = forms_web_decimal_separator(utf8, sizeof utf8);
  return length > 0 ? std::string(utf8, static_cast<std::size_t>(length)) : std::string(".");
}

}  // namespace forms::web

// The page's clicks, by row of the description.
extern "C" EMSCRIPTEN_KEEPALIVE void forms_web_click(int row) {
  if (forms::web::the_form != nullptr) forms::web::the_form->Clicked(row);
}

// What went wrong on the way of an event outside the handlers, in the page's
// script or in the program; its text waits in the page as a control's does.
extern "C" EMSCRIPTEN_KEEPALIVE void forms_web_fail(int length) {
  std::u16string text(static_cast<std::size_t>(length), u'\0');
  forms_web_text_read(text.data(), length);
  if (forms::web::the_form != nullptr) forms::web::the_form->Failed(text);
}
