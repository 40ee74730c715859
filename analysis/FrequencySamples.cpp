// The sample grid shared by both methods.
#include "analysis/Analysis.h"
#include "platform/CheckedFloat.h"
#include "platform/Conversion.h"

namespace {

void BuildFrequencies(const AnalysisSettings& settings, AmplificationResult& result) {
  const int n = result.pointCount;
  const float lower = StrToSingle(settings.xLower);
  const float upper = StrToSingle(settings.xUpper);
  // A radio group with no item chosen means its second item, as everywhere.
  const bool logarithmic = settings.xScale != ScaleKind::Linear;
  const bool byFrequency = settings.xQuantity != XQuantity::Period;

  // A logarithmic axis from 0 divides by zero here; a linear period axis
  // from 0 to 0 does so at its first sample (1 / step).
  const float step = logarithmic ? checked::StoreSingle(checked::Ln(checked::Divide(upper, lower)) / n)
                                 : checked::StoreSingle((static_cast<double>(upper) - lower) / n);

  auto& f = result.frequency;
  if (!logarithmic) {
    for (int j = 0; j < n; ++j) {
      const double x = lower + static_cast<double>(j) * step;
      if (byFrequency) {
        f[j] = checked::StoreSingle(x);
      } else if (j == 0 && lower == 0.0f) {
        f[j] = checked::StoreSingle(checked::Divide(1.0, step));  // period 0 has no frequency
      } else {
        f[j] = checked::StoreSingle(checked::Divide(1.0, x));
      }
    }
  } else {
    const double lnLower = checked::Ln(lower);
    for (int j = 0; j < n; ++j) {
      const double x = lnLower + static_cast<double>(j) * step;
      if (byFrequency) {
        f[j] = checked::StoreSingle(checked::Exp(x));
      } else {
        f[j] = checked::StoreSingle(checked::Divide(1.0, checked::Exp(checked::StoreSingle(x))));
      }
    }
  }
}

void BuildPeriods(const AnalysisSettings& settings, AmplificationResult& result) {
  const int n = result.pointCount;
  const bool byFrequency = settings.xQuantity != XQuantity::Period;
  const auto& f = result.frequency;
  // Frequency 0 has no period; the first sample borrows the second's.
  result.period[0] = checked::StoreSingle(checked::Divide(1.0, f[0] == 0.0f ? f[1] : f[0]));
  for (int j = 1; j < n; ++j) result.period[j] = checked::StoreSingle(checked::Divide(1.0, f[j]));
  for (int j = 0; j < n; ++j) result.xValue[j] = byFrequency ? f[j] : result.period[j];
}

}  // namespace

void CheckSampleCount(const AmplificationResult& result);

float BuildSamplesAndRatio(const AnalysisSettings& settings, AmplificationResult& result, std::optional<float>& ratio) {
  CheckSampleCount(result);
  BuildFrequencies(settings, result);
  // The ratio is converted between the two halves, as it always was: a bad
  // ratio leaves the frequencies built and the periods as they were.
  const float h = StrToSingle(settings.dampingText);
  ratio = h;
  BuildPeriods(settings, result);
  return h;
}

float BuildFrequencySamples(const AnalysisSettings& settings, AmplificationResult& result) {
  std::optional<float> ratio;
  return BuildSamplesAndRatio(settings, result, ratio);
}
