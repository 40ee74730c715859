#include "windows/qt/Uversion.h"

#include <QPixmap>

#include "platform/qt/QtCanvas.h"
#include "graphics/qt/TitlePictures.h"
#include "ui_Uversion.h"
#include "windows/qt/FormSupport.h"

TVersion::TVersion(QWidget* parent) : QWidget(parent, Qt::Window), ui_(std::make_unique<Ui::TVersion>()) {
  ui_->setupUi(this);
  SetFixedFrame(this, kVersionCaption, false);
  setFixedSize(size());
  ui_->Image1->setPixmap(QPixmap::fromImage(SystemTitlePicture()));
  ui_->Image2->setPixmap(QPixmap::fromImage(SystemEmblem()));
  ui_->Image2->setToolTip(QString::fromUtf8(kCloseHint));
  ui_->Image2->setCursor(Qt::PointingHandCursor);
  ui_->Label1->setText(QString::fromUtf8(kProgramVersion));
  ui_->Label2->setText(QString::fromUtf8(kVersionDate));
  QtCanvas::InstallFontSubstitutions();
  QFont large(QString::fromUtf8("ＭＳゴシック"));
  large.setPixelSize(28);
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
