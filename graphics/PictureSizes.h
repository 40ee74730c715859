#pragma once
// The main window's two pictures, in pixels; the batch draws them the same size.

inline constexpr int kChartPictureWidth = 441;  // the amplification chart MyGraph1
inline constexpr int kChartPictureHeight = 441;
inline constexpr int kStratumPictureWidth = 233;  // the stratum diagram Image2
inline constexpr int kStratumPictureHeight = 441;
