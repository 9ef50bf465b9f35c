// The watch between the form's code and a back end's elements; see
// control_table.h.
#include "forms/control_table.h"

#include "forms/cp1251.h"

namespace forms {

// Each write goes through to the back end's element and notes its row;
// reads go straight through.
template <>
class ControlTable::Watch<board::List> : public board::List {
 public:
  Watch(board::List& inner, ControlTable& table, std::size_t row) : inner_(inner), table_(table), row_(row) {}
  int Count() const override { return inner_.Count(); }
  void Clear() override {
    inner_.Clear();
    table_.Touch(row_);
  }
  void Append(std::string_view entry) override {
    inner_.Append(entry);
    table_.Touch(row_);
  }
  void RemoveAt(int index) override {
    inner_.RemoveAt(index);
    table_.Touch(row_);
  }

 private:
  board::List& inner_;
  ControlTable& table_;
  std::size_t row_;
};

template <>
class ControlTable::Watch<board::Text> : public board::Text {
 public:
  Watch(board::Text& inner, ControlTable& table, std::size_t row) : inner_(inner), table_(table), row_(row) {}
  std::string Get() const override { return inner_.Get(); }
  void Set(std::string_view text) override {
    inner_.Set(text);
    table_.Touch(row_);
  }

 private:
  board::Text& inner_;
  ControlTable& table_;
  std::size_t row_;
};

template <>
class ControlTable::Watch<board::Caption> : public board::Caption {
 public:
  Watch(board::Caption& inner, ControlTable& table, std::size_t row) : inner_(inner), table_(table), row_(row) {}
  void SetCaption(std::string_view caption) override {
    inner_.SetCaption(caption);
    table_.captions_[row_] = caption;
    table_.Touch(row_);
  }

 private:
  board::Caption& inner_;
  ControlTable& table_;
  std::size_t row_;
};

template <>
class ControlTable::Watch<board::Switch> : public board::Switch {
 public:
  Watch(board::Switch& inner, ControlTable& table, std::size_t row) : inner_(inner), table_(table), row_(row) {}
  bool Enabled() const override { return inner_.Enabled(); }
  void SetEnabled(bool enabled) override {
    inner_.SetEnabled(enabled);
    table_.Touch(row_);
  }

 private:
  board::Switch& inner_;
  ControlTable& table_;
  std::size_t row_;
};

template <>
class ControlTable::Watch<board::Option> : public board::Option {
 public:
  Watch(board::Option& inner, ControlTable& table, std::size_t row) : inner_(inner), table_(table), row_(row) {}
  bool Value() const override { return inner_.Value(); }
  void SetValue(bool selected) override {
    inner_.SetValue(selected);
    table_.Touch(row_);
  }

 private:
  board::Option& inner_;
  ControlTable& table_;
  std::size_t row_;
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
