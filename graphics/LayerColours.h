#pragma once
// The per-layer colours of the main window (curves, legend, multi-colour
// stratum diagram) and the blue ramp of the single-colour stratum diagram.
#include <array>

#include "platform/Canvas.h"

inline constexpr int kLayerColourCount = 20;
using LayerColours = std::array<Colour, kLayerColourCount>;

// Index = layer number − 1. Values are 0x00BBGGRR.
inline constexpr LayerColours kDefaultLayerColours = {
    0x0000FF,  // red
    0xFF0000,  // blue
    0x008000,  // green
    0x800000,  // navy
    0xFF00FF,  // fuchsia
    0x800080,  // purple
    0xFFFF00,  // aqua
    0x00FF00,  // lime
    0x808080,  // grey
    0x808000,  // teal
    0x00FFFF,  // yellow
    0x008080,  // olive
    0x000080,  // maroon
    0xC0C0C0,  // silver
    0x000000,  // black
    0x80FFFF,  // RGB 255, 255, 128
    0x80FF80,  // RGB 128, 255, 128
    0xC0C0FF,  // RGB 255, 192, 192
    0xC0A0FF,  // RGB 255, 160, 192
    0xC080FF,  // RGB 255, 128, 192
};

// Fill of the k-th layer from the top (k = 1 …) in the single-colour diagram:
// each layer a step darker, from near-white towards blue.
constexpr Colour SingleColourShade(int k) { return 0xFFFFFFu - static_cast<Colour>(k) * 0x04080Cu; }

// Colour of layer index i (0-based). A file may hold more layers than there
// are colours; those reuse the list from the top rather than read past it.
constexpr Colour LayerColourOf(const LayerColours& colours, int i) {
  return colours[static_cast<std::size_t>(i) % colours.size()];
}
