// The elements the board keeps its state in: pools, count cells, summaries,
// the pouring switches and the selectors. A window backs them with real
// controls; tests back them with the in-memory ones of memory_elements.h.
// Texts are in the form's code page (Windows-1251); the board itself only
// ever writes ASCII.
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

class Option {
 public:
  virtual ~Option() = default;
  virtual bool Value() const = 0;
  // Setting the value never raises a selection event.
  virtual void SetValue(bool selected) = 0;
};

}  // namespace board
