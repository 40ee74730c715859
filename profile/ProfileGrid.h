#pragma once
// The profile editor's grid and fields, without a window: the working copy of
// a profile that StoreProfile makes the current one. The form shows it and
// forwards its events here.
#include <array>
#include <optional>
#include <string>

#include "platform/MessageBox.h"
#include "profile/SoilProfile.h"

class ProfileGrid {
 public:
  static constexpr int kRows = 22;    // row 0: headers; rows 1..21: layers and base
  static constexpr int kColumns = 5;  // column 0: labels; 1 thickness, 2 density, 3 vs, 4 depth
  static constexpr std::array<int, kColumns> kColumnWidths{46, 65, 63, 73, 64};
  static constexpr int kRowHeight = 18;
  static constexpr int kMinLayers = 1;
  static constexpr int kMaxLayers = ::kMaxLayers;
  static constexpr int kInitialLayers = 5;

  static constexpr const char* kCaption = "地層構成表示/編集";
  static constexpr const char* kBaseLabel = "基盤層";
  static constexpr const char* kNoThickness = "　　－";
  static constexpr const char* kFileLabelPrefix = "ﾌｧｲﾙ名 : ";

  // The grid after FormCreate, site " 地点名", 5 layers, edit mode off.
  ProfileGrid();

  // Headers into row 0 and "%4d" of 1..20 into column 0 of rows 1..20.
  void FormCreate();

  // Cell text; column first, as the grid addresses its cells. Indices outside
  // the grid throw std::out_of_range.
  const std::string& Cell(int col, int row) const;
  void SetCell(int col, int row, std::string text);

  // Labels for n layers: "%4d" of 1..n into column 0 of rows 1..n, column 0
  // emptied below, "基盤層" and "　　－" into columns 0 and 1 of row n+1.
  void SetRowLabels(int n);
  // Empties columns 1..4 of rows n+1 to the last row.
  void ClearRowsBelow(int n);

  // The layer count spinner UpDown1 (1..20) and its field Edit1. The position,
  // not the number of filled rows, is the count StoreProfile uses.
  int UpDown1Position() const { return position_; }
  // Sets the position (brought into 1..20) and shows it in Edit1; a count
  // still being typed there is dropped.
  void SetUpDown1Position(int n);
  // What Edit1 shows: the text being typed, else the position.
  const std::string& Edit1Text() const { return edit1_; }
  // Text typed into Edit1. It stands in the field and changes nothing until
  // the user is done with the field (ApplyEdit1Text).
  void SetEdit1Text(std::string text);

  struct Edit1Outcome {
    bool changed = false;               // the count moved, and the grid followed it
    std::optional<MessageBox> refusal;  // the text was no count from 1 to 20
  };
  // The user is done with Edit1: Enter, leaving it, an arrow, or an action
  // that reads the count. A whole number from 1 to 20 (blanks around it
  // allowed) becomes the count, and the rows are relabelled for it (the base
  // row and its "－" move) with every typed value kept. Any other text is refused
  // under "データエラー"; a blank field is no answer and is refused without a
  // word. Either way the field shows the count in effect again, before the
  // caller shows the refusal.
  Edit1Outcome ApplyEdit1Text();

  // The cells the user types into: thickness, density and S-wave velocity
  // of rows 1..21, except the base row's thickness, which reads "　　－".
  // The labels, the headers and the computed depths are not typed either.
  bool IsTypedCell(int col, int row) const {
    return col >= 1 && col <= 3 && row >= 1 && row < kRows && !(col == 1 && row == position_ + 1);
  }
  struct CellPosition {
    int col;
    int row;
    bool operator==(const CellPosition&) const = default;
  };
  // Where typing starts when editing begins: the top layer's thickness.
  static constexpr CellPosition kFirstTypedCell{1, 1};
  // The typed cell that Tab (forward) or Shift+Tab moves to from any cell:
  // along the row, then to the next (or previous) row, wrapping round at the
  // ends of the grid.
  CellPosition NextTypedCell(CellPosition from, bool forward) const;
  // Delete or BackSpace on a selected cell: a typed cell is emptied in edit
  // mode; any other cell, or outside edit mode, nothing changes. True when
  // the cell was emptied.
  bool ClearTypedCell(CellPosition cell);

  enum class UpDownButton { Up, Down };
  // An arrow of the spinner pressed: one step from the current position,
  // stopping at the ends. When the position moved, the grid follows the new
  // count n (ClearRowsBelow(n), SetRowLabels(n)) and the result is true; the
  // caller then runs the settings window's EnableLayerBoxes with n. At an end
  // of the range nothing changes and the result is false.
  bool UpDown1Click(UpDownButton button);

  // Clear ("クリア"): refused outside edit mode; in edit mode asks first, and
  // on OK empties columns 1..4 of rows 1..21 and the site name. DataCleared
  // tells which happened.
  void BtnClearClick(MessagePort& messages);

  // The editor's checks of the values for n = UpDown1Position() layers, in
  // its order: an empty layer cell, then the base row's S-wave velocity, then
  // its density. The text of the first refusal, or nothing when the grid is
  // complete. Also applied to a profile read from a file before it is
  // analysed.
  std::optional<std::string> MissingValue() const;

  // Applies a count still being typed into Edit1 (a refusal is shown and
  // the result is false), then checks the grid for n = UpDown1Position()
  // layers and, when it is complete, makes it the current profile and
  // rewrites the grid in its
  // standard formats. The three refusals are shown under "データエラー" and
  // return false. A cell that is not a number throws ConversionError ("'%s'
  // は浮動小数点数ではありません"), and an overflowing value or depth sum
  // throws FloatingPointFault; in every failing case the profile and the grid
  // stay exactly as they were. On true the caller enables the main window's
  // "地層図" button.
  bool StoreProfile(SoilProfile& profile, MessagePort& messages);
  // StoreProfile without the box: the refusal it would show, or nothing once
  // the profile is taken.
  std::optional<MessageBox> TakeProfile(SoilProfile& profile);

  // The free fields of the form.
  std::string EdSite = " 地点名";         // site name as typed (UTF-8)
  std::string Label7 = kFileLabelPrefix;  // file-name line
  bool CBEdit = false;                    // edit mode
  bool DataCleared = false;               // set by Clear

 private:
  std::array<std::array<std::string, kRows>, kColumns> cells_{};
  int position_ = kInitialLayers;
  std::string edit1_ = "5";
};

// The grid's text forms of a stored float32 value (printf of the value
// widened to double): "%6.2f" for thickness, density and depth, "%6.0f" for
// S-wave velocity, "%4d" for the layer labels.
std::string FormatLength(float value);
std::string FormatVelocity(float value);
std::string FormatLayerNumber(int number);
