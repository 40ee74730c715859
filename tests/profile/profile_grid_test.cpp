#include "profile/ProfileGrid.h"

#include <gtest/gtest.h>

#include <utility>

#include <deque>
#include <vector>

#include "platform/Errors.h"

namespace {

struct ScriptedMessages : MessagePort {
  std::vector<MessageBox> shown;
  std::deque<MessageResult> answers;
  MessageResult Show(const MessageBox& box) override {
    shown.push_back(box);
    if (answers.empty()) return MessageResult::Ok;
    const MessageResult answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

struct Row {
  const char* thickness;
  const char* density;
  const char* vs;
};

// Types a profile into the grid as a user would: the count into the
// spinner's field, left for the layer rows and the base row.
void Type(ProfileGrid& grid, const std::vector<Row>& layers, const char* baseDensity, const char* baseVs) {
  grid.SetEdit1Text(std::to_string(layers.size()));
  grid.ApplyEdit1Text();
  for (std::size_t i = 0; i < layers.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    grid.SetCell(1, row, layers[i].thickness);
    grid.SetCell(2, row, layers[i].density);
    grid.SetCell(3, row, layers[i].vs);
  }
  const int base = static_cast<int>(layers.size()) + 1;
  grid.SetCell(2, base, baseDensity);
  grid.SetCell(3, base, baseVs);
}

std::vector<std::string> AllCells(const ProfileGrid& grid) {
  std::vector<std::string> cells;
  for (int row = 0; row < ProfileGrid::kRows; ++row) {
    for (int col = 0; col < ProfileGrid::kColumns; ++col) cells.push_back(grid.Cell(col, row));
  }
  cells.push_back(grid.EdSite);
  cells.push_back(grid.Edit1Text());
  return cells;
}

void ExpectSameProfile(const SoilProfile& a, const SoilProfile& b) {
  EXPECT_EQ(a.siteName, b.siteName);
  EXPECT_EQ(a.layerCount, b.layerCount);
  EXPECT_EQ(a.totalDepth, b.totalDepth);
  EXPECT_EQ(a.maxVs, b.maxVs);
  for (int i = 0; i < kLayerRecords; ++i) {
    EXPECT_EQ(a.layers[i].thickness, b.layers[i].thickness) << i;
    EXPECT_EQ(a.layers[i].density, b.layers[i].density) << i;
    EXPECT_EQ(a.layers[i].vs, b.layers[i].vs) << i;
    EXPECT_EQ(a.layers[i].dampingRatio, b.layers[i].dampingRatio) << i;
    EXPECT_EQ(a.layers[i].bottomDepth, b.layers[i].bottomDepth) << i;
  }
}

// A current profile that a refused or failed take-over must leave alone.
SoilProfile EarlierProfile() {
  SoilProfile p;
  p.siteName = "前の地点";
  p.layerCount = 2;
  p.layers[0] = {1.5f, 1.7f, 120.0f, 0.05f, 1.5f};
  p.layers[1] = {2.5f, 1.8f, 250.0f, 0.05f, 4.0f};
  p.layers[2] = {0.0f, 2.1f, 600.0f, 0.05f, 0.0f};
  p.totalDepth = 4.0f;
  p.maxVs = 250.0f;
  return p;
}

TEST(ProfileGrid, StartsWithHeadersLabelsAndFiveLayers) {
  const ProfileGrid grid;
  EXPECT_EQ(grid.Cell(0, 0), "層番号");
  EXPECT_EQ(grid.Cell(1, 0), " 層厚(m)");
  EXPECT_EQ(grid.Cell(2, 0), " 密度");
  EXPECT_EQ(grid.Cell(3, 0), " Ｓv(m/s)");
  EXPECT_EQ(grid.Cell(4, 0), " 深度(m)");
  EXPECT_EQ(grid.Cell(0, 1), "   1");
  EXPECT_EQ(grid.Cell(0, 20), "  20");
  EXPECT_EQ(grid.Cell(0, 21), "");
  EXPECT_EQ(grid.Cell(1, 6), "");
  EXPECT_EQ(ProfileGrid::kColumnWidths, (std::array<int, 5>{46, 65, 63, 73, 64}));
  EXPECT_EQ(grid.EdSite, " 地点名");
  EXPECT_EQ(grid.UpDown1Position(), 5);
  EXPECT_EQ(grid.Edit1Text(), "5");
  EXPECT_FALSE(grid.CBEdit);
  EXPECT_FALSE(grid.DataCleared);
  EXPECT_THROW(grid.Cell(5, 0), std::out_of_range);
  EXPECT_THROW(grid.Cell(0, 22), std::out_of_range);
}

TEST(ProfileGrid, RowLabelsAndClearingBelow) {
  ProfileGrid grid;
  for (int row = 1; row < ProfileGrid::kRows; ++row) {
    for (int col = 1; col < ProfileGrid::kColumns; ++col) grid.SetCell(col, row, "v");
  }
  grid.SetRowLabels(3);
  EXPECT_EQ(grid.Cell(0, 3), "   3");
  EXPECT_EQ(grid.Cell(0, 4), "基盤層");
  EXPECT_EQ(grid.Cell(1, 4), "　　－");
  EXPECT_EQ(grid.Cell(2, 4), "v");
  EXPECT_EQ(grid.Cell(0, 5), "");
  EXPECT_EQ(grid.Cell(0, 21), "");
  EXPECT_EQ(grid.Cell(1, 5), "v");  // only the labels move

  grid.ClearRowsBelow(3);
  EXPECT_EQ(grid.Cell(1, 3), "v");
  EXPECT_EQ(grid.Cell(4, 3), "v");
  for (int row = 4; row < ProfileGrid::kRows; ++row) {
    for (int col = 1; col < ProfileGrid::kColumns; ++col) EXPECT_EQ(grid.Cell(col, row), "") << col << "," << row;
  }
  EXPECT_EQ(grid.Cell(0, 4), "基盤層");

  grid.SetRowLabels(20);
  EXPECT_EQ(grid.Cell(0, 20), "  20");
  EXPECT_EQ(grid.Cell(0, 21), "基盤層");
  EXPECT_EQ(grid.Cell(1, 21), "　　－");
}

TEST(ProfileGrid, ClearAsksAndOnlyClearsInEditMode) {
  ProfileGrid grid;
  Type(grid, {{"2", "1.8", "150"}}, "2.0", "400");
  grid.DataCleared = true;
  const auto before = AllCells(grid);

  ScriptedMessages messages;
  grid.BtnClearClick(messages);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], ErrorBox("編集モードではありませんので，クリアできません", "編集データクリア"));
  EXPECT_FALSE(grid.DataCleared);
  EXPECT_EQ(AllCells(grid), before);

  grid.CBEdit = true;
  grid.DataCleared = true;
  messages.shown.clear();
  messages.answers = {MessageResult::Cancel};
  grid.BtnClearClick(messages);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], QuestionBox("地盤構成編集画面の全データをクリアしますか？", "編集データクリア"));
  EXPECT_FALSE(grid.DataCleared);
  EXPECT_EQ(AllCells(grid), before);

  grid.SetCell(4, 21, "x");
  messages.answers = {MessageResult::Ok};
  grid.BtnClearClick(messages);
  EXPECT_TRUE(grid.DataCleared);
  EXPECT_EQ(grid.EdSite, "");
  for (int row = 1; row < ProfileGrid::kRows; ++row) {
    for (int col = 1; col < ProfileGrid::kColumns; ++col) EXPECT_EQ(grid.Cell(col, row), "");
  }
  EXPECT_EQ(grid.Cell(0, 1), "   1");
  EXPECT_EQ(grid.Cell(1, 0), " 層厚(m)");
  EXPECT_EQ(grid.UpDown1Position(), 1);
}

// Each refusal: its one message under "データエラー", false, and neither the
// profile nor the grid touched.
void ExpectRefused(ProfileGrid& grid, const std::string& text) {
  SoilProfile profile = EarlierProfile();
  const auto before = AllCells(grid);
  ScriptedMessages messages;
  EXPECT_FALSE(grid.StoreProfile(profile, messages));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], ErrorBox(text, "データエラー"));
  EXPECT_EQ(AllCells(grid), before);
  ExpectSameProfile(profile, EarlierProfile());
}

TEST(ProfileGrid, TabOrderVisitsOnlyTheTypedCellsAndPassesTheBaseRowsDash) {
  using P = ProfileGrid::CellPosition;
  ProfileGrid grid;  // 5 layers: the base is row 6
  const auto next = [&grid](int col, int row, bool forward) {
    const P to = grid.NextTypedCell({col, row}, forward);
    return std::pair(to.col, to.row);
  };
  EXPECT_EQ(next(1, 1, true), std::pair(2, 1));
  EXPECT_EQ(next(3, 1, true), std::pair(1, 2));  // velocity → next thickness
  EXPECT_EQ(next(4, 4, true), std::pair(1, 5));  // from a depth cell
  EXPECT_EQ(next(3, 5, true), std::pair(2, 6));  // the base row's "－" is passed
  EXPECT_EQ(next(4, 5, true), std::pair(2, 6));
  EXPECT_EQ(next(1, 6, true), std::pair(2, 6));  // from the "－" itself
  EXPECT_EQ(next(2, 6, false), std::pair(3, 5));
  EXPECT_EQ(next(0, 7, true), std::pair(1, 7));   // from a label cell
  EXPECT_EQ(next(2, 0, true), std::pair(1, 1));   // from the header row
  EXPECT_EQ(next(3, 21, true), std::pair(1, 1));  // wraps round
  EXPECT_EQ(next(1, 2, false), std::pair(3, 1));
  EXPECT_EQ(next(4, 5, false), std::pair(3, 5));
  EXPECT_EQ(next(1, 1, false), std::pair(3, 21));
  EXPECT_EQ(ProfileGrid::kFirstTypedCell, (P{1, 1}));
  const auto typedCells = [&grid] {
    int typed = 0;
    for (int row = 0; row < ProfileGrid::kRows; ++row) {
      for (int col = 0; col < ProfileGrid::kColumns; ++col) typed += grid.IsTypedCell(col, row);
    }
    return typed;
  };
  EXPECT_EQ(typedCells(), 62);
  EXPECT_FALSE(grid.IsTypedCell(1, 6));
  EXPECT_FALSE(grid.IsTypedCell(4, 3));
  EXPECT_FALSE(grid.IsTypedCell(0, 3));

  // The dash moves with the count; Delete empties only typed cells, and only
  // in edit mode.
  grid.SetEdit1Text("3");
  ASSERT_TRUE(grid.ApplyEdit1Text().changed);
  EXPECT_TRUE(grid.IsTypedCell(1, 6));
  EXPECT_FALSE(grid.IsTypedCell(1, 4));
  EXPECT_EQ(typedCells(), 62);
  grid.SetCell(2, 2, "1.8");
  EXPECT_FALSE(grid.ClearTypedCell({2, 2}));
  grid.CBEdit = true;
  EXPECT_FALSE(grid.ClearTypedCell({1, 4}));
  EXPECT_FALSE(grid.ClearTypedCell({0, 2}));
  EXPECT_EQ(grid.Cell(1, 4), "　　－");
  EXPECT_TRUE(grid.ClearTypedCell({2, 2}));
  EXPECT_EQ(grid.Cell(2, 2), "");
}

TEST(StoreProfile, RefusesAnIncompleteGridInOrder) {
  const std::vector<Row> three{{"2", "1.8", "150"}, {"3", "1.9", "200"}, {"5", "2.0", "300"}};
  {
    ProfileGrid grid;
    Type(grid, three, "2.1", "");
    ExpectRefused(grid, "基盤層（第4層）のＳ波速度が与えられていません！");
  }
  {
    ProfileGrid grid;  // both base cells empty: the velocity is tested first
    Type(grid, three, "", "");
    ExpectRefused(grid, "基盤層（第4層）のＳ波速度が与えられていません！");
  }
  {
    ProfileGrid grid;
    Type(grid, three, "", "500");
    ExpectRefused(grid, "基盤層（第4層）の密度が与えられていません！");
  }
  {
    ProfileGrid grid;  // an empty cell in row 1 is found before the base row
    Type(grid, {{"2", "", "150"}, {"", "1.9", "200"}}, "", "");
    ExpectRefused(grid, "数値の入っていないセルがあります！");
  }
  {
    ProfileGrid grid;
    Type(grid, std::vector<Row>(20, Row{"1", "1", "1"}), "1", "");
    ExpectRefused(grid, "基盤層（第21層）のＳ波速度が与えられていません！");
  }
}

TEST(StoreProfile, TakesOverTheGridAndRewritesItsCells) {
  ProfileGrid grid;
  Type(grid, {{"2", "1.8", "150.6"}, {"3", "1.9", "200"}, {"5", " 2.0 ", "300"}}, "2.1", "700.4");
  grid.EdSite = " 地点Ａ ";
  grid.SetCell(1, 6, "junk");  // rows below the base are not part of the profile
  SoilProfile profile = EarlierProfile();
  profile.layers[3].thickness = 9.0f;  // the base record's thickness is neither set nor read
  profile.layers[12].vs = 999.0f;
  ScriptedMessages messages;
  ASSERT_TRUE(grid.StoreProfile(profile, messages));
  EXPECT_TRUE(messages.shown.empty());

  const std::vector<std::vector<std::string>> expected{
      {"   1", "  2.00", "  1.80", "   151", "  0.00"},
      {"   2", "  3.00", "  1.90", "   200", "  2.00"},
      {"   3", "  5.00", "  2.00", "   300", "  5.00"},
      {"基盤層", "　　－", "  2.10", "   700", " 10.00"},
  };
  for (int row = 1; row <= 4; ++row) {
    for (int col = 0; col < 5; ++col) EXPECT_EQ(grid.Cell(col, row), expected[row - 1][col]) << col << "," << row;
  }
  EXPECT_EQ(grid.Cell(0, 5), "");
  EXPECT_EQ(grid.Cell(1, 6), "junk");

  EXPECT_EQ(profile.siteName, " 地点Ａ ");
  EXPECT_EQ(profile.layerCount, 3);
  EXPECT_EQ(profile.layers[0].vs, 150.6f);
  EXPECT_EQ(profile.layers[2].density, 2.0f);
  EXPECT_EQ(profile.layers[0].bottomDepth, 2.0f);
  EXPECT_EQ(profile.layers[1].bottomDepth, 5.0f);
  EXPECT_EQ(profile.layers[2].bottomDepth, 10.0f);
  EXPECT_EQ(profile.totalDepth, 10.0f);
  EXPECT_EQ(profile.maxVs, 300.0f);  // the base velocity does not count
  EXPECT_EQ(profile.layers[3].density, 2.1f);
  EXPECT_EQ(profile.layers[3].vs, 700.4f);
  EXPECT_EQ(profile.layers[3].thickness, 9.0f);
  EXPECT_EQ(profile.layers[12].vs, 999.0f);

  // The rewritten cells convert again, to the values they show: a second
  // take-over holds the rounded velocities.
  ASSERT_TRUE(grid.StoreProfile(profile, messages));
  EXPECT_EQ(profile.layers[0].vs, 151.0f);
  EXPECT_EQ(profile.layers[3].vs, 700.0f);
  EXPECT_EQ(grid.Cell(3, 1), "   151");
}

TEST(StoreProfile, DepthsAreFloat32RunningSums) {
  ProfileGrid grid;
  Type(grid, {{"0.1", "1", "-5"}, {"0.2", "1", "0"}}, "1", "1");
  SoilProfile profile;
  ScriptedMessages messages;
  ASSERT_TRUE(grid.StoreProfile(profile, messages));
  const float sum = static_cast<float>(static_cast<double>(0.1f) + 0.2f);
  EXPECT_EQ(profile.totalDepth, sum);
  EXPECT_EQ(profile.maxVs, 0.0f);  // no velocity above 0
  EXPECT_EQ(grid.Cell(3, 1), "    -5");
  EXPECT_EQ(grid.Cell(4, 3), "  0.30");
}

// A failed conversion or store ends the action with the grid and the profile
// exactly as they were, however far the take-over had got.
void ExpectFailsWithoutChange(ProfileGrid& grid, const std::string& text, bool conversion = true) {
  SoilProfile profile = EarlierProfile();
  const auto before = AllCells(grid);
  ScriptedMessages messages;
  try {
    grid.StoreProfile(profile, messages);
    ADD_FAILURE() << "no error for " << text;
  } catch (const ConversionError& e) {
    EXPECT_TRUE(conversion);
    EXPECT_EQ(std::string(e.what()), text);
  } catch (const FloatingPointFault& e) {
    EXPECT_FALSE(conversion);
    EXPECT_EQ(std::string(e.what()), text);
  }
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(AllCells(grid), before);
  ExpectSameProfile(profile, EarlierProfile());
}

TEST(StoreProfile, FailuresPartWayChangeNothing) {
  {
    ProfileGrid grid;
    Type(grid, {{"2", "1.8", "150"}, {"3", "1.9", "abc"}, {"5", "2.0", "300"}}, "2.1", "700");
    ExpectFailsWithoutChange(grid, "'abc' は浮動小数点数ではありません");
  }
  {
    ProfileGrid grid;  // a single blank is not empty; it fails in the conversion
    Type(grid, {{"2", "1.8", "150"}}, " ", "700");
    ExpectFailsWithoutChange(grid, "' ' は浮動小数点数ではありません");
  }
  {
    ProfileGrid grid;
    Type(grid, {{"2", "1.8", "150"}}, "2", "1e39");
    ExpectFailsWithoutChange(grid, "浮動小数点数のオーバーフロー", false);
  }
  {
    ProfileGrid grid;  // each thickness fits, their sum does not
    Type(grid, {{"3e38", "1", "1"}, {"3e38", "1", "1"}}, "1", "1");
    ExpectFailsWithoutChange(grid, "浮動小数点数のオーバーフロー", false);
  }
}

TEST(LayerCountSpinner, ArrowsRelabelAndClearBelow) {
  ProfileGrid grid;
  Type(grid, std::vector<Row>(5, Row{"1", "1.5", "100"}), "2", "400");
  grid.SetRowLabels(5);
  ASSERT_TRUE(grid.UpDown1Click(ProfileGrid::UpDownButton::Up));
  EXPECT_EQ(grid.UpDown1Position(), 6);
  EXPECT_EQ(grid.Edit1Text(), "6");
  // The former base row is now layer 6, its thickness still the dash.
  EXPECT_EQ(grid.Cell(0, 6), "   6");
  EXPECT_EQ(grid.Cell(1, 6), "　　－");
  EXPECT_EQ(grid.Cell(2, 6), "2");
  EXPECT_EQ(grid.Cell(0, 7), "基盤層");
  EXPECT_EQ(grid.Cell(2, 7), "");

  // Row 7 (the new base) is empty, so the grid is refused before converting;
  // once the base is typed the dash fails in the conversion.
  ExpectRefused(grid, "基盤層（第7層）のＳ波速度が与えられていません！");
  grid.SetCell(2, 7, "2");
  grid.SetCell(3, 7, "500");
  ExpectFailsWithoutChange(grid, "'　　－' は浮動小数点数ではありません");

  grid.SetUpDown1Position(20);
  for (int col = 1; col < 5; ++col) grid.SetCell(col, 20, "a"), grid.SetCell(col, 21, "b");
  EXPECT_FALSE(grid.UpDown1Click(ProfileGrid::UpDownButton::Up));  // stops at the end
  EXPECT_EQ(grid.Cell(2, 21), "b");
  ASSERT_TRUE(grid.UpDown1Click(ProfileGrid::UpDownButton::Down));
  EXPECT_EQ(grid.UpDown1Position(), 19);
  for (int col = 2; col < 5; ++col) EXPECT_EQ(grid.Cell(col, 20), "") << col;
  EXPECT_EQ(grid.Cell(0, 20), "基盤層");
  EXPECT_EQ(grid.Cell(1, 20), "　　－");
  EXPECT_EQ(grid.Cell(2, 21), "");
  EXPECT_EQ(grid.Cell(0, 21), "");

  grid.SetUpDown1Position(1);
  EXPECT_FALSE(grid.UpDown1Click(ProfileGrid::UpDownButton::Down));
  EXPECT_EQ(grid.UpDown1Position(), 1);
}

TEST(LayerCountSpinner, TypedCountWaitsUntilAppliedAndABadOneIsRefusedAndUndone) {
  ProfileGrid grid;
  Type(grid, {{"2", "1.8", "150"}, {"3", "1.9", "200"}, {"5", "2.0", "300"}}, "2.1", "700");
  const std::vector<std::string> before = AllCells(grid);

  // Typing moves nothing: "2" on the way to "21" is not a count yet.
  grid.SetEdit1Text("2");
  EXPECT_EQ(grid.UpDown1Position(), 3);
  grid.SetEdit1Text("21");
  EXPECT_EQ(grid.Edit1Text(), "21");
  EXPECT_EQ(grid.UpDown1Position(), 3);

  // Applied, a text that is no count from 1 to 20 is refused, the field
  // shows the count in effect again and nothing else has changed.
  const std::vector<std::pair<const char*, const char*>> refused{
      {"21", "層数 21 は 1～20 の範囲にありません"}, {"0", "層数 0 は 1～20 の範囲にありません"},
      {"-1", "層数 -1 は 1～20 の範囲にありません"}, {"2.5", "'2.5' は整数ではありません"},
      {"abc", "'abc' は整数ではありません"},         {"2 1", "'2 1' は整数ではありません"}};
  for (const auto& [text, message] : refused) {
    grid.SetEdit1Text(text);
    const ProfileGrid::Edit1Outcome outcome = grid.ApplyEdit1Text();
    EXPECT_FALSE(outcome.changed) << text;
    EXPECT_EQ(outcome.refusal, ErrorBox(message, "データエラー")) << text;
    EXPECT_EQ(AllCells(grid), before) << text;
  }
  // A field left blank, or the count itself, is no change and no refusal.
  for (const char* text : {"", "  ", "3", " 03 "}) {
    grid.SetEdit1Text(text);
    const ProfileGrid::Edit1Outcome outcome = grid.ApplyEdit1Text();
    EXPECT_FALSE(outcome.changed || outcome.refusal) << text;
    EXPECT_EQ(AllCells(grid), before) << text;
  }

  // StoreProfile reads the field: a count still being typed is applied
  // first, and a refused one stops it with the profile as it was.
  SoilProfile profile = EarlierProfile();
  ScriptedMessages messages;
  grid.SetEdit1Text("21");
  EXPECT_FALSE(grid.StoreProfile(profile, messages));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], ErrorBox("層数 21 は 1～20 の範囲にありません", "データエラー"));
  ExpectSameProfile(profile, EarlierProfile());
  EXPECT_EQ(AllCells(grid), before);
  ASSERT_TRUE(grid.StoreProfile(profile, messages));
  EXPECT_EQ(profile.layerCount, 3);

  // A good count, blanks around it, moves the base row's labels; what was
  // typed stays (unlike an arrow, which empties the new base row).
  grid.SetEdit1Text(" 2 ");
  EXPECT_TRUE(grid.ApplyEdit1Text().changed);
  EXPECT_EQ(grid.UpDown1Position(), 2);
  EXPECT_EQ(grid.Edit1Text(), "2");
  EXPECT_EQ(grid.Cell(0, 3), "基盤層");
  EXPECT_EQ(grid.Cell(1, 3), "　　－");
  EXPECT_EQ(grid.Cell(2, 3), "  2.00");
  EXPECT_EQ(grid.Cell(0, 4), "");
  EXPECT_EQ(grid.Cell(3, 4), "   700");

  grid.SetEdit1Text("7");
  grid.SetUpDown1Position(25);  // a file read or a new profile drops the typing
  EXPECT_EQ(grid.UpDown1Position(), 20);
  EXPECT_EQ(grid.Edit1Text(), "20");
  EXPECT_FALSE(grid.ApplyEdit1Text().changed);
}

}  // namespace
