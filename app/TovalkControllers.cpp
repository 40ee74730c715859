#include "app/TovalkControllers.h"

#include <utility>

TovalkControllers::TovalkControllers(const MainWindowPorts& mainPorts, ProfileEditorView& editorView,
                                     SettingsView& settingsView, Canvas& previewPicture, std::string startDir)
    : main_(mainPorts, std::move(startDir)),
      editor_(editorView, main_.workspace(), mainPorts.messages, main_),
      settings_(settingsView, main_.workspace().settings, main_.workspace().startDir, mainPorts.messages,
                previewPicture, main_) {
  main_.Connect(editor_, settings_);
}
