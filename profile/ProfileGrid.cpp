#include "profile/ProfileGrid.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Conversion.h"
#include "platform/Errors.h"
#include "platform/FixedFormat.h"

namespace {

constexpr std::array<const char*, ProfileGrid::kColumns> kHeaders{"層番号", " 層厚(m)", " 密度", " Ｓv(m/s)",
                                                                  " 深度(m)"};

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

void ProfileGrid::SetEdit1Text(std::string text) { edit1_ = std::move(text); }

ProfileGrid::Edit1Outcome ProfileGrid::ApplyEdit1Text() {
  const std::string typed = std::move(edit1_);
  // Whatever follows, the field shows the count in effect, also while a
  // refusal is on the screen.
  edit1_ = std::to_string(position_);
  Edit1Outcome outcome;
  std::optional<int32_t> count;
  try {
    count = TypedCount(typed);
  } catch (const ConversionError& error) {
    outcome.refusal = ErrorBox(error.what(), kDataErrorCaption);
    return outcome;
  }
  if (!count || *count == position_) return outcome;
  if (*count < kMinLayers || *count > kMaxLayers) {
    outcome.refusal = ErrorBox("層数 " + std::to_string(*count) + " は 1～20 の範囲にありません", kDataErrorCaption);
    return outcome;
  }
  // The rows follow as StoreProfile would relabel them; nothing typed is
  // emptied, so a count typed after the cells loses none of them.
  SetUpDown1Position(*count);
  SetRowLabels(*count);
  outcome.changed = true;
  return outcome;
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
  if (messages.Show(QuestionBox("地盤構成編集画面の全データをクリアしますか？", kClearCaption)) != MessageResult::Ok) {
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
  const std::optional<MessageBox> refusal = TakeProfile(profile);
  if (refusal) messages.Show(*refusal);
  return !refusal;
}

std::optional<MessageBox> ProfileGrid::TakeProfile(SoilProfile& profile) {
  if (const Edit1Outcome typed = ApplyEdit1Text(); typed.refusal) return typed.refusal;
  const int n = position_;
  const int baseRow = n + 1;
  if (const std::optional<std::string> missing = MissingValue()) return ErrorBox(*missing, kDataErrorCaption);

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
  return std::nullopt;
}

namespace {

// The cell after (or before) `from` among columns 1..3 of rows 1..21 in
// reading order, wrapping round at the ends of the grid.
ProfileGrid::CellPosition StepInReadingOrder(ProfileGrid::CellPosition from, bool forward) {
  constexpr int kTypedColumns = 3;
  constexpr int kCount = kTypedColumns * (ProfileGrid::kRows - 1);
  const int row = std::clamp(from.row, 1, ProfileGrid::kRows - 1);
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

}  // namespace

ProfileGrid::CellPosition ProfileGrid::NextTypedCell(CellPosition from, bool forward) const {
  // Only the base row's "－" lies among the cells stepped over; it is passed.
  const CellPosition next = StepInReadingOrder(from, forward);
  return IsTypedCell(next.col, next.row) ? next : StepInReadingOrder(next, forward);
}

bool ProfileGrid::ClearTypedCell(CellPosition cell) {
  if (!CBEdit || !IsTypedCell(cell.col, cell.row)) return false;
  cells_[cell.col][cell.row].clear();
  return true;
}
