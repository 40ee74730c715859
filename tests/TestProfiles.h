#pragma once
// Profiles for tests, built as the editor builds them: layer values, the base
// and the derived depths.
#include <string>
#include <vector>

#include "profile/SoilProfile.h"

// One layer record: thickness (m), density, S-wave velocity (m/s).
struct LayerValues {
  float thickness, density, vs;
};

inline SoilProfile MakeProfile(const std::vector<LayerValues>& layers, float baseDensity, float baseVs,
                               const std::string& site = "テスト地点") {
  SoilProfile profile;
  profile.siteName = site;
  profile.layerCount = static_cast<int32_t>(layers.size());
  for (size_t i = 0; i < layers.size(); ++i) {
    profile.layers[i].thickness = layers[i].thickness;
    profile.layers[i].density = layers[i].density;
    profile.layers[i].vs = layers[i].vs;
  }
  profile.base().density = baseDensity;
  profile.base().vs = baseVs;
  ComputeDerivedValues(profile);
  return profile;
}
