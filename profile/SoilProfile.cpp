#include "profile/SoilProfile.h"

#include "platform/CheckedFloat.h"

void ComputeDerivedValues(SoilProfile& profile) {
  float depth = 0.0f;
  for (int i = 0; i < profile.layerCount; ++i) {
    depth = checked::StoreSingle(static_cast<double>(depth) + profile.layers[i].thickness);
    profile.layers[i].bottomDepth = depth;
  }
  profile.totalDepth = depth;
  profile.maxVs = 0.0f;
  for (int i = 0; i < profile.layerCount; ++i) {
    if (profile.layers[i].vs > profile.maxVs) profile.maxVs = profile.layers[i].vs;
  }
}
