#pragma once
// Texts the analysis shows.

#include "platform/FixedTexts.h"

inline constexpr const char* kTransferMatrixTitle = "伝達ﾏﾄﾘｯｸｽ解析";
inline constexpr const char* kLumpedMassTitle = "等価質点系解析";
inline constexpr const char* kReflectionNotice = "重複反射による増幅特性の計算は用意されていません　　　";
// A profile file may declare more layers than the analysis has room for.
inline constexpr const char* kTooManyLayers = "解析できる層数は20層までです";
// A damping ratio below 0, refused under kDampingErrorCaption.
inline constexpr const char* kNegativeDampingRatio = "減衰比に負の値は設定できません";
