#pragma once
// The summary of many boreholes (--summary FILE): one header line, then one
// line per analysed file in input order. CP932 with CR LF, like every file the
// program writes.
#include <optional>
#include <string>

#include "analysis/AmplificationResult.h"
#include "profile/SoilProfile.h"

// The header line, UTF-8, without its line end.
extern const char* const kSummaryHeader;

// Ground figures of a profile from its float32 values, in double.
struct SiteFigures {
  double totalThickness = 0.0;  // sum of the layer thicknesses, m
  double vs30 = 0.0;            // 30 m over the travel time through the top 30 m, m/s
  double groundPeriod = 0.0;    // 4 * sum(H / Vs) over the layers, s
};

// The base layer's velocity carries on below the profile's bottom when the
// layers are shallower than 30 m.
SiteFigures ComputeSiteFigures(const SoilProfile& profile);

// The sample of layer 1 with the largest amplification among the first
// pointCount samples (the first of equal ones); nothing when none has a value.
std::optional<int> PeakSample(const AmplificationResult& result);

// One summary line, UTF-8 and without its line end: the input path as given,
// the site, the layer count, the three site figures, the first natural period
// and layer 1's peak with its frequency and period.
std::string FormatSummaryLine(const std::string& input, const SoilProfile& profile, float firstPeriod,
                              const AmplificationResult& result);
