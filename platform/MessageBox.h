#pragma once
// Modal message boxes as the user sees them, and the port that shows them.
#include <string>

#include "platform/FixedTexts.h"  // the captions come with the boxes

enum class MessageIcon { None, Exclamation, Question, Stop };
enum class MessageButtons { Ok, OkCancel };
enum class MessageResult { Ok, Cancel };

struct MessageBox {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::Exclamation;
  MessageButtons buttons = MessageButtons::Ok;

  bool operator==(const MessageBox&) const = default;
};

// An error reported with an OK button and the exclamation icon.
inline MessageBox ErrorBox(std::string text, std::string caption) {
  return {std::move(text), std::move(caption), MessageIcon::Exclamation, MessageButtons::Ok};
}

// A question with OK and Cancel and the question icon; only OK goes on.
inline MessageBox QuestionBox(std::string text, std::string caption) {
  return {std::move(text), std::move(caption), MessageIcon::Question, MessageButtons::OkCancel};
}

class MessagePort {
 public:
  virtual ~MessagePort() = default;
  virtual MessageResult Show(const MessageBox& box) = 0;
};
