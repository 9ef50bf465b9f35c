// The watch between the form's code and a back end's elements; see
// control_table.h.
#include "forms/control_table.h"

#include "forms/cp1251.h"

namespace forms {

// Each write goes through to the back end's element and notes its row;
// reads go straight through.
template <class T>
class ControlTable::Watched : public T {
 public:
  Watched(T& inner, ControlTable& table, std::size_t row) : inner_(inner), table_(table), row_(row) {}

 protected:
  void Touched() { table_.Touch(row_); }

  T& inner_;
  ControlTable& table_;
  std::size_t row_;
};

template <>
class ControlTable::Watch<board::List> : public Watched<board::List> {
 public:
  using Watched::Watched;
  int Count() const override { return inner_.Count(); }
  void Clear() override {
    inner_.Clear();
    Touched();
  }
  void Append(std::string_view entry) override {
    inner_.Append(entry);
    Touched();
  }
  void RemoveAt(int index) override {
    inner_.RemoveAt(index);
    Touched();
  }
};

template <>
class ControlTable::Watch<board::Text> : public Watched<board::Text> {
 public:
  using Watched::Watched;
  std::string Get() const override { return inner_.Get(); }
  void Set(std::string_view text) override {
    inner_.Set(text);
    Touched();
  }
};

template <>
class ControlTable::Watch<board::Caption> : public Watched<board::Caption> {
 public:
  using Watched::Watched;
  void SetCaption(std::string_view caption) override {
    inner_.SetCaption(caption);
    table_.captions_[row_] = caption;
    Touched();
  }
};

template <>
class ControlTable::Watch<board::Switch> : public Watched<board::Switch> {
 public:
  using Watched::Watched;
  bool Enabled() const override { return inner_.Enabled(); }
  void SetEnabled(bool enabled) override {
    inner_.SetEnabled(enabled);
    Touched();
  }
};

template <>
class ControlTable::Watch<board::Option> : public Watched<board::Option> {
 public:
  using Watched::Watched;
  bool Value() const override { return inner_.Value(); }
  void SetValue(bool selected) override {
    inner_.SetValue(selected);
    Touched();
  }
};

void ControlTable::SetElement(std::size_t row, Element element) {
  elements_[row] = std::move(element);
  // A label's caption that the form's code sets is UTF-8; the description's
  // are Windows-1251. Only labels' captions are asked for.
  if (form_.controls[row].kind == ControlKind::kLabel)
    captions_[row] = EncodeUtf8(DecodeCp1251(form_.controls[row].caption));
  watched_[row] = std::visit(
      [this, row](auto& inner) -> Element {
        using Pointer = std::decay_t<decltype(inner)>;
        if constexpr (std::is_same_v<Pointer, std::monostate>) {
          return {};
        } else {
          using Kind = typename Pointer::element_type;
          return std::unique_ptr<Kind>(std::make_unique<Watch<Kind>>(*inner, *this, row));
        }
      },
      elements_[row]);
}

}  // namespace forms
