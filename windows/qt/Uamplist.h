#pragma once
// TAmpList, the amplification list "　地盤増幅特性リスト": the last result as a
// grid with one fixed header row and two fixed columns (frequency and period)
// that stay in view while the layer columns scroll. The whole table is set in
// one go. "閉じる" only hides the window.
#include <QWidget>

#include "windows/AmplificationList.h"

class AmplificationGridModel;
class FixedColumnsTable;
class QLabel;
class QPushButton;

class TAmpList : public QWidget, public AmplificationListView {
  Q_OBJECT

 public:
  explicit TAmpList(QWidget* parent = nullptr);
  ~TAmpList() override;

  void ShowTable(const AmplificationTable& table) override;

  // What StringGrid1 shows, addressed as the grid: column first, row 0 the
  // headers. Outside the grid the text is empty.
  int ColCount() const;
  int RowCount() const;
  QString Cell(int col, int row) const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Button2Click();

  QLabel* Label1_;
  FixedColumnsTable* StringGrid1_;
  QPushButton* Button2_;
  AmplificationGridModel* model_;
  AmplificationGridModel* fixedModel_;
  bool placed_ = false;
};
