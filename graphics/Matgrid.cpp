#include "graphics/Matgrid.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "platform/Printf.h"

namespace {

// True if fmt holds exactly one floating-point conversion (flags, width and
// precision allowed, no '*' and no length modifier) besides literal "%%";
// anything else could read arguments that are not there.
bool IsSingleFloatFormat(const std::string& fmt) {
  int conversions = 0;
  for (size_t i = 0; i < fmt.size(); ++i) {
    if (fmt[i] != '%') continue;
    ++i;
    if (i < fmt.size() && fmt[i] == '%') continue;
    while (i < fmt.size() && std::strchr("-+ #0", fmt[i])) ++i;
    while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') ++i;
    if (i < fmt.size() && fmt[i] == '.') {
      ++i;
      while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') ++i;
    }
    if (i >= fmt.size() || !std::strchr("fFeEgG", fmt[i])) return false;
    ++conversions;
  }
  return conversions == 1;
}

}  // namespace

TMatGrid::TMatGrid() : cells_(rowCount_, std::vector<std::string>(colCount_)) {}

void TMatGrid::SetSize(int cols, int rows) {
  colCount_ = std::max(cols, 0);
  rowCount_ = std::max(rows, 0);
  cells_.resize(rowCount_);
  for (auto& row : cells_) row.resize(colCount_);
}

std::string TMatGrid::Cell(int col, int row) const {
  if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return {};
  return cells_[row][col];
}

void TMatGrid::SetCell(int col, int row, std::string text) {
  if (col < 0 || row < 0 || col >= colCount_ || row >= rowCount_) return;
  cells_[row][col] = std::move(text);
}

std::string TMatGrid::FormatValue(const std::string& fmt, double value) {
  if (!IsSingleFloatFormat(fmt)) throw std::invalid_argument("not a single floating-point format: " + fmt);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const int length = std::snprintf(nullptr, 0, fmt.c_str(), value);
  std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
  std::snprintf(text.data(), text.size(), fmt.c_str(), value);
#pragma GCC diagnostic pop
  text.resize(static_cast<size_t>(std::max(length, 0)));
  return text;
}

template <typename T>
void TMatGrid::Show(const T* a, int ld, int rows, int cols, const std::string& fmt) {
  if (!IsSingleFloatFormat(fmt)) throw std::invalid_argument("not a single floating-point format: " + fmt);
  rows = std::max(rows, 0);
  cols = std::max(cols, 0);
  const int h = ElementNumber ? 1 : 0;
  const int b = InitZero ? 0 : 1;
  fixedCols_ = h;
  fixedRows_ = h;
  SetSize(cols + h, rows + h);
  for (int i = 0; i < rows; ++i) SetCell(0, i + h, Printf("%4d", i + b));
  for (int j = 0; j < cols; ++j) SetCell(j + h, 0, Printf("%6d", j + b));
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < cols; ++j) {
      SetCell(j + h, i + h, FormatValue(fmt, static_cast<double>(a[static_cast<size_t>(i) * ld + j])));
    }
  }
}

void TMatGrid::Display(const float* a, int ld, int rows, int cols, const std::string& fmt) {
  Show(a, ld, rows, cols, fmt);
}

void TMatGrid::display(const double* a, int ld, int rows, int cols, const std::string& fmt) {
  Show(a, ld, rows, cols, fmt);
}
