#pragma once
// The two methods as calculators: from the profile, the settings and the
// samples to the amplification table and the natural modes. They make no
// window calls and raise only their own faults (FloatingPointFault, a
// ReportedFailure of the eigen solution, the conversion of the damping text).
// The samples come from AnalysisDriver::BuildFrequencySamples, which also
// sets the layers' damping ratio.
#include <array>
#include <vector>

#include "analysis/AmplificationResult.h"
#include "analysis/NaturalModes.h"
#include "profile/SoilProfile.h"
#include "analysis/AnalysisSettings.h"

// Slot m = layer index m, pointCount values each; slots beyond the profile
// are left as they are.
using LayerAmplifications = std::array<std::vector<float>, kMaxLayers>;

// The lumped-mass response at every sample: |total motion / base motion| of
// each mass, solved in double with ω = 2π·f. A sample that is singular (no
// damping, on a natural frequency to within the stored model's precision)
// or whose value exceeds float32 has no value (kNoValue).
void LumpedMassAmplification(const SoilProfile& profile, const AnalysisSettings& settings,
                             const AmplificationResult& samples, const NaturalModes& modes,
                             LayerAmplifications& table);

// The transfer-matrix amplification at every sample; the modes give ω₁ for
// viscous damping. Values too small for float32 are stored as 0.
void TransferMatrixAmplification(const SoilProfile& profile, const AnalysisSettings& settings,
                                 const AmplificationResult& samples, const NaturalModes& modes,
                                 LayerAmplifications& table);
// The same with every sample's float32 pass on its own, never four side by
// side: the values and faults the side-by-side pass must reproduce.
void TransferMatrixAmplificationOneByOne(const SoilProfile& profile, const AnalysisSettings& settings,
                                         const AmplificationResult& samples, const NaturalModes& modes,
                                         LayerAmplifications& table);
// The side-by-side passes there are, by instruction set: SSE2, and AVX2 with
// FMA. TransferMatrixAmplification takes the faster one the processor runs.
enum class LanePath { kSse2, kAvx2 };
bool LanePathRuns(LanePath path);
// TransferMatrixAmplification with the given side-by-side pass, which the
// processor must run.
void TransferMatrixAmplificationInLanes(const SoilProfile& profile, const AnalysisSettings& settings,
                                        const AmplificationResult& samples, const NaturalModes& modes, LanePath path,
                                        LayerAmplifications& table);

struct MethodResult {
  NaturalModes modes;
  LayerAmplifications amplification;
};

// Each method whole: the natural modes first, then its amplification.
MethodResult CalculateLumpedMass(const SoilProfile& profile, const AnalysisSettings& settings,
                                 const AmplificationResult& samples);
MethodResult CalculateTransferMatrix(const SoilProfile& profile, const AnalysisSettings& settings,
                                     const AmplificationResult& samples);
