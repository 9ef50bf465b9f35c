// Finding controls and reporting run-time errors; see runtime.h.
#include "forms/runtime.h"

#include <cstring>

#include "board/errors.h"
#include "forms/cp1251.h"

namespace forms {

int FindControl(const Form& form, std::string_view name, int index) {
  for (std::size_t row = 0; row < form.controls.size(); ++row) {
    const Control& c = form.controls[row];
    if (c.name == name && c.index == index) return static_cast<int>(row);
  }
  return -1;
}

std::u16string LabelledName(const Form& form, const Control& control) {
  std::u16string name;
  for (const Ref& ref : control.labelled_by) {
    if (ref.name == nullptr) continue;
    const int row = FindControl(form, ref.name, ref.index);
    if (row < 0) continue;
    if (!name.empty()) name += u' ';
    name += DecodeCp1251(form.controls[static_cast<std::size_t>(row)].caption);
  }
  return name;
}

std::u16string WithLineFeeds(std::u16string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' || i + 1 >= text.size() || text[i + 1] != u'\n') out += text[i];
  }
  return out;
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

std::u16string FromUtf8(std::string_view s) {
  std::u16string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int extra = b < 0x80 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    char32_t c = extra == 0 ? b : static_cast<char32_t>(b & (0x3F >> extra));
    std::size_t k = 1;
    for (; k <= static_cast<std::size_t>(extra) && i + k < s.size(); ++k) {
      c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3Fu);
    }
    i += k;
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

namespace {

std::u16string Ascii(std::string_view s) { return std::u16string(s.begin(), s.end()); }

}  // namespace

ErrorReport ReportFor(const Form& form, const std::exception& error) {
  ErrorReport report;
  // The title is the form's caption without the site address before it.
  std::u16string caption = DecodeCp1251(form.caption);
  const auto gap = caption.find(u"   ");
  report.title = gap == std::u16string::npos ? caption : caption.substr(gap + 3);
  if (const auto* runtime = dynamic_cast<const board::RuntimeError*>(&error)) {
    report.message =
        u"Грешка при изпълнение " + Ascii(std::to_string(runtime->number())) + u":\n\n" + FromUtf8(runtime->what());
  } else {
    report.message = u"Грешка при изпълнение:\n\n" + FromUtf8(error.what());
  }
  return report;
}

}  // namespace forms
