// The sample grid shared by both methods, and the damping ratio of the layers.
#include <stdexcept>

#include "analysis/AnalysisDriver.h"
#include "platform/CheckedFloat.h"
#include "platform/Conversion.h"

int AnalysisDriver::SampleCount() const {
  // The settings only ever give 100, 200 or 400; anything else is a caller's
  // mistake, and sample 1 must exist for a frequency axis that starts at 0.
  const int n = result_.pointCount;
  if (n < 2 || n > kMaxPoints) throw std::logic_error("pointCount out of range");
  return n;
}

void AnalysisDriver::BuildFrequencySamples() {
  RefuseOversizedProfile();
  const int n = SampleCount();
  const float lower = StrToSingle(settings_.xLower);
  const float upper = StrToSingle(settings_.xUpper);
  // A radio group with no item chosen means its second item, as everywhere.
  const bool logarithmic = settings_.xScale != ScaleKind::Linear;
  const bool byFrequency = settings_.xQuantity != XQuantity::Period;

  // A logarithmic axis from 0 divides by zero here; a linear period axis
  // from 0 to 0 does so at its first sample (1 / step).
  const float step = logarithmic ? checked::StoreSingle(checked::Ln(checked::Divide(upper, lower)) / n)
                                 : checked::StoreSingle((static_cast<double>(upper) - lower) / n);

  auto& f = result_.frequency;
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

  const float h = StrToSingle(settings_.dampingText);
  for (int r = 0; r <= profile_.layerCount; ++r) profile_.layers[r].dampingRatio = h;

  // Frequency 0 has no period; the first sample borrows the second's.
  result_.period[0] = checked::StoreSingle(checked::Divide(1.0, f[0] == 0.0f ? f[1] : f[0]));
  for (int j = 1; j < n; ++j) result_.period[j] = checked::StoreSingle(checked::Divide(1.0, f[j]));
  for (int j = 0; j < n; ++j) result_.xValue[j] = byFrequency ? f[j] : result_.period[j];
}
