#pragma once
// The current soil profile: 1 to 20 layers over a base layer.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

struct SoilLayer {
  float thickness = 0.0f;  // m
  float density = 0.0f;
  float vs = 0.0f;            // S-wave velocity, m/s
  float dampingRatio = 0.0f;  // 0.05 = 5 %
  float bottomDepth = 0.0f;   // depth of the lower boundary, m
};

inline constexpr int kMaxLayers = 20;     // layers the editor and the analysis handle
inline constexpr int kLayerRecords = 30;  // room in the record array (29 layers and a base)

struct SoilProfile {
  std::string siteName;    // UTF-8 inside the program
  int32_t layerCount = 0;  // layers above the base; 0 = no profile
  // Index 0 is the surface layer; index layerCount is the base layer. Records
  // beyond the base keep whatever an earlier, longer profile left there.
  std::array<SoilLayer, kLayerRecords> layers{};
  float totalDepth = 0.0f;  // depth of the top of the base layer, m
  float maxVs = 0.0f;       // largest vs above the base (never below 0)

  SoilLayer& base() { return layers[layerCount]; }
  const SoilLayer& base() const { return layers[layerCount]; }
};

// bottomDepth of every layer (running float32 sum from the surface down),
// totalDepth and maxVs. The one routine that both the editor's take-over and
// the file reader use.
void ComputeDerivedValues(SoilProfile& profile);

// A profile no analysis can compute because an S-wave velocity (of a layer
// or of the base) is 0 or below: the text naming the first such layer, or
// nothing. A profile of no layers is left to the analysis to refuse.
std::optional<std::string> NonPositiveVelocity(const SoilProfile& profile);
