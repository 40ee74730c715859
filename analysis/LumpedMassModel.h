#pragma once
// The equivalent lumped-mass model of a profile: point masses at the layer
// tops joined by shear springs on a rigid base, and its natural modes.
#include <array>

#include "analysis/NaturalModes.h"
#include "profile/SoilProfile.h"

struct LumpedMassModel {
  int n = 0;
  std::array<float, 20> mass{};    // m_p, at the top of layer p
  std::array<float, 20> spring{};  // k_p, layer p
};

// The masses and springs, float32 as stored. No profile is 0/0 (an invalid
// operation), a zero thickness a division by zero; more than 20 layers is
// refused with "解析できる層数は20層までです" / "解析処理未対応".
LumpedMassModel BuildLumpedMassModel(const SoilProfile& profile);

// Natural periods, frequencies, mode shapes and eigenvalues, computed in
// double from the stored masses and springs and rounded once to float32.
// The mode tables' faults: those of the model, a zero mass (a division by
// zero), and an eigenvalue that is not positive (no period).
NaturalModes SolveNaturalModes(const SoilProfile& profile);
NaturalModes SolveNaturalModes(const LumpedMassModel& model);
