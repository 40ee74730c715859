// The amplification action: its steps per method, the result slots, the
// multiple-reflection notice, and what a fault leaves behind.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Errors.h"
#include "tests/analysis/FakeAnalysisWindows.h"

namespace {

using Calls = std::vector<std::string>;

const std::string kHysteretic = "Label5 履歴型減衰/減衰比　0.05";

TEST(AnalysisDriver, StepsOfEachMethodInOrder) {
  {
    AnalysisRig rig;
    rig.settings.method = AnalysisMethod::TransferMatrix;
    rig.driver.BtnAmplitudeClick();
    // The natural modes come first, then the transfer matrix's labels; the
    // chart is drawn once, after the method.
    const Calls expected = {"collect",   "CBTest on", "modes", "CBTest off",   "Label4 伝達ﾏﾄﾘｯｸｽ解析",
                            kHysteretic, "clear",     "draw",  "CheckBox1 on", "list",
                            "settings"};
    EXPECT_EQ(rig.windows.calls, expected);
    EXPECT_TRUE(rig.result.complete);
  }
  {
    AnalysisRig rig;
    rig.settings.method = AnalysisMethod::LumpedMass;
    rig.driver.BtnAmplitudeClick();
    const Calls expected = {"collect",   "CBTest on", "modes", kHysteretic,    "Label4 等価質点系解析",
                            "CBTest on", "clear",     "draw",  "CheckBox1 on", "list",
                            "settings"};
    EXPECT_EQ(rig.windows.calls, expected);
    EXPECT_TRUE(rig.result.complete);
  }
  {
    // A group with no method chosen computes nothing but still redraws.
    AnalysisRig rig;
    rig.settings.method = AnalysisMethod::None;
    rig.driver.BtnAmplitudeClick();
    const Calls expected = {"collect", "clear", "draw", "CheckBox1 on", "list", "settings"};
    EXPECT_EQ(rig.windows.calls, expected);
    EXPECT_FALSE(rig.result.complete);
  }
}

TEST(AnalysisDriver, WithNoLayerChosenTheChartKeepsWhatItShowedAndIsAskedOnce) {
  for (AnalysisMethod method : {AnalysisMethod::TransferMatrix, AnalysisMethod::LumpedMass}) {
    AnalysisRig rig;
    rig.settings.method = method;
    rig.windows.anyLayerChosen = false;
    rig.driver.BtnAmplitudeClick();
    // One drawing, which reports the empty choice; no clearing before it.
    EXPECT_EQ(std::count(rig.windows.calls.begin(), rig.windows.calls.end(), "draw"), 1) << ChoiceIndex(method);
    EXPECT_FALSE(rig.windows.Called("clear")) << ChoiceIndex(method);
    EXPECT_TRUE(rig.result.complete);
  }
}

TEST(AnalysisDriver, TransferMatrixRunShowsTheLumpedMassTablesOfTheSameProfile) {
  AnalysisRig transfer, lumped;
  transfer.settings.method = AnalysisMethod::TransferMatrix;
  lumped.settings.method = AnalysisMethod::LumpedMass;
  transfer.driver.BtnAmplitudeClick();
  lumped.driver.BtnAmplitudeClick();
  EXPECT_EQ(transfer.result.eigenValues, lumped.result.eigenValues);
  EXPECT_EQ(transfer.windows.modes->period, lumped.windows.modes->period);
  EXPECT_EQ(transfer.windows.naturalModesEnabled, false);
  EXPECT_NE(transfer.result.amplification[0],
            lumped.result.amplification[0]);  // replaced by the second method
}

TEST(AnalysisDriver, MultipleReflectionIsANoticeAndNothingElse) {
  AnalysisRig rig;
  rig.settings.method = AnalysisMethod::Reflection;
  rig.driver.BtnAmplitudeClick();
  ASSERT_EQ(rig.messages.shown.size(), 1u);
  const MessageBox& box = rig.messages.shown[0];
  EXPECT_EQ(box.text, "重複反射による増幅特性の計算は用意されていません　　　");
  EXPECT_EQ(box.caption, "解析処理未対応");
  EXPECT_EQ(box.icon, MessageIcon::Exclamation);
  EXPECT_EQ(box.buttons, MessageButtons::Ok);
  EXPECT_EQ(rig.windows.calls, (Calls{"collect", "CBTest off"}));
  for (int m = 0; m < 4; ++m) EXPECT_EQ(rig.result.amplification[m], std::vector<float>(200, 0.0f));
  EXPECT_FALSE(rig.result.HasSlot(4));
  EXPECT_FALSE(rig.result.complete);
}

TEST(AnalysisDriver, SlotsFollowTheLatestProfileAndPointCount) {
  std::vector<LayerValues> ten(10, {2.0f, 1.8f, 200.0f});
  AnalysisRig rig(MakeProfile(ten, 2.0f, 500.0f));
  rig.driver.BtnAmplitudeClick();
  for (int m = 0; m < 10; ++m) ASSERT_EQ(rig.result.amplification[m].size(), 200u);

  rig.profile = MakeProfile({{2.0f, 1.8f, 200.0f}, {3.0f, 1.8f, 250.0f}, {4.0f, 1.9f, 300.0f}}, 2.0f, 500.0f);
  rig.result.pointCount = 100;
  rig.driver.BtnAmplitudeClick();
  for (int m = 0; m < 3; ++m) EXPECT_EQ(rig.result.amplification[m].size(), 100u) << m;
  for (int m = 3; m < 20; ++m) {
    EXPECT_FALSE(rig.result.HasSlot(m)) << m;
    EXPECT_EQ(rig.result.amplification[m].capacity(), 0u) << m;  // released, not just emptied
  }
}

TEST(AnalysisDriver, FaultsEndTheActionWithNothingDrawnListedOrShown) {
  struct Case {
    const char* name;
    void (*spoil)(AnalysisRig&);
    const char* message;
    Calls calls;
  };
  const Case cases[] = {
      {"no profile",
       [](AnalysisRig& r) { r.profile.layerCount = 0; },
       "不正な浮動小数点数演算命令",
       {"collect", "CBTest on"}},
      {"zero thickness",
       [](AnalysisRig& r) { r.profile.layers[1].thickness = 0.0f; },
       "0 による浮動小数点数除算",
       {"collect", "CBTest on"}},
      {"logarithmic axis from 0",
       [](AnalysisRig& r) {
         r.settings.xScale = ScaleKind::Logarithmic;
         r.settings.xLower = std::string("0");
       },
       "0 による浮動小数点数除算",
       {"collect"}},
      {"damping text",
       [](AnalysisRig& r) { r.settings.dampingText = std::string("５％"); },
       "'５％' は浮動小数点数ではありません",
       {"collect"}},
  };
  for (const Case& c : cases) {
    for (AnalysisMethod method : {AnalysisMethod::TransferMatrix, AnalysisMethod::LumpedMass}) {
      AnalysisRig rig;
      rig.settings.method = method;
      rig.driver.BtnAmplitudeClick();  // a complete result beforehand
      ASSERT_TRUE(rig.result.complete);
      const auto eigenValues = rig.result.eigenValues;
      rig.windows.calls.clear();
      rig.windows.methodLabel = "(unset)";

      c.spoil(rig);
      EXPECT_EQ(ErrorText([&] { rig.driver.BtnAmplitudeClick(); }), c.message) << c.name;
      EXPECT_EQ(rig.windows.calls, c.calls) << c.name << " method " << ChoiceIndex(method);
      EXPECT_EQ(rig.windows.methodLabel, "(unset)") << c.name;
      EXPECT_FALSE(rig.result.complete) << c.name;
      EXPECT_EQ(rig.result.eigenValues, eigenValues) << c.name;
      for (int m = 0; m < rig.profile.layerCount; ++m) {
        EXPECT_EQ(rig.result.amplification[m], std::vector<float>(200, 0.0f)) << c.name;
      }
    }
  }
}

TEST(AnalysisDriver, InputNoMethodCanComputeIsRefusedUntouched) {
  struct Case {
    const char* name;
    void (*spoil)(AnalysisRig&);
    MessageBox box;
  };
  const Case cases[] = {
      {"21 layers", [](AnalysisRig& r) { r.profile.layerCount = 21; },
       ErrorBox("解析できる層数は20層までです", "解析処理未対応")},
      // Typed in the editor, which stores any number.
      {"zero layer velocity", [](AnalysisRig& r) { r.profile.layers[1].vs = 0.0f; },
       ErrorBox("第2層のＳ波速度に0以下の値は設定できません！", "データエラー")},
      {"negative base velocity", [](AnalysisRig& r) { r.profile.base().vs = -700.0f; },
       ErrorBox("基盤層（第5層）のＳ波速度に0以下の値は設定できません！", "データエラー")},
      // Typed in the settings window but not applied.
      {"negative ratio", [](AnalysisRig& r) { r.settings.dampingText = std::string("-0.05"); },
       ErrorBox("減衰比に負の値は設定できません", "減衰比設定エラー")},
  };
  for (const Case& c : cases) {
    AnalysisRig rig;
    rig.driver.BtnAmplitudeClick();
    const auto before = rig.result.amplification;
    const auto frequency = rig.result.frequency;
    rig.windows.calls.clear();

    c.spoil(rig);
    try {
      rig.driver.BtnAmplitudeClick();
      ADD_FAILURE() << c.name << " was analysed";
    } catch (const ReportedFailure& e) {
      EXPECT_EQ(e.Box(), c.box) << c.name;
    }
    EXPECT_TRUE(rig.windows.calls.empty()) << c.name;
    EXPECT_EQ(rig.result.amplification, before) << c.name;
    EXPECT_EQ(rig.result.frequency, frequency) << c.name;
    EXPECT_TRUE(rig.result.complete) << c.name;
    EXPECT_EQ(rig.profile.layers[21].dampingRatio, 0.0f) << c.name;
    EXPECT_THROW(rig.driver.AnalyseTransferMatrix(), ReportedFailure) << c.name;
    EXPECT_THROW(rig.driver.AnalyseLumpedMass(), ReportedFailure) << c.name;
  }
}

// The analysis itself shows nothing and changes nothing it is given: its
// outcome says how far it came, and a failure is raised again as the error
// it was.
TEST(Analyse, OutcomeIsAValueAndFailuresKeepTheirKind) {
  const SoilProfile profile = SiteProfile();
  AmplificationResult previous;
  previous.pointCount = 200;
  AnalysisSettings s;
  s.dampingText = "0.07";
  const AnalysisOutcome done = Analyse(profile, s, previous);
  EXPECT_EQ(done.reach, AnalysisReach::Complete);
  EXPECT_EQ(done.methodCaption, "伝達ﾏﾄﾘｯｸｽ解析");
  EXPECT_EQ(done.dampingCaption, "履歴型減衰/減衰比　0.07");
  EXPECT_EQ(done.dampingRatio, 0.07f);
  EXPECT_TRUE(done.result.complete);
  EXPECT_EQ(profile.layers[0].dampingRatio, SiteProfile().layers[0].dampingRatio);

  s.xScale = ScaleKind::Logarithmic;
  s.xLower = std::string("0");
  const AnalysisOutcome fault = Analyse(profile, s, done.result);
  EXPECT_EQ(fault.reach, AnalysisReach::Slots);
  EXPECT_FALSE(fault.result.complete);
  ASSERT_TRUE(fault.failure.has_value());
  EXPECT_THROW(Raise(*fault.failure), FloatingPointFault);
  EXPECT_EQ(ErrorText([&] { Raise(*fault.failure); }), "0 による浮動小数点数除算");

  s = AnalysisSettings{};
  s.dampingText = std::string("５％");
  const AnalysisOutcome text = Analyse(profile, s, done.result);
  ASSERT_TRUE(text.failure.has_value());
  EXPECT_THROW(Raise(*text.failure), ConversionError);
  EXPECT_EQ(text.failure->box, ConversionError("'５％' は浮動小数点数ではありません").Box());
}

}  // namespace
