#pragma once
// TMatGrid: a text grid that shows a two-dimensional numeric array with
// numbered row and column headers. This is the grid's cell model; the widget
// shows it.
#include <string>
#include <vector>

#include "platform/FixedTexts.h"

class TMatGrid {
 public:
  TMatGrid();

  bool ElementNumber = true;  // a header row and column with element numbers
  bool InitZero = false;      // element numbers start at 0 (true) or 1 (false)

  std::string FontName = kPGothicFont;
  int FontSize = 10;
  int DefaultRowHeight = 18;

  // As a string grid is created: 5 × 5 cells, one fixed row and column.
  int RowCount() const { return rowCount_; }
  int ColCount() const { return colCount_; }
  int FixedRows() const { return fixedRows_; }
  int FixedCols() const { return fixedCols_; }
  // Resizing keeps the text of the cells that remain.
  void SetSize(int cols, int rows);

  // Cell text by column and row; outside the grid: empty, and writes are
  // ignored.
  std::string Cell(int col, int row) const;
  void SetCell(int col, int row, std::string text);

  // Shows rows × cols values of a row-major array with ld values per row
  // (ld >= cols): row headers "%4d", column headers "%6d", each value with
  // fmt, a printf format with one floating-point conversion (e.g. "%10.3f").
  // The top-left corner cell keeps its text. A format that is not of that kind
  // throws std::invalid_argument before anything changes.
  void Display(const float* a, int ld, int rows, int cols, const std::string& fmt);
  void display(const double* a, int ld, int rows, int cols, const std::string& fmt);

  // fmt applied to one value; throws std::invalid_argument for a format that
  // is not a single floating-point conversion.
  static std::string FormatValue(const std::string& fmt, double value);

 private:
  template <typename T>
  void Show(const T* a, int ld, int rows, int cols, const std::string& fmt);

  int rowCount_ = 5;
  int colCount_ = 5;
  int fixedRows_ = 1;
  int fixedCols_ = 1;
  std::vector<std::vector<std::string>> cells_;  // [row][col]
};
