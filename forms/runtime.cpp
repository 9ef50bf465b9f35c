// The report of a run-time error; see runtime.h.
#include "forms/runtime.h"

#include "board/errors.h"
#include "forms/cp1251.h"

namespace forms {

ErrorReport ReportFor(const Form& form, const std::exception& error) {
  ErrorReport report;
  // The title is the form's caption without the site address before it.
  std::u16string caption = DecodeCp1251(form.caption);
  const auto gap = caption.find(u"   ");
  report.title = gap == std::u16string::npos ? caption : caption.substr(gap + 3);
  if (const auto* runtime = dynamic_cast<const board::RuntimeError*>(&error)) {
    report.message = u"Грешка при изпълнение " + DecodeUtf8(std::to_string(runtime->number())) + u":\n\n" +
                     DecodeUtf8(runtime->what());
  } else {
    report.message = u"Грешка при изпълнение:\n\n" + DecodeUtf8(error.what());
  }
  return report;
}

}  // namespace forms
