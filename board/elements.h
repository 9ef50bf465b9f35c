// The elements the board keeps its state in: pools, count cells, summaries,
// the pouring switches and the selectors. A window backs them with real
// controls; tests back them with the in-memory ones of memory_elements.h.
// The entries of lists and the texts of text boxes are in the form's code
// page (Windows-1251), as the user's typing is; the board writes only ASCII
// there. A caption is UTF-8: a summary carries the user's decimal separator,
// which may be any character (U+066B) or several ("--"), most of them with no
// Windows-1251 form.
#pragma once

#include <string>
#include <string_view>

namespace board {

class List {
 public:
  virtual ~List() = default;
  virtual int Count() const = 0;
  virtual void Clear() = 0;
  virtual void Append(std::string_view entry) = 0;
  virtual void RemoveAt(int index) = 0;
};

class Text {
 public:
  virtual ~Text() = default;
  virtual std::string Get() const = 0;
  virtual void Set(std::string_view text) = 0;
};

class Caption {
 public:
  virtual ~Caption() = default;
  virtual void SetCaption(std::string_view caption) = 0;
};

class Switch {
 public:
  virtual ~Switch() = default;
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
};

// The user's number format, asked at every summary: the user may change it
// while the game runs.
class Locale {
 public:
  virtual ~Locale() = default;
  // The decimal separator as the system gives it now, UTF-8: one character
  // or several.
  virtual std::string DecimalSeparator() const = 0;
};

class Option {
 public:
  virtual ~Option() = default;
  virtual bool Value() const = 0;
  // Setting the value never raises a selection event.
  virtual void SetValue(bool selected) = 0;
};

}  // namespace board
