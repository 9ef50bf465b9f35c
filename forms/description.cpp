// The look-ups in a description that are made at run time; see description.h.
#include "forms/description.h"

#include "forms/cp1251.h"

namespace forms {

std::u16string LabelledName(const Form& form, const Control& control) {
  std::u16string name;
  for (const Ref& ref : control.labelled_by) {
    if (ref.name == nullptr) continue;
    const Control* label = FindRow(form.controls, ref.name, ref.index);
    if (label == nullptr) continue;
    if (!name.empty()) name += u' ';
    name += DecodeCp1251(label->caption);
  }
  return name;
}

}  // namespace forms
