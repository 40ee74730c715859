#include "windows/qt/Uhowto.h"

#include <QPixmap>

#include "graphics/qt/TitlePictures.h"
#include "ui_Uhowto.h"
#include "windows/qt/FormSupport.h"

THowTo::THowTo(QWidget* parent) : QWidget(parent, Qt::Window), ui_(std::make_unique<Ui::THowTo>()) {
  ui_->setupUi(this);
  SetFixedFrame(this, kHowToCaption, false);
  setFixedSize(size());
  ui_->Image1->setPixmap(QPixmap::fromImage(SystemTitlePicture()));
  ui_->Image2->setPixmap(QPixmap::fromImage(SystemEmblem()));
  ui_->Image2->setToolTip(QString::fromUtf8(kCloseHint));
  ui_->Image2->setCursor(Qt::PointingHandCursor);
  ui_->Memo1->setPlainText(QString::fromUtf8(kHowToText));
  connect(ui_->Image2, &PictureLabel::Clicked, this, &THowTo::Image2Click);
}

THowTo::~THowTo() = default;

void THowTo::Image2Click() { close(); }

void THowTo::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!placed_) {
    placed_ = true;
    CentreOnScreen(this);
  }
}
