#include "graphics/Matgrid.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// All cell texts, row by row.
std::vector<std::vector<std::string>> Cells(const TMatGrid& grid) {
  std::vector<std::vector<std::string>> rows(grid.RowCount());
  for (int r = 0; r < grid.RowCount(); ++r) {
    for (int c = 0; c < grid.ColCount(); ++c) rows[r].push_back(grid.Cell(c, r));
  }
  return rows;
}

TEST(MatGrid, ShowsAPartOfAFloatArrayWithNumberedHeaders) {
  TMatGrid grid;
  grid.SetCell(0, 0, "corner");
  // 3 × 2 part of a 3 × 3 array.
  const float a[] = {1.0f, 2.5f, 99.0f, -0.0005f, 1234.5678f, 99.0f, 0.1f, 0.3f, 99.0f};
  grid.Display(a, 3, 3, 2, "%10.3f");
  EXPECT_EQ(grid.ColCount(), 3);
  EXPECT_EQ(grid.RowCount(), 4);
  EXPECT_EQ(grid.FixedCols(), 1);
  EXPECT_EQ(grid.FixedRows(), 1);
  const std::vector<std::vector<std::string>> expected = {
      {"corner", "     1", "     2"},
      {"   1", "     1.000", "     2.500"},
      {"   2", "    -0.001", "  1234.568"},  // the float 1234.5678 is 1234.5677...
      {"   3", "     0.100", "     0.300"},
  };
  EXPECT_EQ(Cells(grid), expected);
}

TEST(MatGrid, InitZeroNumbersFromZeroAndDoublesAreShownAsGiven) {
  TMatGrid grid;
  grid.InitZero = true;
  const double a[] = {0.1, 1e6, 2.0, 3.0};
  grid.display(a, 2, 2, 2, "%.2e");
  const std::vector<std::vector<std::string>> expected = {
      {"", "     0", "     1"},
      {"   0", "1.00e-01", "1.00e+06"},
      {"   1", "2.00e+00", "3.00e+00"},
  };
  EXPECT_EQ(Cells(grid), expected);
}

TEST(MatGrid, WithoutElementNumbersOnlyValuesRemain) {
  TMatGrid grid;
  grid.ElementNumber = false;
  const float a[] = {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f};
  grid.Display(a, 2, 3, 2, "%4.1f");
  EXPECT_EQ(grid.FixedCols(), 0);
  EXPECT_EQ(grid.FixedRows(), 0);
  const std::vector<std::vector<std::string>> expected = {{" 1.0", " 2.0"}, {" 3.0", " 4.0"}, {" 5.0", " 6.0"}};
  EXPECT_EQ(Cells(grid), expected);
}

TEST(MatGrid, RefusesAFormatThatIsNotOneFloatingPointConversion) {
  TMatGrid grid;
  const float a[] = {1.0f};
  grid.Display(a, 1, 1, 1, "%6.2f%%");
  EXPECT_EQ(grid.Cell(1, 1), "  1.00%");
  for (const char* fmt : {"%s", "%d", "%f %f", "no value", "%*f", "%lf", "%n", "%"}) {
    EXPECT_THROW(grid.Display(a, 1, 1, 1, fmt), std::invalid_argument) << fmt;
  }
  EXPECT_EQ(grid.Cell(1, 1), "  1.00%");  // unchanged
  EXPECT_EQ(grid.RowCount(), 2);
}

}  // namespace
