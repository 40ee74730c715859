#include "windows/qt/Uhowto.h"

#include "ui_Uhowto.h"
#include "windows/qt/FormSupport.h"

THowTo::THowTo(QWidget* parent) : QWidget(parent, Qt::Window), ui_(std::make_unique<Ui::THowTo>()) {
  ui_->setupUi(this);
  setWindowTitle(QString::fromUtf8(kHowToCaption));
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(size());
  ui_->Memo1->setPlainText(UsageText());
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

QString THowTo::UsageText() {
  return QString::fromUtf8(
      "　　　　地盤増幅特性解析システム\n"
      "　　　　TOVALK Ver1.0　　2004/07/22\n"
      "\n"
      "[機能]\n"
      "　水平成層地盤の地盤増幅特性を計算します。\n"
      "　地層は基盤層より上に最大20層まで扱えます。\n"
      "\n"
      "[使い方]\n"
      "1. 地盤層構成データの設定\n"
      "　「新規作成」：地層構成の編集画面が開きます。基盤層より上にある層数を\n"
      "　　スピンボタンで指定し（最大20層），各層の層厚，密度，Ｓ波速度を\n"
      "　　入れてください。深度は自動的に計算されます。基盤層には密度と\n"
      "　　Ｓ波速度だけを入れてください。必要ならCSVファイルに保存します。\n"
      "　「ファイル読込」：以前に保存したファイルを読み込みます。読み込むと，\n"
      "　　前回のグラフ書式で地層図と増幅特性図が描かれます。\n"
      "　「編集」：似た地層構成のデータを変更して，別のファイルに保存できます。\n"
      "\n"
      "2. 地層データの編集\n"
      "　編集画面の「編集」にチェックを入れると編集できます。編集するのは\n"
      "　層厚，密度，Ｓ波速度と層数だけです。深度は自動的に計算し直され，\n"
      "　参考のために表示されます。層数は表示されている行の数ではなく，\n"
      "　スピンボタンの値です。「地層図」ボタンで地層図を描いて，データを\n"
      "　確かめてください。\n"
      "\n"
      "3. 地盤増幅特性　\n"
      "　「増幅特性」ボタンで，選ばれた解析法による増幅特性を描きます。\n"
      "　グラフの上で右クリックすると解析法と書式の設定画面が開きます。\n"
      "　設定は「設定」ボタンで反映されます。選んだ解析法と書式は終了時に\n"
      "　保存され，次の起動時にそのまま使われます。\n"
      "\n"
      "4. 地盤増幅特性解析法および書式設定\n"
      "　解析法，減衰形式と全層共通の減衰比を設定できます。描く層を選び，\n"
      "　縦軸と横軸の目盛を自由に設定し，グラフに表示する項目を選べます。\n");
}
