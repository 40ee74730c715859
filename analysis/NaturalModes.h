#pragma once
// Natural periods and mode shapes of the lumped-mass model, as the two tables
// of the main window show them, with the eigenvalues they come from.
#include <array>

#include "profile/SoilProfile.h"

struct NaturalModes {
  int n = 0;  // modes (= layers)
  // shape[p][s]: mass p in mode s, unit length per mode
  std::array<std::array<float, kMaxLayers>, kMaxLayers> shape{};
  std::array<float, kMaxLayers> period{};       // T_s, s
  std::array<float, kMaxLayers> frequency{};    // f_s = 1 / T_s, Hz
  std::array<float, kMaxLayers> eigenValues{};  // λ_s = ω_s², ascending
};
