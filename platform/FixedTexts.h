#pragma once
// The message-box captions, and the fixed texts that more than one window,
// picture or file shows: one definition each, so that a box or a label reads
// the same wherever it comes from. UTF-8; files convert to CP932 on writing.

// The application title; also the caption of the standard error box.
inline constexpr const char* kApplicationTitle = "地盤増幅特性";

// Message-box captions.
inline constexpr const char* kDataErrorCaption = "データエラー";
inline constexpr const char* kFileErrorCaption = "ファイルエラー";
inline constexpr const char* kOverwriteCaption = "ファイル名重複エラー";
inline constexpr const char* kClearCaption = "編集データクリア";
inline constexpr const char* kExitCaption = "プログラムの終了";
inline constexpr const char* kUnsupportedCaption = "解析処理未対応";
inline constexpr const char* kScaleErrorCaption = "軸目盛り設定エラー";
inline constexpr const char* kDampingErrorCaption = "減衰比設定エラー";
inline constexpr const char* kLayerChoiceErrorCaption = "表示層選択エラー";
inline constexpr const char* kEigenErrorCaption = "Eigen Error";
inline constexpr const char* kJacobiErrorCaption = "Jacobi Error";

// The question before the program ends.
inline constexpr const char* kExitQuestion = "プログラムを終了してもよろしいですか？";
// A file that could not be written, in a box and on the batch's stderr.
inline constexpr const char* kCannotCreateFile = "ファイルを作成することができませんでした";

// The fonts the pictures and windows name; the Qt canvas maps them to
// installed Japanese fonts.
inline constexpr const char* kGothicFont = "ＭＳゴシック";
inline constexpr const char* kPGothicFont = "MS Pゴシック";

// The axis titles of the amplification chart and the settings' preview.
inline constexpr const char* kPeriodAxisTitle = "周期 (s)";
inline constexpr const char* kFrequencyAxisTitle = "振動数 (Hz)";
inline constexpr const char* kAmplificationAxisTitle = "増幅率";

// The first fields of the profile, result and natural-modes files, and the
// heading of the modes table in the file and in the main window's grid.
inline constexpr const char* kSiteNameField = "サイト名,";
inline constexpr const char* kLayerCountField = "層数,";
inline constexpr const char* kNaturalModesHeading = "固有モード";
