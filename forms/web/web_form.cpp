// The browser back end; see web_form.h. The page's elements are the only
// state: every board element asks its element of the page, through the small
// JavaScript functions below, and keeps nothing itself.
#include "forms/web/web_form.h"

#include <emscripten.h>

#include <algorithm>
#include <string>
#include <vector>

#include "board/errors.h"
#include "forms/cp1251.h"

// clang-format off
EM_JS(void, forms_web_begin, (const char* id, const char16_t* title, int width, int height, int back,
                              const char* fonts, int points), {
  const root = document.getElementById(UTF8ToString(id));
  Module.formRows = [];
  Module.formRoot = root;
  // A title collapses runs of blanks; no-break blanks keep them as written.
  const caption = UTF16ToString(title);
  document.title = Array.from(caption, (c, i) => c === " " && (caption[i - 1] === " " || caption[i + 1] === " ")
                                                 ? String.fromCharCode(160) : c).join("");
  root.style.width = width + "px";
  root.style.height = height + "px";
  root.style.background = "#" + back.toString(16).padStart(6, "0");
  root.style.fontFamily = UTF8ToString(fonts);
  root.style.fontSize = points + "pt";
});

// kind: 0 label, 1 frame, 2 option button, 3 button, 4 text box, 5 list box.
EM_JS(void, forms_web_make, (int row, int kind, const char* name, int index, const char16_t* caption,
                             int left, int top, int width, int height, int back, int visible, int multi_line), {
  const text = UTF16ToString(caption);
  const arrayName = UTF8ToString(name);
  let box;
  let element;
  if (kind === 0) {
    box = element = document.createElement("div");
    box.className = "label";
    box.textContent = text;
  } else if (kind === 1) {
    box = element = document.createElement("div");
    box.className = "frame";
    box.setAttribute("role", "group");
    const edge = document.createElement("div");
    edge.className = "edge";
    const legend = document.createElement("span");
    legend.className = "legend";
    legend.id = arrayName + "-caption";
    legend.textContent = text;
    box.setAttribute("aria-labelledby", legend.id);
    box.append(edge, legend);
  } else if (kind === 2) {
    // The whole box is the radio's label, so a click anywhere in it selects.
    box = document.createElement("label");
    box.className = "option";
    element = document.createElement("input");
    element.type = "radio";
    element.name = arrayName;
    const span = document.createElement("span");
    span.textContent = text;
    box.append(element, span);
  } else if (kind === 3) {
    box = element = document.createElement("button");
    box.type = "button";
    box.className = "button";
    box.textContent = text;
  } else if (kind === 4) {
    box = element = document.createElement(multi_line ? "textarea" : "input");
    box.className = multi_line ? "panel" : "cell";
    box.readOnly = true;
    box.setAttribute("aria-readonly", "true");
    if (!multi_line) box.type = "text";
  } else {
    box = element = document.createElement("select");
    box.className = "list";
    box.size = 2;
  }
  box.classList.add("control");
  box.dataset.name = arrayName;
  if (index >= 0) box.dataset.index = index;
  box.style.left = left + "px";
  box.style.top = top + "px";
  box.style.width = width + "px";
  box.style.height = height + "px";
  if (back >= 0) box.style.background = "#" + back.toString(16).padStart(6, "0");
  if (!visible) box.hidden = true;
  Module.formRows[row] = { box: box, element: element, kind: kind, name: "" };
});

// Puts a row's box into its container (-1: the form) in tab order.
EM_JS(void, forms_web_place, (int row, int container), {
  const parent = container < 0 ? Module.formRoot : Module.formRows[container].box;
  parent.append(Module.formRows[row].box);
});

// What names a control for a screen reader beside its caption; a label named
// so speaks the name, then its caption.
EM_JS(void, forms_web_name, (int row, const char16_t* name), {
  const r = Module.formRows[row];
  r.name = UTF16ToString(name);
  if (r.kind === 0) {
    r.box.setAttribute("role", "status");
    r.box.setAttribute("aria-label", r.name + r.box.textContent);
  } else {
    r.element.setAttribute("aria-label", r.name);
  }
});

// An option is clicked when it becomes selected: a click on the selected one
// raises nothing, as on the desktop.
EM_JS(void, forms_web_listen, (int row), {
  const r = Module.formRows[row];
  r.element.addEventListener(r.kind === 2 ? "change" : "click", () => _forms_web_click(row));
});

// The arrow keys in a group of option buttons move as on the desktop: to
// the nearest button in their direction on the screen, and while one of the
// group is on, they select as they move (a click, as the mouse gives).
EM_JS(void, forms_web_arrows, (int row), {
  const radio = Module.formRows[row].element;
  radio.addEventListener("keydown", (event) => {
    const way = { ArrowUp: [0, -1], ArrowDown: [0, 1], ArrowLeft: [-1, 0], ArrowRight: [1, 0] }[event.key];
    if (!way || event.altKey || event.ctrlKey || event.metaKey) return;
    event.preventDefault();
    const group = Module.formRows.filter((r) => r.kind === 2 && r.element.name === radio.name).map((r) => r.element);
    const here = radio.parentElement.getBoundingClientRect();
    let best = null;
    let best_cost = Infinity;
    for (const other of group) {
      const there = other.parentElement.getBoundingClientRect();
      const dx = there.left - here.left;
      const dy = there.top - here.top;
      const along = dx * way[0] + dy * way[1];
      const cost = along + 2 * Math.abs(way[0] ? dy : dx);
      if (along > 0 && cost < best_cost) {
        best = other;
        best_cost = cost;
      }
    }
    if (!best) return;
    const selecting = group.some((r) => r.checked);
    best.focus();
    if (selecting) best.click();
  });
});

EM_JS(int, forms_web_list_count, (int row), { return Module.formRows[row].element.options.length; });
EM_JS(void, forms_web_list_clear, (int row), { Module.formRows[row].element.replaceChildren(); });
EM_JS(void, forms_web_list_append, (int row, const char16_t* entry), {
  const option = document.createElement("option");
  option.textContent = UTF16ToString(entry);
  Module.formRows[row].element.append(option);
});
EM_JS(void, forms_web_list_remove, (int row, int index), { Module.formRows[row].element.options[index].remove(); });

// Multi-line texts keep CR LF line ends; the page shows plain line feeds.
// (Escapes do not survive EM_JS, hence the character codes.)
EM_JS(int, forms_web_text_length, (int row), {
  const r = Module.formRows[row];
  Module.formText = r.kind === 4 && r.element.tagName === "TEXTAREA" ? r.element.value.split(String.fromCharCode(10)).join(String.fromCharCode(13, 10))
                                                                      : r.element.value;
  return Module.formText.length;
});
EM_JS(void, forms_web_text_read, (char16_t* buffer, int length), {
  stringToUTF16(Module.formText, buffer, 2 * length + 2);
});
EM_JS(void, forms_web_text_set, (int row, const char16_t* text), {
  Module.formRows[row].element.value = UTF16ToString(text).split(String.fromCharCode(13, 10)).join(String.fromCharCode(10));
});

EM_JS(void, forms_web_caption_set, (int row, const char16_t* caption), {
  const r = Module.formRows[row];
  r.box.textContent = UTF16ToString(caption);
  if (r.name) r.box.setAttribute("aria-label", r.name + r.box.textContent);
});

EM_JS(int, forms_web_enabled, (int row), { return Module.formRows[row].element.disabled ? 0 : 1; });
EM_JS(void, forms_web_set_enabled, (int row, int enabled), { Module.formRows[row].element.disabled = !enabled; });
EM_JS(int, forms_web_checked, (int row), { return Module.formRows[row].element.checked ? 1 : 0; });
EM_JS(void, forms_web_set_checked, (int row, int checked), { Module.formRows[row].element.checked = !!checked; });

EM_JS(void, forms_web_error, (const char16_t* title, const char16_t* message), {
  // The form takes no more input from here on, as the program has ended.
  Module.formRoot.inert = true;
  const dialog = document.createElement("dialog");
  dialog.className = "error";
  dialog.setAttribute("role", "alertdialog");
  const heading = document.createElement("h1");
  heading.id = "error-title";
  heading.textContent = UTF16ToString(title);
  const text = document.createElement("p");
  text.id = "error-message";
  text.textContent = UTF16ToString(message);
  const form = document.createElement("form");
  form.method = "dialog";
  const ok = document.createElement("button");
  ok.textContent = String.fromCharCode(0x414, 0x43E, 0x431, 0x440, 0x435);  // "Добре", as the desktop box
  form.append(ok);
  dialog.setAttribute("aria-labelledby", heading.id);
  dialog.setAttribute("aria-describedby", text.id);
  dialog.append(heading, text, form);
  document.body.append(dialog);
  dialog.showModal();
  ok.focus();
});

EM_JS(int, forms_web_decimal_separator, (), {
  const parts = new Intl.NumberFormat(navigator.language).formatToParts(0.5);
  const point = parts.find((p) => p.type === "decimal");
  return point && point.value.length === 1 ? point.value.charCodeAt(0) : 46;
});
// clang-format on

namespace forms::web {

namespace {

// The kinds as forms_web_make numbers them.
static_assert(static_cast<int>(ControlKind::kLabel) == 0 && static_cast<int>(ControlKind::kFrame) == 1 &&
              static_cast<int>(ControlKind::kOptionButton) == 2 && static_cast<int>(ControlKind::kButton) == 3 &&
              static_cast<int>(ControlKind::kTextBox) == 4 && static_cast<int>(ControlKind::kListBox) == 5);

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
    return EncodeCp1251(text);
  }
  void Set(std::string_view text) override { forms_web_text_set(row_, DecodeCp1251(text).c_str()); }
};

struct CaptionElement : OfRow<board::Caption> {
  using OfRow::OfRow;
  void SetCaption(std::string_view caption) override { forms_web_caption_set(row_, DecodeCp1251(caption).c_str()); }
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

// Pixels for twips: CSS pixels are 1/96 inch, and the browser scales them
// for zoom and dense screens.
int Px(int twips) { return TwipsToPixels(twips, 96); }

int ColourOrNone(Colour c) { return c == kDefaultColour ? -1 : static_cast<int>(c); }

}  // namespace

WebForm::WebForm(const Form& form) : BackEnd(form) {
  // The described font first, then one with the same metrics where it is missing.
  const std::string fonts = std::string("\"") + form.font.name + "\", \"Liberation Serif\", serif";
  forms_web_begin(form.name, DecodeCp1251(form.caption).c_str(), Px(form.client_width), Px(form.client_height),
                  ColourOrNone(form.back_colour), fonts.c_str(), form.font.points);
  const auto rows = form.controls.size();
  for (std::size_t i = 0; i < rows; ++i) {
    const Control& c = form.controls[i];
    const int row = static_cast<int>(i);
    forms_web_make(row, static_cast<int>(c.kind), c.name, c.index, DecodeCp1251(c.caption).c_str(), Px(c.left), Px(c.top),
                   Px(c.width), Px(c.height), ColourOrNone(c.back_colour), c.visible ? 1 : 0, c.multi_line ? 1 : 0);
    Elements& e = ElementsOf(i);
    switch (c.kind) {
      case ControlKind::kLabel: e.caption = std::make_unique<CaptionElement>(row); break;
      case ControlKind::kFrame: break;
      case ControlKind::kOptionButton: e.option = std::make_unique<OptionElement>(row); break;
      case ControlKind::kButton: e.button = std::make_unique<SwitchElement>(row); break;
      case ControlKind::kTextBox:
        e.text = std::make_unique<TextElement>(row);
        e.text->Set(c.caption);
        break;
      case ControlKind::kListBox: e.list = std::make_unique<ListElement>(row); break;
    }
    if (c.kind == ControlKind::kOptionButton || c.kind == ControlKind::kButton) forms_web_listen(row);
    if (c.kind == ControlKind::kOptionButton) forms_web_arrows(row);
    const std::u16string name = LabelledName(form, c);
    if (!name.empty()) forms_web_name(row, name.c_str());
  }

  // The page's focus order is its order of elements: each box goes into
  // its container by tab index.
  std::vector<std::size_t> order(rows);
  for (std::size_t i = 0; i < rows; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&form](std::size_t a, std::size_t b) {
    return form.controls[a].tab_index < form.controls[b].tab_index;
  });
  for (std::size_t i : order) {
    const Control& c = form.controls[i];
    forms_web_place(static_cast<int>(i), c.container == nullptr ? -1 : FindControl(form, c.container, -1));
  }
  the_form = this;
}

WebForm::~WebForm() {
  if (the_form == this) the_form = nullptr;
}

void WebForm::ShowErrorBox(const ErrorReport& report) {
  forms_web_error(report.title.c_str(), report.message.c_str());
}

void WebForm::Clicked(int row) {
  const auto& controls = Description().controls;
  if (row < 0 || static_cast<std::size_t>(row) >= controls.size()) return;
  RaiseClick(controls[static_cast<std::size_t>(row)]);
}

char DecimalSeparator() {
  const int c = forms_web_decimal_separator();
  return c > 0 && c < 0x80 ? static_cast<char>(c) : '.';
}

}  // namespace forms::web

// The page's clicks, by row of the description.
extern "C" EMSCRIPTEN_KEEPALIVE void forms_web_click(int row) {
  if (forms::web::the_form != nullptr) forms::web::the_form->Clicked(row);
}
