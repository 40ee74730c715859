#pragma once
// Errors that end the current user action. The event boundary of the program
// shows each one in a message box and the program goes on.
#include <stdexcept>
#include <string>

#include "platform/MessageBox.h"

class UserActionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  // How the event boundary reports it.
  virtual MessageBox Box() const { return {what(), kApplicationTitle, MessageIcon::Stop, MessageButtons::Ok}; }
};

// A text that is not a number, from the text-to-number conversions.
class ConversionError : public UserActionError {
 public:
  using UserActionError::UserActionError;
};

// A floating-point fault: invalid operation, division by zero or overflow.
class FloatingPointFault : public UserActionError {
 public:
  enum class Kind { InvalidOperation, DivideByZero, Overflow };
  explicit FloatingPointFault(Kind kind) : UserActionError(TextOf(kind)), kind_(kind) {}
  Kind kind() const { return kind_; }

  static const char* TextOf(Kind kind) {
    switch (kind) {
      case Kind::InvalidOperation: return "不正な浮動小数点数演算命令";
      case Kind::DivideByZero: return "0 による浮動小数点数除算";
      case Kind::Overflow: return "浮動小数点数のオーバーフロー";
    }
    return "";
  }

 private:
  Kind kind_;
};

// A failure that carries its own message box (text, caption, icon), such as a
// solver that gave up. The action ends; the program goes on.
class ReportedFailure : public UserActionError {
 public:
  explicit ReportedFailure(MessageBox box) : UserActionError(box.text), box_(std::move(box)) {}
  MessageBox Box() const override { return box_; }

 private:
  MessageBox box_;
};
