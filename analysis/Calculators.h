#pragma once
// The two methods as calculators: from the profile, the settings and the
// samples to the amplification table and the natural modes. They make no
// window calls and raise only their own faults (FloatingPointFault, a
// ReportedFailure of the eigen solution, the conversion of the damping text).
// The samples come from BuildFrequencySamples (analysis/Analysis.h); the
// layers carry the damping ratio (WithDampingRatio).
#include <array>
#include <complex>
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
                             const AmplificationResult& samples, const NaturalModes& modes, LayerAmplifications& table);

// The transfer-matrix amplification at every sample, computed in double and
// rounded once to float32; the modes give ω₁ for viscous damping. Values too
// small for float32 are stored as 0.
void TransferMatrixAmplification(const SoilProfile& profile, const AnalysisSettings& settings,
                                 const AmplificationResult& samples, const NaturalModes& modes,
                                 LayerAmplifications& table);
// The kernel's builds, by instruction set: SSE2, and AVX2 with FMA.
// TransferMatrixAmplification takes the faster one the processor runs.
enum class LanePath { kSse2, kAvx2 };
bool LanePathRuns(LanePath path);
// TransferMatrixAmplification with the given build, which the processor must
// run.
void TransferMatrixAmplificationInLanes(const SoilProfile& profile, const AnalysisSettings& settings,
                                        const AmplificationResult& samples, const NaturalModes& modes, LanePath path,
                                        LayerAmplifications& table);

// The column's transfer functions at circular frequencies ω (rad/s, finite),
// from the kernel whose moduli the amplification stores: for each ω and each
// layer m, the motion at the top of layer m over the motion at the top of the
// base (E + F there). The same faults as the amplification.
using LayerTransfer = std::array<std::complex<double>, kMaxLayers>;
std::vector<LayerTransfer> ColumnTransferFunctions(const SoilProfile& profile, const AnalysisSettings& settings,
                                                   const NaturalModes& modes, const std::vector<double>& omega);

struct MethodResult {
  NaturalModes modes;
  LayerAmplifications amplification;
};

// Each method whole: the natural modes first, then its amplification.
MethodResult CalculateLumpedMass(const SoilProfile& profile, const AnalysisSettings& settings,
                                 const AmplificationResult& samples);
MethodResult CalculateTransferMatrix(const SoilProfile& profile, const AnalysisSettings& settings,
                                     const AmplificationResult& samples);
