#pragma once
// The fixed texts of the usage window, the version window and the
// instruction note. The windows show these and keep no copies of their own.
#include <array>

inline constexpr const char* kHowToCaption = "  地盤増幅特性解析システム / 使い方";
inline constexpr const char* kVersionCaption = "  地盤増幅特性解析システム /  バージョン情報";
inline constexpr const char* kDataInputCaption = "　地盤地層データ設定";
inline constexpr const char* kProgramVersion = "TOVALK Ver1.0";
inline constexpr const char* kVersionDate = "2004/07/31";
// The hint of the emblem that closes the usage and version windows.
inline constexpr const char* kCloseHint = "閉じる";

// The instruction note shown with the editor for a new profile.
inline constexpr std::array<const char*, 7> kDataInputLines = {
    "地盤地層データを設定してください",
    "",
    "（１）基盤層より上にある層数を指定してください",
    "（２）層厚，密度，Ｓ波速度を入れてください",
    "（３）基盤層の密度，Ｓ波速度を入れてください",
    "（４）「地層図」ボタンをクリックしてください",
    "",
};

// The usage text: a header, "[機能]" and "[使い方]" with its four sections.
// Lines end in LF; the text area shows them as they are.
inline constexpr const char* kHowToText =
    "　　地盤増幅特性解析システム\n"
    "　　　　TOVALK Ver1.0　　2004/07/22\n"
    "\n"
    "[機能]\n"
    "　水平な成層地盤に鉛直下方から入射するＳ波について、各層上端の増幅特性を計算します。\n"
    "　基盤層の上に最大20層までの地盤を扱うことができます。\n"
    "\n"
    "[使い方]\n"
    "1. 地盤層構成データの設定\n"
    "　(1) 新規作成\n"
    "　　「新規作成」を選んで「実 行」を押すと地層構成の編集画面が開きます。\n"
    "　　基盤層より上にある層数をスピンボタンで指定してください（最大20層）。\n"
    "　　各層の層厚、密度、Ｓ波速度を入力します。深度は層厚から自動的に計算されます。\n"
    "　　基盤層には密度とＳ波速度だけを入力します。\n"
    "　　入力したデータは、必要に応じて「ﾌｧｲﾙ保存」でCSVファイルに保存してください。\n"
    "　(2) ファイル読込\n"
    "　　「ﾌｧｲﾙ読込」を選んで「実 行」を押し、以前に保存した地層構成データ\n"
    "　　（または増幅特性データ）のファイルを選びます。\n"
    "　(3) 編集\n"
    "　　よく似た地盤のデータを読み込み、「編　　集」で変更して別の名前で保存できます。\n"
    "　　ファイルを読み込むと、地層図と、前回の書式による増幅特性図が表示されます。\n"
    "\n"
    "2. 地層データの編集\n"
    "　編集画面の「編集」にチェックを入れると、データを編集できるようになります。\n"
    "　編集できるのは層厚、密度、Ｓ波速度と層数です。\n"
    "　深度は自動的に再計算される参考値で、入力する必要はありません。\n"
    "　層数は表示されている行の数ではなく、スピンボタンの値です。\n"
    "　編集が終わったら「地層図」を押して地層図を描き、データを確認してください。\n"
    "\n"
    "3. 地盤増幅特性　\n"
    "　「増幅特性」ボタンを押すと、選択した解析法で増幅特性を計算して図を描きます。\n"
    "　増幅特性図の上で右クリックすると、解析法と書式を設定する画面が開きます。\n"
    "　設定を変えたら「設定」ボタンを押すと、その設定が反映されます。\n"
    "　選択した解析法と書式は終了時に保存され、次回の起動時に復元されます。\n"
    "\n"
    "4. 地盤増幅特性解析法および書式設定\n"
    "　解析法（伝達マトリックス法・等価質点系）、減衰形式（履歴型・粘性型）と\n"
    "　すべての層に共通の減衰比を設定できます。\n"
    "　増幅特性を描く層を選ぶことができます。\n"
    "　横軸（周期または振動数）と縦軸（増幅率）の範囲、分割数、線形・対数目盛を\n"
    "　自由に設定できます。\n"
    "　図に地層図、層識別、解析法を記入するかどうか、曲線を太線にするかどうかを選べます。\n";
