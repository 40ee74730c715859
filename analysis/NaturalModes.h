#pragma once
// Natural periods and mode shapes of the lumped-mass model, as the two tables
// of the main window show them, with the eigenvalues they come from.
#include <array>

struct NaturalModes {
  int n = 0;                                      // modes (= layers)
  std::array<std::array<float, 20>, 20> shape{};  // shape[p][s]: mass p in mode s, unit length per mode
  std::array<float, 20> period{};                 // T_s, s
  std::array<float, 20> frequency{};              // f_s = 1 / T_s, Hz
  std::array<float, 20> eigenValues{};            // λ_s = ω_s², ascending
};
