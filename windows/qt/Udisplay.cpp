#include "windows/qt/Udisplay.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>

#include <algorithm>

#include "graphics/qt/TitlePictures.h"
#include "platform/UserAction.h"
#include "ui_Udisplay.h"
#include "windows/SettingsController.h"
#include "windows/qt/FormSupport.h"
#include "windows/qt/UpDownButtons.h"

namespace {

QString ToQ(const std::string& text) { return QString::fromStdString(text); }

// The radio buttons named <group>Item0, <group>Item1, … as one group whose
// ids are the item indices.
QButtonGroup* MakeGroup(QWidget* form, QWidget* box, int items) {
  auto* group = new QButtonGroup(form);
  for (int i = 0; i < items; ++i) {
    auto* button = box->findChild<QRadioButton*>(box->objectName() + "Item" + QString::number(i));
    Q_ASSERT(button);
    group->addButton(button, i);
  }
  return group;
}

}  // namespace

TDisplay::TDisplay(QWidget* parent) : QWidget(parent, Qt::Window), ui_(std::make_unique<Ui::TDisplay>()) {
  ui_->setupUi(this);
  SetFixedFrame(this, kSettingsCaption, true);
  setFixedSize(size());
  ui_->MyGraph1->SetCanvas(&preview_);
  ui_->Image1->setPixmap(QPixmap::fromImage(SystemTitlePicture()));

  GBComp_ = MakeGroup(this, ui_->GBComp, 3);
  RGDamp_ = MakeGroup(this, ui_->RGDamp, 2);
  RGXValue_ = MakeGroup(this, ui_->RGXValue, 2);
  RGXType_ = MakeGroup(this, ui_->RGXType, 2);
  RGYType_ = MakeGroup(this, ui_->RGYType, 2);
  RGPoints_ = MakeGroup(this, ui_->RGPoints, 3);
  for (int i = 0; i < kMaxLayers; ++i) {
    layerBoxes_[i] = findChild<QCheckBox*>("CheckBox" + QString::number(i + 1));
    Q_ASSERT(layerBoxes_[i]);
  }

  BindRadioGroup(GBComp_, &AnalysisSettings::method);
  BindRadioGroup(RGDamp_, &AnalysisSettings::dampingForm);
  BindRadioGroup(RGXValue_, &AnalysisSettings::xQuantity);
  BindRadioGroup(RGXType_, &AnalysisSettings::xScale);
  BindRadioGroup(RGYType_, &AnalysisSettings::yScale);
  BindRadioGroup(RGPoints_, &AnalysisSettings::pointChoice);

  BindText(ui_->EdDamp, &AnalysisSettings::dampingText);
  BindText(ui_->Edit4, &AnalysisSettings::xLower);
  BindText(ui_->Edit6, &AnalysisSettings::xUpper);
  BindText(ui_->Edit3, &AnalysisSettings::yLower);
  BindText(ui_->Edit1, &AnalysisSettings::yUpper);

  // Main divisions only by their spinners; sub-divisions also typed, and
  // taken when the user is done with the field.
  BindSpinner(ui_->UpDown2, &AnalysisSettings::xDivisions, 1, 10);
  BindSpinner(ui_->UpDown1, &AnalysisSettings::yDivisions, 1, 10);
  ui_->UpDown2->SetBuddy(ui_->Edit5);
  ui_->UpDown4->SetBuddy(ui_->Edit8);
  ui_->UpDown1->SetBuddy(ui_->Edit2);
  ui_->UpDown3->SetBuddy(ui_->Edit7);
  connect(ui_->Edit8, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (controller_) controller_->SetXSubDivisionsText(text.toStdString());
  });
  connect(ui_->Edit7, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (controller_) controller_->SetYSubDivisionsText(text.toStdString());
  });
  connect(ui_->UpDown4, &UpDownButtons::BuddyDone, this, [this] { Run([this] { controller_->Edit8Exit(); }); });
  connect(ui_->UpDown3, &UpDownButtons::BuddyDone, this, [this] { Run([this] { controller_->Edit7Exit(); }); });
  connect(ui_->UpDown4, &UpDownButtons::Clicked, this,
          [this](bool up) { Run([this, up] { controller_->UpDown4Click(up); }); });
  connect(ui_->UpDown3, &UpDownButtons::Clicked, this,
          [this](bool up) { Run([this, up] { controller_->UpDown3Click(up); }); });

  for (int i = 0; i < kMaxLayers; ++i) {
    connect(layerBoxes_[i], &QCheckBox::clicked, this, [this, i](bool checked) {
      if (controller_) controller_->LayerBoxClicked(i, checked);
    });
  }
  BindCheck(ui_->CBProfile, &AnalysisSettings::showProfile);
  BindCheck(ui_->CBLeft1, &AnalysisSettings::profileLeft);
  BindCheck(ui_->CBLayer, &AnalysisSettings::showLayerLegend);
  BindCheck(ui_->CBLeft, &AnalysisSettings::legendLeft);
  BindCheck(ui_->CBBold, &AnalysisSettings::boldCurves);
  connect(ui_->CBBold, &QCheckBox::clicked, this, [this] { Run([this] { controller_->CBBoldClick(); }); });
  BindCheck(ui_->CBComp, &AnalysisSettings::showMethod);

  // "設定" is the main window's to run: its values go to the main window's
  // chart and analysis.
  connect(ui_->Button2, &QPushButton::clicked, this, [this] {
    if (controller_) emit ApplyClicked();
  });
  connect(ui_->Button1, &QPushButton::clicked, this, [this] { Run([this] { controller_->Button1Click(); }); });

  Show(AnalysisSettings{});
  SetLayerBoxesEnabled({});
}

TDisplay::~TDisplay() = default;

void TDisplay::Attach(SettingsController& controller, MessagePort& messages) {
  controller_ = &controller;
  messages_ = &messages;
  settings_ = &controller.settings();
  Refresh();
  SetLayerBoxesEnabled(controller.layerBoxesEnabled());
}

template <typename Action>
void TDisplay::Run(Action&& action) {
  if (!controller_) return;
  RunUserAction(*messages_, std::forward<Action>(action));
}

template <typename Choice>
void TDisplay::BindRadioGroup(QButtonGroup* group, Choice AnalysisSettings::*field) {
  connect(group, &QButtonGroup::idClicked, this, [this, field](int id) {
    if (controller_) controller_->ChoiceClicked(field, id);
  });
}

void TDisplay::BindText(QLineEdit* edit, std::string AnalysisSettings::*text) {
  connect(edit, &QLineEdit::textEdited, this, [this, text](const QString& typed) {
    if (controller_) controller_->TextEdited(text, typed.toStdString());
  });
}

void TDisplay::BindCheck(QCheckBox* box, bool AnalysisSettings::*flag) {
  connect(box, &QCheckBox::clicked, this, [this, flag](bool checked) {
    if (controller_) controller_->CheckClicked(flag, checked);
  });
}

// An arrow steps the count from its last valid value and stops at the ends.
void TDisplay::BindSpinner(UpDownButtons* spinner, int AnalysisSettings::*count, int low, int high) {
  connect(spinner, &UpDownButtons::Clicked, this, [this, count, low, high](bool up) {
    if (!controller_) return;
    controller_->DivisionsStepped(count, up, low, high);
    Refresh();
  });
}

void TDisplay::Refresh() {
  if (settings_) Show(*settings_);
}

void TDisplay::Show(const AnalysisSettings& s) {
  SetRadioIndex(GBComp_, ChoiceIndex(s.method));
  SetRadioIndex(RGDamp_, ChoiceIndex(s.dampingForm));
  SetRadioIndex(RGXValue_, ChoiceIndex(s.xQuantity));
  SetRadioIndex(RGXType_, ChoiceIndex(s.xScale));
  SetRadioIndex(RGYType_, ChoiceIndex(s.yScale));
  SetRadioIndex(RGPoints_, ChoiceIndex(s.pointChoice));

  SetTextIfChanged(ui_->EdDamp, ToQ(s.dampingText));
  SetTextIfChanged(ui_->Edit4, ToQ(s.xLower));
  SetTextIfChanged(ui_->Edit6, ToQ(s.xUpper));
  SetTextIfChanged(ui_->Edit3, ToQ(s.yLower));
  SetTextIfChanged(ui_->Edit1, ToQ(s.yUpper));
  SetTextIfChanged(ui_->Edit5, QString::number(s.xDivisions));
  SetTextIfChanged(ui_->Edit2, QString::number(s.yDivisions));
  // A sub-division count being typed stays in its field.
  SetTextIfChanged(ui_->Edit8, controller_ ? ToQ(controller_->XSubDivisionsText()) : QString::number(s.xSubDivisions));
  SetTextIfChanged(ui_->Edit7, controller_ ? ToQ(controller_->YSubDivisionsText()) : QString::number(s.ySubDivisions));

  for (int i = 0; i < kMaxLayers; ++i) layerBoxes_[i]->setChecked(s.displayLayers[i]);
  ui_->CBProfile->setChecked(s.showProfile);
  ui_->CBLeft1->setChecked(s.profileLeft);
  ui_->CBLayer->setChecked(s.showLayerLegend);
  ui_->CBLeft->setChecked(s.legendLeft);
  ui_->CBBold->setChecked(s.boldCurves);
  ui_->CBComp->setChecked(s.showMethod);
}

void TDisplay::SetLayerBoxesEnabled(const std::array<bool, kMaxLayers>& enabled) {
  for (int i = 0; i < kMaxLayers; ++i) layerBoxes_[i]->setEnabled(enabled[i]);
}

void TDisplay::PreviewChanged() { ui_->MyGraph1->update(); }

void TDisplay::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!placed_) {
    placed_ = true;
    if (!owner_ || !PlaceBesideIfRoom(this, owner_)) CentreOnScreen(this);
  }
}
