// The frame every back end shares; see back_end.h.
#include "forms/back_end.h"

#include <algorithm>
#include <string>

#include "forms/cp1251.h"

namespace forms {

namespace {

std::u16string Widened(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

// The captions of the labels that name a control, joined by `between`.
std::u16string Labels(const Form& form, const Control& c, std::u16string_view between) {
  std::u16string name;
  for (const Ref& ref : c.labelled_by) {
    if (ref.name == nullptr) continue;
    const int row = FindControl(form, ref.name, ref.index);
    if (row < 0) continue;
    if (!name.empty()) name += between;
    name += DecodeCp1251(form.controls[static_cast<std::size_t>(row)].caption);
  }
  return name;
}

bool IsCell(const Control& c) { return c.kind == ControlKind::kTextBox && !c.multi_line; }

void AddSentence(std::u16string& words, const std::u16string& sentence) {
  if (sentence.empty()) return;
  if (!words.empty()) words += u". ";
  words += sentence;
}

}  // namespace

std::u16string BackEnd::SaidOf(std::size_t row) {
  const Form& form = Description();
  const Control& c = form.controls[row];
  switch (c.kind) {
    case ControlKind::kListBox:
      if (auto* list = ElementAt<board::List>(row))
        return Labels(form, c, u", ") + u": " + Widened(std::to_string(list->Count()));
      break;
    case ControlKind::kTextBox:
      if (auto* text = ElementAt<board::Text>(row); text != nullptr && !c.multi_line) {
        const std::u16string now = DecodeCp1251(text->Get());
        return Labels(form, c, u", ") + u": " + (now.empty() ? std::u16string(u"празно") : now);
      }
      break;
    case ControlKind::kLabel: return LabelledName(form, c) + DecodeUtf8(CaptionOf(row));
    case ControlKind::kButton:
      if (auto* button = ElementAt<board::Switch>(row))
        return DecodeCp1251(c.caption) + (button->Enabled() ? u": достъпен" : u": недостъпен");
      break;
    case ControlKind::kOptionButton:
      if (auto* option = ElementAt<board::Option>(row))
        return DecodeCp1251(c.caption) + (option->Value() ? u": избран" : u": не е избран");
      break;
    case ControlKind::kFrame: break;
  }
  return {};
}

// The words of a change: the cells (or that all of them are empty), the
// summaries, the pools' counts in one sentence, the buttons that became
// usable or not, and a group left with nothing selected or selected
// otherwise than by the user's press.
void BackEnd::TellChange(const Control* pressed) {
  const Form& form = Description();
  const std::vector<std::size_t> touched = TakeTouched();
  Change change;
  std::vector<char> changed(form.controls.size(), 0);
  // The user's own choice of a selector changed its group behind the form's
  // code; the reader speaks the focused choice itself.
  if (pressed != nullptr && pressed->kind == ControlKind::kOptionButton) {
    const int group = SelectorGroup(form, static_cast<int>(pressed - form.controls.data()));
    for (std::size_t row = 0; row < said_.size(); ++row) {
      if (SelectorGroup(form, static_cast<int>(row)) == group) said_[row] = SaidOf(row);
    }
  }
  for (const std::size_t row : touched) {
    std::u16string now = SaidOf(row);
    if (now == said_[row]) continue;
    said_[row] = now;
    changed[row] = 1;
  }
  for (std::size_t row = 0; row < changed.size(); ++row) {
    if (changed[row] != 0) change.parts.push_back({row, said_[row]});
  }
  if (pressed != nullptr) {
    const auto touched_row = [&](std::size_t row) {
      return std::find(touched.begin(), touched.end(), row) != touched.end();
    };
    bool all_cells_cleared = true, any_cell = false;
    for (std::size_t row = 0; row < form.controls.size(); ++row) {
      if (!IsCell(form.controls[row])) continue;
      any_cell = true;
      auto* text = ElementAt<board::Text>(row);
      if (!touched_row(row) || text == nullptr || !text->Get().empty()) all_cells_cleared = false;
    }
    std::u16string words, pools, usable, unusable;
    int usable_count = 0, unusable_count = 0;
    if (any_cell && all_cells_cleared) AddSentence(words, u"Всички клетки са празни");
    for (const Change::Part& part : change.parts) {
      const Control& c = form.controls[part.row];
      if (IsCell(c) && !all_cells_cleared) AddSentence(words, part.said);
    }
    for (const Change::Part& part : change.parts) {
      const Control& c = form.controls[part.row];
      if (c.kind == ControlKind::kLabel) AddSentence(words, part.said);
      if (c.kind == ControlKind::kListBox) pools += (pools.empty() ? u"" : u", ") + part.said;
      if (c.kind == ControlKind::kButton) {
        const bool enabled = ElementAt<board::Switch>(part.row)->Enabled();
        std::u16string& list = enabled ? usable : unusable;
        list += (list.empty() ? u"" : u", ") + DecodeCp1251(c.caption);
        ++(enabled ? usable_count : unusable_count);
      }
    }
    AddSentence(words, pools);
    if (usable_count > 0) AddSentence(words, (usable_count > 1 ? u"Достъпни: " : u"Достъпен: ") + usable);
    if (unusable_count > 0) AddSentence(words, (unusable_count > 1 ? u"Недостъпни: " : u"Недостъпен: ") + unusable);
    // Selection: per group with a changed member.
    std::vector<int> groups_told;
    for (const Change::Part& part : change.parts) {
      if (form.controls[part.row].kind != ControlKind::kOptionButton) continue;
      const int group = SelectorGroup(form, static_cast<int>(part.row));
      if (std::find(groups_told.begin(), groups_told.end(), group) != groups_told.end()) continue;
      groups_told.push_back(group);
      int checked = -1;
      for (std::size_t row = 0; row < form.controls.size(); ++row) {
        auto* option = ElementAt<board::Option>(row);
        if (option != nullptr && SelectorGroup(form, static_cast<int>(row)) == group && option->Value())
          checked = static_cast<int>(row);
      }
      if (checked < 0) {
        const Control& first = form.controls[static_cast<std::size_t>(group)];
        const int frame = first.container == nullptr ? -1 : FindControl(form, first.container, -1);
        const std::u16string name =
            frame < 0 ? std::u16string() : DecodeCp1251(form.controls[static_cast<std::size_t>(frame)].caption) + u": ";
        AddSentence(words, name + u"няма избрана");
      } else if (&form.controls[static_cast<std::size_t>(checked)] != pressed) {
        AddSentence(words, u"Избрана: " + DecodeCp1251(form.controls[static_cast<std::size_t>(checked)].caption));
      }
    }
    // A press that changed nothing says so, not silence.
    if (words.empty() && pressed->kind == ControlKind::kButton) words = u"Без промяна";
    change.words = std::move(words);
  }
  if (change.parts.empty() && change.words.empty()) return;
  Changed(change);
}

template <class Event>
void BackEnd::Deliver(const Event& event) {
  if (ended_ || handlers_ == nullptr) return;
  forms::Deliver(Description(), event, [this](const ErrorReport& report) { Report(report); });
}

Box BackEnd::WindowBox(const Form& form, std::size_t row, int dpi) {
  const Control& c = form.controls[row];
  const auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
  Box box{px(c.left), px(c.top), px(c.width), px(c.height)};
  // A frame's place is from its own container's origin, up to the window.
  for (const char* container = c.container; container != nullptr;) {
    const int frame = FindControl(form, container, -1);
    if (frame < 0) break;
    const Control& f = form.controls[static_cast<std::size_t>(frame)];
    box.left += px(f.left);
    box.top += px(f.top);
    container = f.container;
  }
  return box;
}

Placement BackEnd::Place(const Form& form, std::size_t row, int dpi) {
  const Control& c = form.controls[row];
  const auto px = [dpi](int twips) { return TwipsToPixels(twips, dpi); };
  return {row,
          &c,
          c.container == nullptr ? -1 : FindControl(form, c.container, -1),
          {px(c.left), px(c.top), px(c.width), px(c.height)},
          WindowBox(form, row, dpi),
          WithLineFeeds(DecodeCp1251(c.caption)),
          LabelledName(form, c),
          SelectorGroup(form, static_cast<int>(row)),
          ArrowTargetsOf(form, static_cast<int>(row))};
}

std::vector<std::size_t> BackEnd::CreationOrder(const Form& form) {
  // A frame comes at its own tab index, or before the first control it
  // holds if that comes sooner.
  std::vector<int> key(form.controls.size());
  for (std::size_t i = 0; i < key.size(); ++i) key[i] = form.controls[i].tab_index;
  for (std::size_t i = 0; i < key.size(); ++i) {
    const Control& c = form.controls[i];
    const int frame = c.container == nullptr ? -1 : FindControl(form, c.container, -1);
    if (frame >= 0) key[static_cast<std::size_t>(frame)] = std::min(key[static_cast<std::size_t>(frame)], c.tab_index);
  }
  std::vector<std::size_t> order(key.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (key[a] != key[b]) return key[a] < key[b];
    return form.controls[a].kind == ControlKind::kFrame && form.controls[b].kind != ControlKind::kFrame;
  });
  return order;
}

void BackEnd::Build(int dpi) {
  const Form& form = Description();
  for (const std::size_t row : CreationOrder(form)) SetElement(row, MakeControl(Place(form, row, dpi)));
  TakeTouched();
  if (!tells_changes_) return;
  // What each row says before any event; the form's code has written nothing yet.
  said_.resize(form.controls.size());
  for (std::size_t row = 0; row < said_.size(); ++row) said_[row] = SaidOf(row);
}

bool BackEnd::Load(Handlers& handlers) {
  handlers_ = &handlers;
  ConnectEvents();
  Deliver([this] { handlers_->Load(); });
  if (!ended_ && tells_changes_) TellChange(nullptr);
  return !ended_;
}

void BackEnd::RaiseClick(const Control& control) {
  if (ended_ || handlers_ == nullptr) return;
  Deliver([this, &control] { handlers_->Click(control); });
  if (!ended_ && tells_changes_) TellChange(&control);
}

void BackEnd::Report(const ErrorReport& report) {
  ended_ = true;
  if (reporter_) {
    reporter_(report);
    return;
  }
  ShowErrorBox(report);
  EndProgram();
}

}  // namespace forms
