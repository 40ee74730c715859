#pragma once
// STEM-modes.csv: the natural-period table and the mode shapes of the main
// window's two grids, CP932 with CR LF.
#include <optional>
#include <string>

#include "analysis/NaturalModes.h"

// The file's bytes; nothing when the site name has no CP932 form.
std::optional<std::string> FormatModesFile(const std::string& siteName, const NaturalModes& modes);

// Why a modes file cannot be made: its site name has no CP932 form.
inline constexpr const char* kModesSiteNotCp932 =
    "サイト名を Shift-JIS で書けないため固有モードファイルを作成できません";
