#pragma once
// The amplification list: the last result as a table of text cells, one row
// per sample with frequency, period and every layer's ratio.
#include <string>
#include <vector>

#include "analysis/AmplificationResult.h"

struct AmplificationTable {
  int columns = 0;                              // n + 2
  int rows = 0;                                 // N + 1
  std::vector<std::vector<std::string>> cells;  // cells[row][column]

  const std::string& Cell(int column, int row) const { return cells[row][column]; }
};

inline constexpr const char* kAmplificationListCaption = "　地盤増幅特性リスト";
inline constexpr const char* kAmplificationListHeading = "地盤増幅率";

// Rebuilds the whole table (the list window's refresh). A sample without a
// value shows "      ---" rather than a number.
AmplificationTable BuildAmplificationTable(const AmplificationResult& result, int layerCount);

// The list window as the program reaches it.
class AmplificationListView {
 public:
  virtual ~AmplificationListView() = default;
  virtual void ShowTable(const AmplificationTable& table) = 0;
};
