#pragma once
// The file formats the chart and the stratum diagram can be written in: PNG
// pixels as the windows show them, or SVG and PDF with the texts kept as text.
#include <optional>
#include <string>

enum class PictureFormat { Png, Svg, Pdf };

// "png", "svg", "pdf"; also the file extension after the period.
inline const char* PictureFormatName(PictureFormat format) {
  switch (format) {
    case PictureFormat::Svg: return "svg";
    case PictureFormat::Pdf: return "pdf";
    case PictureFormat::Png: break;
  }
  return "png";
}

inline std::optional<PictureFormat> ParsePictureFormat(const std::string& name) {
  for (const PictureFormat format : {PictureFormat::Png, PictureFormat::Svg, PictureFormat::Pdf}) {
    if (name == PictureFormatName(format)) return format;
  }
  return std::nullopt;
}
