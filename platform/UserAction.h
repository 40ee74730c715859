#pragma once
// The event boundary: every user action runs inside it. An error that ends
// the action is shown in its message box and the program goes on.
#include <exception>
#include <string>

#include "platform/Errors.h"
#include "platform/MessageBox.h"

// Runs the action; a UserActionError is reported with its own box, any other
// exception with the standard error box. Returns true when the action ended
// normally.
template <typename Action>
bool RunUserAction(MessagePort& messages, Action&& action) {
  try {
    action();
    return true;
  } catch (const UserActionError& error) {
    messages.Show(error.Box());
  } catch (const std::exception& error) {
    messages.Show({error.what(), kApplicationTitle, MessageIcon::Stop, MessageButtons::Ok});
  }
  return false;
}
