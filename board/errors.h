// The run-time errors of the board and its elements, each with its number
// and text. Nothing in the board catches them: they leave the event handler,
// and the forms runtime reports them to the user and ends the program.
#pragma once

#include <stdexcept>
#include <string>

namespace board {

class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, const std::string& message) : std::runtime_error(message), number_(number) {}
  // The error number the report shows, as the forms platform numbers it.
  int number() const { return number_; }

 private:
  int number_;
};

// A number does not fit the type it is converted to.
class OverflowError : public RuntimeError {
 public:
  OverflowError() : RuntimeError(6, "Препълване: число извън допустимия обхват.") {}
};

// A computation produced an infinite or undefined floating-point result.
class FloatingPointError : public RuntimeError {
 public:
  FloatingPointError() : RuntimeError(16, "Грешка при изчисление с плаваща запетая.") {}
};

// A control array was addressed with an index it has no member for.
class NoSuchElementError : public RuntimeError {
 public:
  NoSuchElementError() : RuntimeError(340, "Няма елемент с такъв индекс в масива от контроли.") {}
};

}  // namespace board
