#include "app/qt/Uopen.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>

#include "app/MainWindowController.h"
#include "graphics/PictureSizes.h"
#include "graphics/qt/TitlePictures.h"
#include "platform/FileSystem.h"
#include "ui_Uopen.h"
#include "windows/qt/FormSupport.h"

namespace {

size_t MarkIndex(MainMenuMark mark) { return static_cast<size_t>(mark); }
size_t WindowIndex(SecondaryWindow window) { return static_cast<size_t>(window); }

}  // namespace

TOpen::TOpen(MessagePort& messages, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::TOpen>()),
      messages_(messages),
      stratumPicture_(kStratumPictureWidth, kStratumPictureHeight),
      chartPicture_(kChartPictureWidth, kChartPictureHeight),
      titlePicture_(kSystemTitleWidth, kSystemTitleHeight) {
  ui_->setupUi(this);
  setWindowTitle(QString::fromUtf8(kMainCaption));

  // A fixed client area below the menu bar; the window cannot be resized.
  ui_->ClientArea->setFixedSize(kClientWidth, kClientHeight);
  setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());

  radioGroup1_ = new QButtonGroup(this);
  radioGroup1_->addButton(ui_->RadioGroup1Item0, kItemNew);
  radioGroup1_->addButton(ui_->RadioGroup1Item1, kItemLoad);
  radioGroup1_->addButton(ui_->RadioGroup1Item2, kItemEdit);
  radioGroup1_->addButton(ui_->RadioGroup1Item3, kItemSave);

  ui_->Image2->SetCanvas(&stratumPicture_);
  ui_->MyGraph1->SetCanvas(&chartPicture_);
  DrawTitlePicture();
  ui_->Image3->SetCanvas(&titlePicture_);
  ui_->Image3->setCursor(Qt::PointingHandCursor);

  marks_[MarkIndex(MainMenuMark::MultiColour)] = ui_->MenuMultiColour->isChecked();
  marks_[MarkIndex(MainMenuMark::SingleColour)] = ui_->MenuSingleColour->isChecked();
  marks_[MarkIndex(MainMenuMark::Thin)] = ui_->MenuThin->isChecked();
  marks_[MarkIndex(MainMenuMark::Bold)] = ui_->MenuBold->isChecked();

  ConnectControls();

  // Centred on the desktop at start.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desktop = screen->availableGeometry();
    move(desktop.center() - QPoint(width() / 2, height() / 2));
  }
}

TOpen::~TOpen() = default;

MainWindowPorts TOpen::Ports(FileDialogPort& dialogs, ClipboardPort& clipboard) {
  return {*this, messages_, dialogs, clipboard, stratumPicture_, chartPicture_, listForwarder_};
}

void TOpen::DrawTitlePicture() {
  QImage& image = titlePicture_.image();
  image.fill(palette().color(QPalette::Window));
  QPainter painter(&image);
  painter.drawImage(0, 0, SystemTitlePicture());
}

template <typename Sender, typename Signal>
void TOpen::Forward(Sender* sender, Signal signal, void (MainWindowController::*handler)()) {
  connect(sender, signal, this, [this, handler] { Handle(handler); });
}

void TOpen::ConnectControls() {
  using C = MainWindowController;
  const auto forward = [this](auto* sender, auto signal, void (C::*handler)()) { Forward(sender, signal, handler); };
  forward(ui_->Button2, &QPushButton::clicked, &C::Button2Click);
  forward(ui_->Button3, &QPushButton::clicked, &C::Button3Click);
  forward(ui_->Button7, &QPushButton::clicked, &C::Button7Click);
  forward(ui_->BtnAmplitude, &QPushButton::clicked, &C::BtnAmplitudeClick);
  forward(ui_->Button8, &QPushButton::clicked, &C::Button8Click);
  forward(ui_->Button4, &QPushButton::clicked, &C::Button4Click);
  forward(ui_->Button5, &QPushButton::clicked, &C::Button5Click);
  forward(ui_->Button6, &QPushButton::clicked, &C::Button6Click);
  forward(ui_->Button1, &QPushButton::clicked, &C::Button1Click);
  forward(ui_->CBTest, &QCheckBox::clicked, &C::CBTestClick);
  forward(ui_->CheckBox1, &QCheckBox::clicked, &C::CheckBox1Click);
  forward(ui_->Image3, &GraphWidget::Clicked, &C::Image3Click);

  connect(ui_->MyGraph1, &GraphWidget::MouseMoved, this, [this](int x, int y) {
    MainWindowController* const controller = controller_;
    Run([controller, x, y] { controller->MyGraph1MouseMove(x, y); });
  });
  connect(ui_->MyGraph1, &GraphWidget::MousePressed, this, [this](bool right) {
    MainWindowController* const controller = controller_;
    Run([controller, right] { controller->MyGraph1MouseDown(right); });
  });

  forward(ui_->MenuNew, &QAction::triggered, &C::MenuNewClick);
  forward(ui_->MenuOpen, &QAction::triggered, &C::MenuOpenClick);
  forward(ui_->MenuSaveResult, &QAction::triggered, &C::MenuSaveResultClick);
  forward(ui_->MenuExit, &QAction::triggered, &C::MenuExitClick);
  forward(ui_->MenuCopyStratum, &QAction::triggered, &C::MenuCopyStratumClick);
  forward(ui_->MenuCopyChart, &QAction::triggered, &C::MenuCopyChartClick);
  forward(ui_->MenuSettings, &QAction::triggered, &C::MenuSettingsClick);
  forward(ui_->MenuHowTo, &QAction::triggered, &C::MenuHowToClick);
  forward(ui_->MenuVersion, &QAction::triggered, &C::MenuVersionClick);
  ConnectMenu(ui_->MenuMultiColour, MainMenuMark::MultiColour, &C::MenuMultiColourClick);
  ConnectMenu(ui_->MenuSingleColour, MainMenuMark::SingleColour, &C::MenuSingleColourClick);
  ConnectMenu(ui_->MenuThin, MainMenuMark::Thin, &C::MenuThinClick);
  ConnectMenu(ui_->MenuBold, MainMenuMark::Bold, &C::MenuBoldClick);
}

void TOpen::ConnectMenu(QAction* action, MainMenuMark mark, void (MainWindowController::*handler)()) {
  connect(action, &QAction::triggered, this, [this, action, mark, handler] {
    // Qt has already toggled the mark; the handler decides it.
    action->setChecked(marks_[MarkIndex(mark)]);
    Handle(handler);
  });
}

void TOpen::Handle(void (MainWindowController::*handler)()) {
  // The action carries the controller itself, not this window: with the
  // window captured in a nested closure, GCC 12's sanitizer build read a
  // stale window pointer.
  MainWindowController* const controller = controller_;
  Run([controller, handler] { (controller->*handler)(); });
}

// ---------------------------------------------------------------------------
// MainWindowView

void TOpen::SetEnabled(MainControl control, bool enabled) {
  QWidget* widget = nullptr;
  switch (control) {
    case MainControl::RadioItemEdit: widget = ui_->RadioGroup1Item2; break;
    case MainControl::RadioItemSave: widget = ui_->RadioGroup1Item3; break;
    case MainControl::Button2: widget = ui_->Button2; break;
    case MainControl::Button3: widget = ui_->Button3; break;
    case MainControl::Button7: widget = ui_->Button7; break;
    case MainControl::BtnAmplitude: widget = ui_->BtnAmplitude; break;
    case MainControl::Button8: widget = ui_->Button8; break;
    case MainControl::Button4: widget = ui_->Button4; break;
    case MainControl::Button5: widget = ui_->Button5; break;
    case MainControl::Button1: widget = ui_->Button1; break;
    case MainControl::Button6: widget = ui_->Button6; break;
    case MainControl::CBTest: widget = ui_->CBTest; break;
    case MainControl::CheckBox1: widget = ui_->CheckBox1; break;
  }
  if (widget) widget->setEnabled(enabled);
}

void TOpen::SetLabel(MainLabel label, const std::string& text) {
  QLabel* widget = nullptr;
  switch (label) {
    case MainLabel::Label3: widget = ui_->Label3; break;
    case MainLabel::Label4: widget = ui_->Label4; break;
    case MainLabel::Label5: widget = ui_->Label5; break;
    case MainLabel::Label6: widget = ui_->Label6; break;
    case MainLabel::Label7: widget = ui_->Label7; break;
  }
  if (widget) widget->setText(ToQString(text));
}

int TOpen::RadioGroup1Index() const { return radioGroup1_->checkedId(); }

void TOpen::SetRadioGroup1Index(int index) {
  if (QAbstractButton* item = radioGroup1_->button(index)) item->setChecked(true);
}

bool TOpen::MenuChecked(MainMenuMark mark) const { return marks_[MarkIndex(mark)]; }

void TOpen::SetMenuChecked(MainMenuMark mark, bool checked) {
  marks_[MarkIndex(mark)] = checked;
  QAction* action = nullptr;
  switch (mark) {
    case MainMenuMark::MultiColour: action = ui_->MenuMultiColour; break;
    case MainMenuMark::SingleColour: action = ui_->MenuSingleColour; break;
    case MainMenuMark::Thin: action = ui_->MenuThin; break;
    case MainMenuMark::Bold: action = ui_->MenuBold; break;
  }
  if (action) action->setChecked(checked);
}

bool TOpen::CBTestChecked() const { return ui_->CBTest->isChecked(); }
bool TOpen::CheckBox1Checked() const { return ui_->CheckBox1->isChecked(); }

void TOpen::ShowMatGrids(bool visible) {
  ui_->MatGrid1->setVisible(visible);
  ui_->MatGrid2->setVisible(visible);
}

void TOpen::SetMatGrids(const TMatGrid& modes, const TMatGrid& periods) {
  ui_->MatGrid1->ShowGrid(modes);
  ui_->MatGrid2->ShowGrid(periods);
}

void TOpen::PicturesChanged() {
  ui_->Image2->update();
  ui_->MyGraph1->update();
}

void TOpen::SetSecondaryWindow(SecondaryWindow window, QWidget* widget) { secondary_[WindowIndex(window)] = widget; }

QWidget* TOpen::Secondary(SecondaryWindow window) const { return secondary_[WindowIndex(window)]; }

void TOpen::ShowWindow(SecondaryWindow window) {
  QWidget* widget = Secondary(window);
  if (widget) ShowInFront(widget);
}

void TOpen::HideWindow(SecondaryWindow window) {
  if (QWidget* widget = Secondary(window)) widget->hide();
}

void TOpen::CloseMainWindow() { close(); }

void TOpen::closeEvent(QCloseEvent* event) {
  // The close box and "終了" in the menu end the program without a question;
  // the secondary windows go with the main window.
  event->accept();
  for (QWidget* widget : secondary_) {
    if (widget) widget->hide();
  }
  emit Closed();
}
