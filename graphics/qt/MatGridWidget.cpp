#include "graphics/qt/MatGridWidget.h"

#include <QFont>
#include <QHeaderView>
#include <QPalette>

#include <algorithm>

#include "platform/qt/QtCanvas.h"

namespace {
QString ToQ(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }
}  // namespace

MatGridWidget::MatGridWidget(QWidget* parent) : QTableWidget(parent) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::NoSelection);
  setFocusPolicy(Qt::NoFocus);
  setWordWrap(false);
  // A number is clipped at the cell's edge, never shortened with an ellipsis
  // that could pass for a different value.
  setTextElideMode(Qt::ElideNone);
  horizontalHeader()->setDefaultSectionSize(kDefaultColumnWidth);
  verticalHeader()->setMinimumSectionSize(1);
  ShowGrid(TMatGrid());
}

void MatGridWidget::ShowGrid(const TMatGrid& grid) {
  QtCanvas::InstallFontSubstitutions();
  QFont font(ToQ(grid.FontName));
  font.setPixelSize(QtCanvas::PixelSize(grid.FontSize));
  setFont(font);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(grid.DefaultRowHeight);

  setUpdatesEnabled(false);
  setRowCount(grid.RowCount());
  setColumnCount(grid.ColCount());
  const QBrush fixedBrush = palette().brush(QPalette::Button);
  for (int row = 0; row < grid.RowCount(); ++row) {
    for (int col = 0; col < grid.ColCount(); ++col) {
      QTableWidgetItem* cell = item(row, col);
      if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row, col, cell);
      }
      cell->setText(ToQ(grid.Cell(col, row)));
      cell->setFlags(Qt::ItemIsEnabled);
      const bool fixed = row < grid.FixedRows() || col < grid.FixedCols();
      cell->setBackground(fixed ? fixedBrush : QBrush(Qt::white));
      cell->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
  }
  // Columns are as wide as a string grid's (64 pixels) or as their widest text.
  resizeColumnsToContents();
  for (int col = 0; col < columnCount(); ++col) {
    setColumnWidth(col, std::max(columnWidth(col), int(kDefaultColumnWidth)));
  }
  setUpdatesEnabled(true);
}
