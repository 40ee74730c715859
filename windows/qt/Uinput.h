#pragma once
// TDataInput, the instruction note shown beside the editor for a new profile.
// It stays on top and is closed only by its own close box.
#include <QWidget>

#include <array>
#include <memory>

namespace Ui {
class TDataInput;
}

inline constexpr const char* kDataInputCaption = "　地盤地層データ設定";

inline constexpr std::array<const char*, 7> kDataInputLines{
    "地盤地層データを設定してください",
    "",
    "（１）基盤層より上にある層数を指定してください",
    "（２）層厚，密度，Ｓ波速度を入れてください",
    "（３）基盤層の密度，Ｓ波速度を入れてください",
    "（４）「地層図」ボタンをクリックしてください",
    "",
};

class TDataInput : public QWidget {
  Q_OBJECT

 public:
  explicit TDataInput(QWidget* parent = nullptr);
  ~TDataInput() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::TDataInput> ui_;
  bool placed_ = false;
};
