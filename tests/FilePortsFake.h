#pragma once
// Scripted platform ports for driving the file operations in tests: dialogs
// that answer from a script and message boxes that are recorded.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"

class ScriptedDialogs : public FileDialogPort {
 public:
  // Queue an answer (nothing = the user cancels) for the next dialog.
  void AnswerOpen(std::optional<FileDialogAnswer> answer) { open_.push_back(std::move(answer)); }
  void AnswerSave(std::optional<FileDialogAnswer> answer) { save_.push_back(std::move(answer)); }

  std::optional<FileDialogAnswer> RunOpenDialog(const FileDialogRequest& request) override {
    openRequests.push_back(request);
    return Take(open_);
  }
  std::optional<FileDialogAnswer> RunSaveDialog(const FileDialogRequest& request) override {
    saveRequests.push_back(request);
    return Take(save_);
  }

  std::vector<FileDialogRequest> openRequests;
  std::vector<FileDialogRequest> saveRequests;

 private:
  static std::optional<FileDialogAnswer> Take(std::deque<std::optional<FileDialogAnswer>>& queue) {
    if (queue.empty()) return std::nullopt;
    std::optional<FileDialogAnswer> answer = std::move(queue.front());
    queue.pop_front();
    return answer;
  }
  std::deque<std::optional<FileDialogAnswer>> open_;
  std::deque<std::optional<FileDialogAnswer>> save_;
};

class RecordingMessages : public MessagePort {
 public:
  // Answers for questions, in order; OK once the queue is empty.
  std::deque<MessageResult> replies;
  std::vector<MessageBox> shown;

  MessageResult Show(const MessageBox& box) override {
    shown.push_back(box);
    if (replies.empty()) return MessageResult::Ok;
    const MessageResult reply = replies.front();
    replies.pop_front();
    return reply;
  }
};
