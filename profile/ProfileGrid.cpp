#include "profile/ProfileGrid.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Conversion.h"
#include "platform/Errors.h"
#include "platform/FixedFormat.h"

namespace {

constexpr std::array<const char*, ProfileGrid::kColumns> kHeaders{
    "層番号", " 層厚(m)", " 密度", " Ｓv(m/s)", " 深度(m)"};


// "基盤層（第%d層）…" with the base layer's number.
std::string BaseMessage(int baseNumber, const char* what) {
  return "基盤層（第" + std::to_string(baseNumber) + "層）の" + what + "が与えられていません！";
}

}  // namespace

// printf's "%6.2f", "%6.0f" and "%4d", by the number format of the files.
std::string FormatLength(float value) { return FormatFixed(value, 2, 6); }
std::string FormatVelocity(float value) { return FormatFixed(value, 0, 6); }
std::string FormatLayerNumber(int number) { return FormatFixed(number, 0, 4); }

ProfileGrid::ProfileGrid() { FormCreate(); }

void ProfileGrid::FormCreate() {
  for (int col = 0; col < kColumns; ++col) cells_[col][0] = kHeaders[col];
  for (int row = 1; row <= kMaxLayers; ++row) cells_[0][row] = FormatLayerNumber(row);
}

const std::string& ProfileGrid::Cell(int col, int row) const {
  if (col < 0 || col >= kColumns || row < 0 || row >= kRows) throw std::out_of_range("grid cell");
  return cells_[col][row];
}

void ProfileGrid::SetCell(int col, int row, std::string text) {
  if (col < 0 || col >= kColumns || row < 0 || row >= kRows) throw std::out_of_range("grid cell");
  cells_[col][row] = std::move(text);
}

void ProfileGrid::SetRowLabels(int n) {
  // Callers pass a spinner position (1..20); anything else is kept inside the
  // grid so the base row exists.
  n = std::clamp(n, 0, kRows - 2);
  for (int row = 1; row <= n; ++row) cells_[0][row] = FormatLayerNumber(row);
  for (int row = n + 1; row < kRows; ++row) cells_[0][row].clear();
  cells_[0][n + 1] = kBaseLabel;
  cells_[1][n + 1] = kNoThickness;
}

void ProfileGrid::ClearRowsBelow(int n) {
  for (int row = std::max(n + 1, 1); row < kRows; ++row) {
    for (int col = 1; col < kColumns; ++col) cells_[col][row].clear();
  }
}

void ProfileGrid::SetUpDown1Position(int n) {
  position_ = std::clamp(n, kMinLayers, kMaxLayers);
  edit1_ = std::to_string(position_);
}

void ProfileGrid::SetEdit1Text(std::string text) {
  edit1_ = std::move(text);
  // Only a plain whole number in range moves the spinner, as its buddy field
  // rules it; the integer conversion allows leading blanks, and trailing ones
  // are trimmed here.
  std::string trimmed = edit1_;
  while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
  try {
    const int value = StrToInt(trimmed);
    if (value >= kMinLayers && value <= kMaxLayers) position_ = value;
  } catch (const ConversionError&) {
    // Not a number: the position keeps its last valid value.
  }
}

bool ProfileGrid::UpDown1Click(UpDownButton button) {
  const int next = std::clamp(position_ + (button == UpDownButton::Up ? 1 : -1), kMinLayers, kMaxLayers);
  if (next == position_) return false;
  SetUpDown1Position(next);
  ClearRowsBelow(next);
  SetRowLabels(next);
  return true;
}

void ProfileGrid::BtnClearClick(MessagePort& messages) {
  if (!CBEdit) {
    messages.Show(ErrorBox("編集モードではありませんので，クリアできません", kClearCaption));
    DataCleared = false;
    return;
  }
  if (messages.Show(QuestionBox("地盤構成編集画面の全データをクリアしますか？", kClearCaption)) !=
      MessageResult::Ok) {
    DataCleared = false;
    return;
  }
  DataCleared = true;
  for (int row = 1; row < kRows; ++row) {
    for (int col = 1; col < kColumns; ++col) cells_[col][row].clear();
  }
  EdSite.clear();
}

std::optional<std::string> ProfileGrid::MissingValue() const {
  const int n = position_;
  const int baseRow = n + 1;
  for (int row = 1; row <= n; ++row) {
    for (int col = 1; col <= 3; ++col) {
      if (cells_[col][row].empty()) return "数値の入っていないセルがあります！";
    }
  }
  if (cells_[3][baseRow].empty()) return BaseMessage(baseRow, "Ｓ波速度");
  if (cells_[2][baseRow].empty()) return BaseMessage(baseRow, "密度");
  return std::nullopt;
}

bool ProfileGrid::StoreProfile(SoilProfile& profile, MessagePort& messages) {
  const int n = position_;
  const int baseRow = n + 1;
  if (const std::optional<std::string> missing = MissingValue()) {
    messages.Show(ErrorBox(*missing, kDataErrorCaption));
    return false;
  }

  // Everything that can fail - the conversions and the depth sum - works on a
  // copy, so a bad cell leaves both the profile and the grid as they were.
  SoilProfile next = profile;
  next.layerCount = n;
  for (int row = 1; row <= n; ++row) {
    SoilLayer& layer = next.layers[row - 1];
    layer.thickness = StrToSingle(cells_[1][row]);
    layer.density = StrToSingle(cells_[2][row]);
    layer.vs = StrToSingle(cells_[3][row]);
  }
  next.siteName = EdSite;
  next.layers[n].density = StrToSingle(cells_[2][baseRow]);
  next.layers[n].vs = StrToSingle(cells_[3][baseRow]);
  ComputeDerivedValues(next);

  profile = std::move(next);
  SetRowLabels(n);
  for (int row = 1; row <= n; ++row) {
    const SoilLayer& layer = profile.layers[row - 1];
    cells_[1][row] = FormatLength(layer.thickness);
    cells_[2][row] = FormatLength(layer.density);
    cells_[3][row] = FormatVelocity(layer.vs);
    cells_[4][row + 1] = FormatLength(layer.bottomDepth);
  }
  cells_[4][1] = FormatLength(0.0f);
  cells_[2][baseRow] = FormatLength(profile.layers[n].density);
  cells_[3][baseRow] = FormatVelocity(profile.layers[n].vs);
  return true;
}

ProfileGrid::CellPosition ProfileGrid::NextTypedCell(CellPosition from, bool forward) {
  // The typed cells in reading order, numbered 0..3*21-1.
  constexpr int kTypedColumns = 3;
  constexpr int kCount = kTypedColumns * (kRows - 1);
  const int row = std::clamp(from.row, 1, kRows - 1);
  int index = (row - 1) * kTypedColumns;
  if (forward) {
    // From a label cell the row's first typed cell is next; from the depth
    // cell the next row's first.
    index += from.col < 1 ? 0 : std::min(from.col, kTypedColumns);
    if (from.row < 1) index = 0;
  } else {
    index += std::clamp(from.col, 1, kTypedColumns + 1) - 2;
    if (from.row < 1) index = -1;
  }
  index = (index % kCount + kCount) % kCount;
  return {1 + index % kTypedColumns, 1 + index / kTypedColumns};
}
