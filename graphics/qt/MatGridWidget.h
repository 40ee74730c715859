#pragma once
// A read-only string grid showing a TMatGrid cell model. The fixed header row
// and column are ordinary cells drawn in the button-face colour, as a string
// grid draws its fixed cells.
#include <QTableWidget>

#include "graphics/Matgrid.h"

class MatGridWidget : public QTableWidget {
  Q_OBJECT

 public:
  static constexpr int kDefaultColumnWidth = 64;

  explicit MatGridWidget(QWidget* parent = nullptr);

  // Shows every cell of the model (size, fixed cells, texts, font, row height);
  // a column is widened to its widest text.
  void ShowGrid(const TMatGrid& grid);
};
