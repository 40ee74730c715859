#pragma once
// The result file ("増幅特性ﾃﾞｰﾀ"): the profile lines with the damping ratios,
// the method and damping lines of the settings, and the table of frequency,
// period and every layer's amplification; CP932 with CR LF line ends.
#include <optional>
#include <string>

#include "analysis/AmplificationResult.h"
#include "analysis/AnalysisSettings.h"
#include "profile/ProfileFiles.h"
#include "profile/SoilProfile.h"

// The result file of the result's first pointCount samples for layers
// 1..layerCount. A sample without a value is written as "     ---". Expects a
// layer count of 0 to 20 and never reads beyond it; the caller makes sure the
// result belongs to the profile.
FormattedFile FormatResultFile(const SoilProfile& profile, const AmplificationResult& result,
                               const AnalysisSettings& settings);

// True when the result holds a completed analysis with one filled slot for
// each layer of the profile and no other.
bool HasResultFor(const SoilProfile& profile, const AmplificationResult& result);

// The main window's "保 存" up to the bytes: the grid taken over and the
// result file formatted, nothing written. Nothing when a message box
// reported why not.
std::optional<std::string> ResultFileBytes(ProfileFiles& files, const AmplificationResult& result,
                                           const AnalysisSettings& settings);

// ResultFileBytes, then written under the name chosen in the save dialog. The
// file labels stay as they are. True when the file was written.
bool SaveResultFile(ProfileFiles& files, const AmplificationResult& result, const AnalysisSettings& settings);
