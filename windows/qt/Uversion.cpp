#include "windows/qt/Uversion.h"

#include "ui_Uversion.h"
#include "windows/qt/FormSupport.h"

TVersion::TVersion(QWidget* parent) : QWidget(parent, Qt::Window), ui_(std::make_unique<Ui::TVersion>()) {
  ui_->setupUi(this);
  setWindowTitle(QString::fromUtf8(kVersionCaption));
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(size());
  QFont large = ui_->Label1->font();
  large.setPixelSize(26);
  large.setBold(true);
  ui_->Label1->setFont(large);
  // The labels leave their clicks to the panel beneath them.
  connect(ui_->Panel1, &ClickPanel::Clicked, this, &TVersion::Panel1Click);
  connect(ui_->Image2, &PictureLabel::Clicked, this, &TVersion::Image2Click);
}

TVersion::~TVersion() = default;

void TVersion::Panel1Click() { close(); }

void TVersion::Image2Click() { close(); }

void TVersion::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!placed_) {
    placed_ = true;
    CentreOnScreen(this);
  }
}
