// The editor, settings, list and small windows driven as a user drives them
// (key presses, clicks), over the real controllers, offscreen.
#include <gtest/gtest.h>

#include <utility>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTextBlock>
#include <QToolButton>

#include <map>
#include <string>

#include "FilePortsFake.h"
#include "TempFolder.h"
#include "app/TovalkControllers.h"
#include "graphics/PictureSizes.h"
#include "platform/UserAction.h"
#include "platform/qt/QtCanvas.h"
#include "graphics/qt/TitlePictures.h"
#include "profile/ProfileEditorController.h"
#include "profile/qt/Uprofile.h"
#include "windows/SettingsController.h"
#include "windows/qt/Uamplist.h"
#include "windows/qt/Udisplay.h"
#include "windows/qt/Uhowto.h"
#include "windows/qt/Uinput.h"
#include "windows/qt/UpDownButtons.h"
#include "windows/qt/Uversion.h"

// Failures print the text, not the bytes.
static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

class MainViewStub : public MainWindowView {
 public:
  void SetEnabled(MainControl, bool) override {}
  void SetLabel(MainLabel, const std::string&) override {}
  int RadioGroup1Index() const override { return kItemLoad; }
  void SetRadioGroup1Index(int) override {}
  bool MenuChecked(MainMenuMark mark) const override { return menu.count(mark) && menu.at(mark); }
  void SetMenuChecked(MainMenuMark mark, bool checked) override { menu[mark] = checked; }
  bool CBTestChecked() const override { return false; }
  bool CheckBox1Checked() const override { return false; }
  void ShowMatGrids(bool) override {}
  void SetMatGrids(const TMatGrid&, const TMatGrid&) override {}
  void PicturesChanged() override {}
  void ShowWindow(SecondaryWindow) override {}
  void HideWindow(SecondaryWindow window) override { hidden.push_back(window); }
  void CloseMainWindow() override {}

  std::map<MainMenuMark, bool> menu;
  std::vector<SecondaryWindow> hidden;
};

class NoClipboard : public ClipboardPort {
 public:
  void SetPicture(const Canvas&) override {}
};

// The editor, settings and list windows with their controllers, wired as the
// program wires them; the main window is a stub view over its real controller.
struct Forms {
  explicit Forms(const std::string& startDir)
      : controllers({mainView, messages, dialogs, clipboard, stratum, chart, list}, profile, display,
                    display.PreviewCanvas(), startDir) {
    profile.Attach(editor, messages);
    display.Attach(settings, messages);
    // As the program wires it: "設定" runs in the main window's controller.
    QObject::connect(&display, &TDisplay::ApplyClicked, &display,
                     [this] { RunUserAction(messages, [this] { main.SettingsButton2Click(); }); });
    settings.FormCreate();
  }

  ProfileGrid& grid() { return main.workspace().grid; }
  AnalysisSettings& values() { return main.workspace().settings; }
  template <typename T>
  T* In(QWidget& form, const char* name) {
    T* widget = form.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  MainViewStub mainView;
  RecordingMessages messages;
  ScriptedDialogs dialogs;
  NoClipboard clipboard;
  QtCanvas stratum{kStratumPictureWidth, kStratumPictureHeight};
  QtCanvas chart{kChartPictureWidth, kChartPictureHeight};
  TAmpList list;
  TProfile profile;
  TDisplay display;
  TovalkControllers controllers;
  MainWindowController& main = controllers.main();
  ProfileEditorController& editor = controllers.editor();
  SettingsController& settings = controllers.settings();
};

// Key presses carrying the text, as the keyboard delivers them.
void Type(QWidget* target, const QString& text) {
  for (const QChar c : text) {
    const int key = c.unicode() < 0x80 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(target, &release);
  }
}

void Retype(QLineEdit* field, const QString& text) {
  field->selectAll();
  Type(field, text);
}

// The open in-place editor; closed ones linger hidden until deleted.
QLineEdit* OpenCellEditor(QTableWidget* grid) {
  for (QLineEdit* editor : grid->viewport()->findChildren<QLineEdit*>()) {
    if (!editor->isHidden()) return editor;
  }
  return nullptr;
}

// Types into a grid cell: the first key starts the in-place editor, the rest
// go to it. The editor is left open, as while the user is still typing.
void TypeIntoCell(QTableWidget* grid, int row, int col, const QString& text) {
  grid->setCurrentCell(row, col);
  Type(grid, text.left(1));
  if (QLineEdit* editor = OpenCellEditor(grid)) Type(editor, text.mid(1));
}

void Click(QWidget* widget, QPoint at = {2, 2}) {
  QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
}

QString Checked(QWidget* box) {
  QString chosen;
  for (QRadioButton* item : box->findChildren<QRadioButton*>()) {
    if (item->isChecked()) chosen += item->text();
  }
  return chosen;
}

TEST(ProfileForm, TypingReachesTheGridOnlyInEditMode) {
  TempFolder folder;
  Forms forms(folder.path().string());
  forms.profile.show();
  auto* grid = forms.In<QTableWidget>(forms.profile, "StringGrid1");

  // Edit mode is off from the start: keys open no editor and change nothing.
  EXPECT_FALSE(forms.In<QCheckBox>(forms.profile, "CBEdit")->isChecked());
  TypeIntoCell(grid, 1, 1, "7");
  EXPECT_EQ(OpenCellEditor(grid), nullptr);
  EXPECT_EQ(forms.grid().Cell(1, 1), "");
  for (const char* name : {"Button2", "Button4", "BtnClear", "Edit1"}) {
    EXPECT_FALSE(forms.In<QWidget>(forms.profile, name)->isEnabled()) << name;
  }

  // The main window switches edit mode on: the box follows and the grid takes
  // every keystroke at once, before the cell is left.
  forms.editor.SetEditMode(true);
  EXPECT_TRUE(forms.In<QCheckBox>(forms.profile, "CBEdit")->isChecked());
  EXPECT_TRUE(forms.In<QPushButton>(forms.profile, "Button2")->isEnabled());
  TypeIntoCell(grid, 1, 1, "2.5");
  EXPECT_EQ(forms.grid().Cell(1, 1), "2.5");
  TypeIntoCell(grid, 2, 3, "150.6");  // the first editor closes as the next cell starts
  EXPECT_EQ(forms.grid().Cell(3, 2), "150.6");
  Retype(forms.In<QLineEdit>(forms.profile, "EdSite"), "港区芝");
  EXPECT_EQ(forms.grid().EdSite, "港区芝");

  // The user unmarks the box: typing is refused again.
  forms.In<QCheckBox>(forms.profile, "CBEdit")->click();
  EXPECT_FALSE(forms.grid().CBEdit);
  grid->setFocus();
  TypeIntoCell(grid, 3, 1, "9");
  EXPECT_EQ(forms.grid().Cell(1, 3), "");

  // "地層図" on the incomplete grid: refused with the editor's message,
  // through the form's button.
  forms.editor.SetEditMode(true);
  forms.In<QPushButton>(forms.profile, "Button2")->click();
  ASSERT_EQ(forms.messages.shown.size(), 1u);
  EXPECT_EQ(forms.messages.shown[0], ErrorBox("数値の入っていないセルがあります！", "データエラー"));
  EXPECT_EQ(grid->item(1, 1)->text(), "2.5");
}

void Key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(widget, &press);
}

TEST(ProfileForm, DepthsAndLabelsTakeNoTypingAndTabAndEnterMoveBetweenTypedCells) {
  TempFolder folder;
  Forms forms(folder.path().string());
  forms.profile.show();
  forms.editor.SetEditMode(true);
  auto* grid = forms.In<QTableWidget>(forms.profile, "StringGrid1");

  // The depth column is computed: a key there opens no editor and changes
  // nothing.
  TypeIntoCell(grid, 2, 4, "9");
  EXPECT_EQ(OpenCellEditor(grid), nullptr);
  EXPECT_EQ(forms.grid().Cell(4, 2), "");

  // Tab from the depth cell lands on the next row's thickness, and the next
  // key is typed there rather than lost on the label cell.
  Key(grid, Qt::Key_Tab);
  EXPECT_EQ(grid->currentRow(), 3);
  EXPECT_EQ(grid->currentColumn(), 1);
  Type(grid, QStringLiteral("4"));
  ASSERT_NE(OpenCellEditor(grid), nullptr);
  EXPECT_EQ(forms.grid().Cell(1, 3), "4");

  // Tab and Enter while typing keep the text and move along the row, then
  // to the next row's first typed cell; Shift+Tab goes back.
  Key(OpenCellEditor(grid), Qt::Key_Tab);
  EXPECT_EQ(grid->currentColumn(), 2);
  Type(grid, QStringLiteral("1"));
  Key(OpenCellEditor(grid), Qt::Key_Return);
  EXPECT_EQ(grid->currentColumn(), 3);
  Key(grid, Qt::Key_Enter);
  EXPECT_EQ(std::pair(grid->currentRow(), grid->currentColumn()), std::pair(4, 1));
  Key(grid, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(std::pair(grid->currentRow(), grid->currentColumn()), std::pair(3, 3));
  EXPECT_EQ(forms.grid().Cell(1, 3), "4");
  EXPECT_EQ(forms.grid().Cell(2, 3), "1");
  EXPECT_EQ(grid->item(3, 0)->text(), QStringLiteral("   3")) << "labels unchanged";
}

TEST(ProfileForm, SpinnerArrowsRelabelRowsAndTypedCountsWaitForTheUserToBeDone) {
  TempFolder folder;
  Forms forms(folder.path().string());
  auto* grid = forms.In<QTableWidget>(forms.profile, "StringGrid1");
  auto* edit1 = forms.In<QLineEdit>(forms.profile, "Edit1");
  auto* spinner = forms.In<UpDownButtons>(forms.profile, "UpDown1");
  forms.editor.SetEditMode(true);
  EXPECT_EQ(edit1->text(), "5");
  TypeIntoCell(grid, 6, 2, "1.90");  // the base row of 5 layers

  spinner->upButton()->click();
  EXPECT_EQ(edit1->text(), "6");
  EXPECT_EQ(grid->item(6, 0)->text(), "   6");
  EXPECT_EQ(grid->item(7, 0)->text(), "基盤層");
  EXPECT_EQ(grid->item(7, 1)->text(), "　　－");
  EXPECT_EQ(grid->item(8, 0)->text(), "");
  EXPECT_EQ(grid->item(6, 2)->text(), "1.90");  // the former base row keeps its values
  // The settings window follows the new count.
  EXPECT_TRUE(forms.In<QCheckBox>(forms.display, "CheckBox6")->isEnabled());
  EXPECT_FALSE(forms.In<QCheckBox>(forms.display, "CheckBox7")->isEnabled());

  // A typed count waits in its field until Enter; then the rows follow it,
  // keeping what was typed, and so do the layer boxes.
  Retype(edit1, "3");
  EXPECT_EQ(forms.grid().UpDown1Position(), 6);
  EXPECT_EQ(grid->item(7, 0)->text(), "基盤層");
  Key(edit1, Qt::Key_Return);
  EXPECT_EQ(forms.grid().UpDown1Position(), 3);
  EXPECT_EQ(grid->item(4, 0)->text(), "基盤層");
  EXPECT_EQ(grid->item(7, 0)->text(), "");
  EXPECT_EQ(grid->item(6, 2)->text(), "1.90");
  EXPECT_FALSE(forms.In<QCheckBox>(forms.display, "CheckBox4")->isEnabled());
  // The base row's "－" follows the count and takes no typing; the former
  // base row's does.
  TypeIntoCell(grid, 4, 1, "9");
  EXPECT_EQ(OpenCellEditor(grid), nullptr);
  EXPECT_EQ(forms.grid().Cell(1, 4), "　　－");
  TypeIntoCell(grid, 7, 1, "9");
  EXPECT_EQ(forms.grid().Cell(1, 7), "9");

  // A text that is no count is refused when an arrow reads it: the field
  // shows the count again and the arrow does nothing more.
  Retype(edit1, "x");
  EXPECT_EQ(edit1->text(), "x");
  spinner->downButton()->click();
  ASSERT_EQ(forms.messages.shown.size(), 1u);
  EXPECT_EQ(forms.messages.shown[0], ErrorBox("'x' は整数ではありません", "データエラー"));
  EXPECT_EQ(edit1->text(), "3");
  EXPECT_EQ(forms.grid().UpDown1Position(), 3);

  // The next arrow steps from the count; the new base row is emptied.
  spinner->downButton()->click();
  EXPECT_EQ(edit1->text(), "2");
  EXPECT_EQ(grid->item(3, 0)->text(), "基盤層");
  EXPECT_EQ(grid->item(6, 2)->text(), "");
  EXPECT_FALSE(forms.In<QCheckBox>(forms.display, "CheckBox3")->isEnabled());

  // The field's Up key is an arrow press, not typing.
  QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
  QApplication::sendEvent(edit1, &up);
  EXPECT_EQ(forms.grid().UpDown1Position(), 3);
  EXPECT_EQ(grid->item(4, 0)->text(), "基盤層");
}

TEST(ProfileForm, LayoutCaptionsAndHints) {
  TempFolder folder;
  Forms forms(folder.path().string());
  TProfile& form = forms.profile;
  form.show();
  EXPECT_EQ(form.windowTitle(), "地層構成表示/編集");
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  auto* grid = forms.In<QTableWidget>(form, "StringGrid1");
  ASSERT_EQ(grid->rowCount(), 22);
  ASSERT_EQ(grid->columnCount(), 5);
  const int widths[] = {46, 65, 63, 73, 64};
  const char* headers[] = {"層番号", " 層厚(m)", " 密度", " Ｓv(m/s)", " 深度(m)"};
  for (int col = 0; col < 5; ++col) {
    EXPECT_EQ(grid->columnWidth(col), widths[col]);
    EXPECT_EQ(grid->item(0, col)->text(), headers[col]);
  }
  EXPECT_EQ(grid->rowHeight(21), 18);
  EXPECT_EQ(grid->item(20, 0)->text(), "  20");
  EXPECT_FALSE(grid->item(0, 2)->flags() & Qt::ItemIsEditable);
  EXPECT_FALSE(grid->item(4, 0)->flags() & Qt::ItemIsEditable);
  // The whole grid is in view.
  EXPECT_GE(grid->viewport()->height(), 22 * 18);
  EXPECT_GE(grid->viewport()->width(), 46 + 65 + 63 + 73 + 64);

  const std::map<const char*, std::pair<const char*, const char*>> buttons{
      {"Button4", {"ﾌｧｲﾙ保存", "CSVﾌｧｲﾙ保存"}},
      {"BtnClear", {"クリア", "地層ﾃﾞｰﾀｸﾘｱ"}},
      {"Button2", {"地層図", "地層図表示"}},
      {"Button1", {"閉じる", "編集ｳｲﾝﾄﾞｳを閉じる"}}};
  for (const auto& [name, texts] : buttons) {
    auto* button = forms.In<QPushButton>(form, name);
    EXPECT_EQ(button->text(), texts.first);
    EXPECT_EQ(button->toolTip(), texts.second);
  }
  EXPECT_EQ(forms.In<QLineEdit>(form, "EdSite")->text(), " 地点名");
  EXPECT_EQ(forms.In<QLabel>(form, "Label7")->text(), "ﾌｧｲﾙ名 : ");
  EXPECT_EQ(forms.In<QLabel>(form, "Image1")->pixmap().size(), QSize(243, 35));

  // "閉じる" goes through the controller to the main window's hiding.
  forms.In<QPushButton>(form, "Button1")->click();
  ASSERT_EQ(forms.mainView.hidden.size(), 1u);
  EXPECT_EQ(forms.mainView.hidden[0], SecondaryWindow::Profile);
}

TEST(ProfileTitlePicture, RedLettersCentredInsideThePicture) {
  const QImage picture = ProfileTitlePicture();
  ASSERT_EQ(picture.size(), QSize(243, 35));
  int left = picture.width(), right = -1, top = picture.height(), bottom = -1, painted = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QRgb pixel = picture.pixel(x, y);
      if (qAlpha(pixel) == 0) continue;
      ++painted;
      ASSERT_GT(qRed(pixel), 0) << x << "," << y;
      ASSERT_EQ(qGreen(pixel), 0) << x << "," << y;
      ASSERT_EQ(qBlue(pixel), 0) << x << "," << y;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  ASSERT_GT(painted, 0);
  // Nothing is cut off at the edges, and the words sit in the middle.
  EXPECT_GT(left, 0);
  EXPECT_LT(right, 242);
  EXPECT_GT(top, 0);
  EXPECT_LT(bottom, 34);
  EXPECT_LE(std::abs(left - (242 - right)), 2);
  EXPECT_LE(std::abs(top - (34 - bottom)), 2);
  EXPECT_GT(right - left, 150);  // six characters, not a sliver
}

TEST(SettingsForm, ShowsLoadedSettingsAndWritesChangesBack) {
  TempFolder folder;
  folder.Write("tovalk.ini",
               "7,解析法\r\n1,減衰型\r\n0.03,減衰比\r\n0.1,X軸下限\r\n1 0,X軸上限\r\n12,X軸分割\r\n"
               "3,X軸副分割\r\n-3,X軸量\r\n1,X軸目盛\r\n1,Y軸下限\r\n100,Y軸上限\r\n2,Y軸分割\r\n"
               "0,Y軸副分割\r\n1,Y軸目盛\r\n0,解析点数\r\n");
  Forms forms(folder.path().string());
  TDisplay& form = forms.display;

  EXPECT_EQ(Checked(forms.In<QWidget>(form, "GBComp")), "重複反射");
  EXPECT_EQ(Checked(forms.In<QWidget>(form, "RGDamp")), "粘性型");
  EXPECT_EQ(Checked(forms.In<QWidget>(form, "RGXValue")), "");  // index -1: none chosen
  EXPECT_EQ(Checked(forms.In<QWidget>(form, "RGXType")), "対数目盛");
  EXPECT_EQ(Checked(forms.In<QWidget>(form, "RGYType")), "対数目盛");
  EXPECT_EQ(Checked(forms.In<QWidget>(form, "RGPoints")), "100");
  const std::map<const char*, const char*> fields{{"EdDamp", "0.03"}, {"Edit4", "0.1"}, {"Edit6", "1"},
                                                  {"Edit5", "10"},    {"Edit8", "3"},   {"Edit3", "1"},
                                                  {"Edit1", "100"},   {"Edit2", "2"},   {"Edit7", "0"}};
  for (const auto& [name, text] : fields) EXPECT_EQ(forms.In<QLineEdit>(form, name)->text(), text) << name;

  // Clicks and typing reach the settings at once.
  forms.In<QRadioButton>(form, "RGXValueItem1")->click();
  EXPECT_EQ(forms.values().xQuantity, XQuantity::Frequency);
  forms.In<QRadioButton>(form, "GBCompItem0")->click();
  EXPECT_EQ(forms.values().method, AnalysisMethod::TransferMatrix);
  Retype(forms.In<QLineEdit>(form, "Edit6"), "abc");
  EXPECT_EQ(forms.values().xUpper, "abc");  // kept as typed; checked only by "設定"
  forms.settings.EnableLayerBoxes(5);
  forms.In<QCheckBox>(form, "CheckBox3")->click();
  forms.In<QCheckBox>(form, "CheckBox6")->click();  // disabled: ignored
  EXPECT_TRUE(forms.values().displayLayers[2]);
  EXPECT_FALSE(forms.values().displayLayers[5]);

  // "太線" unmarked: the menu's marks follow.
  forms.In<QCheckBox>(form, "CBBold")->click();
  EXPECT_FALSE(forms.values().boldCurves);
  EXPECT_TRUE(forms.mainView.MenuChecked(MainMenuMark::Thin));
  EXPECT_FALSE(forms.mainView.MenuChecked(MainMenuMark::Bold));
  // And the menu's "太い" marks the box again.
  forms.main.MenuBoldClick();
  EXPECT_TRUE(forms.In<QCheckBox>(form, "CBBold")->isChecked());

  // Main divisions stop at the ends of their range.
  auto* xSpinner = forms.In<UpDownButtons>(form, "UpDown2");
  xSpinner->upButton()->click();
  EXPECT_EQ(forms.values().xDivisions, 10);
  xSpinner->downButton()->click();
  EXPECT_EQ(forms.values().xDivisions, 9);
  EXPECT_EQ(forms.In<QLineEdit>(form, "Edit5")->text(), "9");
  EXPECT_TRUE(forms.In<QLineEdit>(form, "Edit5")->isReadOnly());

  // A sub-division count typed waits in its field, is refused when the user
  // is done with it (Enter, the arrow) and the field shows the count again;
  // a good one is taken then, also by "設定".
  auto* edit8 = forms.In<QLineEdit>(form, "Edit8");
  auto* xSubSpinner = forms.In<UpDownButtons>(form, "UpDown4");
  Retype(edit8, "9");
  EXPECT_EQ(forms.values().xSubDivisions, 3);
  EXPECT_EQ(edit8->text(), "9");
  Key(edit8, Qt::Key_Return);
  Retype(edit8, "");
  Type(edit8, "10");  // "1" on the way is no count yet
  EXPECT_EQ(forms.values().xSubDivisions, 3);
  xSubSpinner->upButton()->click();
  ASSERT_EQ(forms.messages.shown.size(), 2u);
  EXPECT_EQ(forms.messages.shown[0], ErrorBox("副分割数 9 は 0～5 の範囲にありません", "軸目盛り設定エラー"));
  EXPECT_EQ(forms.messages.shown[1], ErrorBox("副分割数 10 は 0～5 の範囲にありません", "軸目盛り設定エラー"));
  EXPECT_EQ(forms.values().xSubDivisions, 3);
  EXPECT_EQ(edit8->text(), "3");
  Retype(edit8, "1");
  xSubSpinner->upButton()->click();
  EXPECT_EQ(forms.values().xSubDivisions, 2);
  EXPECT_EQ(edit8->text(), "2");
  Retype(edit8, "0");
  Retype(forms.In<QLineEdit>(form, "Edit6"), "1");  // the "abc" above
  forms.In<QPushButton>(form, "Button2")->click();
  EXPECT_EQ(forms.values().xSubDivisions, 0);
  EXPECT_EQ(forms.main.chart().SubX, 0);

  // A choice set to -1 from outside shows no item chosen.
  forms.values().dampingForm = DampingForm::None;
  form.Refresh();
  EXPECT_EQ(Checked(forms.In<QWidget>(form, "RGDamp")), "");
}

TEST(SettingsForm, ApplyErrorsEndAtTheWindowsEventBoundary) {
  TempFolder folder;
  Forms forms(folder.path().string());
  TDisplay& form = forms.display;
  Retype(forms.In<QLineEdit>(form, "Edit4"), "0,1");
  forms.In<QPushButton>(form, "Button2")->click();
  ASSERT_EQ(forms.messages.shown.size(), 1u);
  EXPECT_EQ(forms.messages.shown[0].text, "'0,1' は浮動小数点数ではありません");
  EXPECT_EQ(forms.messages.shown[0].caption, "地盤増幅特性");

  Retype(forms.In<QLineEdit>(form, "Edit4"), "5");
  forms.In<QPushButton>(form, "Button2")->click();
  ASSERT_EQ(forms.messages.shown.size(), 2u);
  EXPECT_EQ(forms.messages.shown[1], ErrorBox("縦横軸の目盛りこの値を設定できません", "軸目盛り設定エラー"));
  EXPECT_EQ(forms.values().xLower, "5");  // the typed text stays; nothing else changed
  EXPECT_EQ(forms.main.workspace().result.pointCount, 400);
}

TEST(SettingsForm, CaptionsHintsAndRanges) {
  TempFolder folder;
  Forms forms(folder.path().string());
  TDisplay& form = forms.display;
  EXPECT_EQ(form.windowTitle(), "地盤増幅特性解析法・書式");
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(forms.In<QCheckBox>(form, "CheckBox1")->text(), " 1");
  EXPECT_EQ(forms.In<QCheckBox>(form, "CheckBox9")->text(), " 9");
  EXPECT_EQ(forms.In<QCheckBox>(form, "CheckBox20")->text(), "20");
  // Without a profile every layer box is disabled; the defaults mark layer 1.
  EXPECT_FALSE(forms.In<QCheckBox>(form, "CheckBox1")->isEnabled());
  EXPECT_TRUE(forms.In<QCheckBox>(form, "CheckBox1")->isChecked());
  EXPECT_FALSE(forms.In<QCheckBox>(form, "CheckBox2")->isChecked());

  const std::map<const char*, std::pair<const char*, const char*>> boxes{
      {"CBProfile", {"地層図", "地層図を記入する"}},     {"CBLeft1", {"左側へ", ""}},
      {"CBLayer", {"層識別", "層識別色分けを表示する"}}, {"CBLeft", {"左側へ", "層識別を左端に配置する"}},
      {"CBBold", {"太線", "曲線を太線で表す"}},          {"CBComp", {"解析法", "解析法を表示する"}}};
  for (const auto& [name, texts] : boxes) {
    auto* box = forms.In<QCheckBox>(form, name);
    EXPECT_EQ(box->text(), texts.first) << name;
    EXPECT_EQ(box->toolTip(), texts.second) << name;
  }
  const std::map<const char*, const char*> hints{{"Edit4", "目盛下限値"},     {"Edit6", "目盛上限値"},
                                                 {"Edit3", "目盛下限値"},     {"Edit1", "目盛上限値"},
                                                 {"Edit5", "横軸目盛分割数"}, {"Edit2", "縦軸目盛分割数"}};
  for (const auto& [name, hint] : hints) EXPECT_EQ(forms.In<QLineEdit>(form, name)->toolTip(), hint) << name;
  EXPECT_EQ(forms.In<QPushButton>(form, "Button2")->text(), "設定");
  EXPECT_EQ(forms.In<QPushButton>(form, "Button2")->toolTip(), "設定値を反映させる");
  EXPECT_EQ(forms.In<QWidget>(form, "MyGraph1")->size(), QSize(217, 209));
  EXPECT_EQ(forms.In<QLabel>(form, "Image1")->size(), QSize(340, 55));

  // The preview's design frame is drawn on the picture the window shows.
  const QImage& preview = form.PreviewCanvas().image();
  int dark = 0;
  for (int x = 0; x < preview.width(); ++x) dark += qGray(preview.pixel(x, 180)) < 128;
  EXPECT_GE(dark, 160);

  // The sub-division spinner stops at 0.
  auto* ySpinner = forms.In<UpDownButtons>(form, "UpDown3");
  for (int i = 0; i < 7; ++i) ySpinner->downButton()->click();
  EXPECT_EQ(forms.values().ySubDivisions, 0);
  EXPECT_EQ(forms.In<QLineEdit>(form, "Edit7")->text(), "0");
}

AmplificationResult Result(std::vector<float> frequencies, int layers) {
  AmplificationResult result;
  result.pointCount = static_cast<int32_t>(frequencies.size());
  for (size_t i = 0; i < frequencies.size(); ++i) result.frequency[i] = frequencies[i];
  for (int k = 0; k < layers; ++k) {
    for (size_t i = 0; i < frequencies.size(); ++i) result.amplification[k].push_back(1.0f + k + 0.5f * i);
  }
  return result;
}

TEST(AmplificationListForm, ShowsTheTableAndShrinksWithoutStaleCells) {
  TAmpList list;
  EXPECT_EQ(list.windowTitle(), "　地盤増幅特性リスト");
  EXPECT_EQ(list.ColCount(), 0);
  EXPECT_EQ(list.Cell(0, 0), "");

  list.ShowTable(BuildAmplificationTable(Result({0.0f, 2.0f, 4.0f}, 3), 3));
  EXPECT_EQ(list.ColCount(), 5);
  EXPECT_EQ(list.RowCount(), 4);
  EXPECT_EQ(list.Cell(0, 0), "振動数(Hz)");
  EXPECT_EQ(list.Cell(1, 0), " 周期 (s)");
  EXPECT_EQ(list.Cell(2, 0), " 第 1 層");
  EXPECT_EQ(list.Cell(4, 0), " 第 3 層");
  EXPECT_EQ(list.Cell(0, 1), "    0.000");
  EXPECT_EQ(list.Cell(1, 1), "");
  EXPECT_EQ(list.Cell(0, 2), "    2.000");
  EXPECT_EQ(list.Cell(1, 2), "    0.500");
  EXPECT_EQ(list.Cell(4, 3), "    4.000");

  list.ShowTable(BuildAmplificationTable(Result({2.0f}, 1), 1));
  EXPECT_EQ(list.ColCount(), 3);
  EXPECT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.Cell(2, 1), "    1.000");
  EXPECT_EQ(list.Cell(3, 0), "");
  EXPECT_EQ(list.Cell(0, 2), "");
  // The grid the user sees holds exactly that: no column or row left over.
  auto* grid = list.findChild<QTableView*>("StringGrid1");
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->model()->columnCount(), 3);
  EXPECT_EQ(grid->model()->rowCount(), 1);
  EXPECT_EQ(grid->rowHeight(0), 18);

  list.show();
  list.findChild<QPushButton*>("Button2")->click();
  EXPECT_FALSE(list.isVisible());
}

TEST(SmallWindows, CaptionsTextsAndClosing) {
  THowTo howTo;
  EXPECT_EQ(howTo.windowTitle(), "  地盤増幅特性解析システム / 使い方");
  auto* usage = howTo.findChild<QPlainTextEdit*>("Memo1");
  ASSERT_NE(usage, nullptr);
  EXPECT_FALSE(usage->isReadOnly());
  EXPECT_EQ(usage->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_TRUE(usage->toPlainText().contains("[使い方]"));
  howTo.show();
  Click(howTo.findChild<QLabel*>("Image2"));
  EXPECT_FALSE(howTo.isVisible());

  TVersion version;
  EXPECT_EQ(version.windowTitle(), "  地盤増幅特性解析システム /  バージョン情報");
  EXPECT_EQ(version.findChild<QLabel*>("Label1")->text(), "TOVALK Ver1.0");
  EXPECT_EQ(version.findChild<QLabel*>("Label2")->text(), "2004/07/31");
  // A click on the date, away from the picture, reaches the panel and closes.
  version.show();
  Click(version.findChild<QLabel*>("Label2"));
  EXPECT_FALSE(version.isVisible());

  TDataInput note;
  EXPECT_EQ(note.windowTitle(), "　地盤地層データ設定");
  EXPECT_TRUE(note.windowFlags() & Qt::WindowStaysOnTopHint);
  QPlainTextEdit* memo = note.findChild<QPlainTextEdit*>("Memo1");
  ASSERT_NE(memo, nullptr);
  ASSERT_EQ(memo->document()->blockCount(), 7);
  for (int line = 0; line < 7; ++line) {
    EXPECT_EQ(memo->document()->findBlockByNumber(line).text(), QString::fromUtf8(kDataInputLines[line])) << line;
  }
  EXPECT_EQ(memo->document()->findBlockByNumber(3).text(), "（２）層厚，密度，Ｓ波速度を入れてください");
}

}  // namespace
