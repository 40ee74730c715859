#pragma once
// Every choice that governs an analysis and the look of the amplification
// chart: the state of the settings window's controls. Texts stay as typed and
// are converted by each consumer when it runs.
#include <array>
#include <string>

struct AnalysisSettings {
  // Radio-group indices; -1 means no item chosen.
  int method = 0;       // 0 transfer matrix, 1 lumped mass, 2 multiple reflection
  int dampingForm = 0;  // 0 hysteretic, 1 viscous
  std::string dampingText = "0.05";

  std::string xLower = "0";
  std::string xUpper = "5";
  int xDivisions = 5;     // 1..10
  int xSubDivisions = 5;  // 0..5
  int xQuantity = 0;      // 0 period, 1 frequency
  int xScale = 0;         // 0 linear, 1 logarithmic

  std::string yLower = "0";
  std::string yUpper = "20";
  int yDivisions = 4;
  int ySubDivisions = 5;
  int yScale = 0;

  int pointChoice = 1;  // 0 → 100, 1 → 200, 2 → 400 points

  std::array<bool, 20> displayLayers{true};  // layer 1 only
  bool showProfile = true;
  bool profileLeft = false;
  bool showLayerLegend = true;
  bool legendLeft = false;
  bool boldCurves = true;
  bool showMethod = true;

  bool operator==(const AnalysisSettings&) const = default;
};
