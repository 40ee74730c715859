#pragma once
// The main window TOpen as its controller reaches it: controls by name,
// captions, check marks, the radio group, the secondary windows. The Qt form
// implements it; tests use a fake.
#include <string>

#include "graphics/Matgrid.h"

enum class MainControl {
  RadioItemEdit,  // RadioGroup1 item "編　　集"
  RadioItemSave,  // RadioGroup1 item "ﾌｧｲﾙ保存"
  Button2,        // "実 行"
  Button3,        // "地層図"
  Button7,        // "地層ﾃﾞｰﾀ"
  BtnAmplitude,   // "増幅特性"
  Button8,        // "保 存"
  Button4,        // copy "地層図"
  Button5,        // copy "増幅特性図"
  Button1,        // "終了"
  Button6,        // "解析法/書式"
  CBTest,         // "固有周期/モード"
  CheckBox1,      // "増幅率リスト"
};

enum class MainLabel { Label3, Label4, Label5, Label6, Label7 };

enum class MainMenuMark {
  MultiColour,   // "編集" > "地層図色設定" > "多色"
  SingleColour,  // "単色"
  Thin,          // "編集" > "増幅特性曲線の太さ" > "細い"
  Bold,          // "太い"
};

// Qt's X11 interface declares a global `Display`; a scoped enumerator never
// clashes with it, but GCC's -Wshadow says it does wherever Qt comes first.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
enum class SecondaryWindow { Profile, HowTo, Version, Display, DataInput, AmpList };
#pragma GCC diagnostic pop

// RadioGroup1 items.
inline constexpr int kItemNew = 0;   // "新規作成"
inline constexpr int kItemLoad = 1;  // "ﾌｧｲﾙ読込"
inline constexpr int kItemEdit = 2;  // "編　　集"
inline constexpr int kItemSave = 3;  // "ﾌｧｲﾙ保存"

class MainWindowView {
 public:
  virtual ~MainWindowView() = default;

  virtual void SetEnabled(MainControl control, bool enabled) = 0;
  virtual void SetLabel(MainLabel label, const std::string& text) = 0;

  virtual int RadioGroup1Index() const = 0;
  virtual void SetRadioGroup1Index(int index) = 0;

  virtual bool MenuChecked(MainMenuMark mark) const = 0;
  virtual void SetMenuChecked(MainMenuMark mark, bool checked) = 0;

  virtual bool CBTestChecked() const = 0;
  virtual bool CheckBox1Checked() const = 0;

  // MatGrid1 (mode shapes) and MatGrid2 (natural periods).
  virtual void ShowMatGrids(bool visible) = 0;
  virtual void SetMatGrids(const TMatGrid& modes, const TMatGrid& periods) = 0;

  // The stratum picture Image2 and the chart MyGraph1 were drawn on.
  virtual void PicturesChanged() = 0;

  // Secondary windows: show (and bring to the front) or hide.
  virtual void ShowWindow(SecondaryWindow window) = 0;
  virtual void HideWindow(SecondaryWindow window) = 0;

  // Closes the main window, which ends the program.
  virtual void CloseMainWindow() = 0;
};
