// libFuzzer target: the profile reader on arbitrary bytes. Any outcome is
// fine except a crash, a sanitizer report, or a broken property:
// - a read that claims success has a layer count the program can hold;
// - a file and its twin in the other encoding (CP932 and UTF-8, with and
//   without the byte-order mark) read the same, outcome and message included;
// - a profile that was read, written and read back is the same profile, and
//   writing that again gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Conversion.h"
#include "platform/Cp932.h"
#include "platform/Errors.h"
#include "platform/FixedFormat.h"
#include "profile/ProfileFiles.h"

namespace {

struct Outcome {
  ProfileFileParse parse;
  std::optional<std::string> error;  // the text of a conversion error or fault
};

Outcome Read(std::string_view bytes) {
  Outcome outcome;
  try {
    outcome.parse = ParseProfileFile(bytes);
  } catch (const UserActionError& e) {
    outcome.error = e.what();
  }
  return outcome;
}

bool SameBits(const std::optional<float>& a, const std::optional<float>& b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || std::memcmp(&*a, &*b, sizeof(float)) == 0;
}

bool SameData(const ProfileFileData& a, const ProfileFileData& b) {
  return a.siteName == b.siteName && a.layerCount == b.layerCount &&
         std::memcmp(a.layers.data(), b.layers.data(), sizeof a.layers) == 0 && a.hasBaseLine == b.hasBaseLine &&
         SameBits(a.baseDensity, b.baseDensity) && SameBits(a.baseVs, b.baseVs);
}

bool Same(const Outcome& a, const Outcome& b) {
  if (a.error || b.error) return a.error == b.error;
  if (a.parse.problem != b.parse.problem) return false;
  switch (a.parse.problem) {
    case ProfileFileProblem::None: return SameData(a.parse.data, b.parse.data);
    case ProfileFileProblem::LayerCountOutOfRange: return a.parse.layerCount == b.parse.layerCount;
    case ProfileFileProblem::LineTooLong: return a.parse.lineNumber == b.parse.lineNumber;
    case ProfileFileProblem::NotAnInteger:
    case ProfileFileProblem::NotANumber:
    case ProfileFileProblem::BlankBeforeComma:
      return a.parse.lineNumber == b.parse.lineNumber && a.parse.field == b.parse.field;
    case ProfileFileProblem::TooFewLayerLines: return a.parse.layerLines == b.parse.layerLines;
    default: return true;
  }
}

void Check(bool property) {
  if (!property) std::abort();
}

SoilProfile ProfileOf(const ProfileFileData& data) {
  SoilProfile profile;
  profile.siteName = data.siteName;
  profile.layerCount = data.layerCount;
  for (int i = 0; i < profile.layerCount; ++i) {
    profile.layers[i].thickness = data.layers[i].thickness;
    profile.layers[i].density = data.layers[i].density;
    profile.layers[i].vs = data.layers[i].vs;
  }
  SoilLayer& base = profile.layers[profile.layerCount];
  base.density = data.baseDensity.value_or(0.0f);
  base.vs = data.baseVs.value_or(0.0f);
  return profile;
}

// A value as the file holds it: printed with `precision` decimals and read.
float AsWritten(float value, int precision) { return StrToSingle(FormatFixed(value, precision)); }

void CheckRoundTrip(const ProfileFileData& data) {
  const SoilProfile profile = ProfileOf(data);
  const FormattedFile written = FormatProfileFile(profile);
  if (written.problem != FileFormatProblem::None) return;  // refused before any file exists

  const Outcome back = Read(written.bytes);
  Check(!back.error && back.parse.problem == ProfileFileProblem::None);
  const ProfileFileData& again = back.parse.data;
  // The writer keeps the site field to one line; the name came from one token.
  Check(again.siteName == profile.siteName.substr(0, profile.siteName.find_first_of("\r\n")));
  Check(again.layerCount == profile.layerCount);
  for (int i = 0; i < profile.layerCount; ++i) {
    Check(again.layers[i].thickness == AsWritten(profile.layers[i].thickness, 2));
    Check(again.layers[i].density == AsWritten(profile.layers[i].density, 2));
    Check(again.layers[i].vs == AsWritten(profile.layers[i].vs, 0));
  }
  const SoilLayer& base = profile.layers[profile.layerCount];
  Check(again.hasBaseLine && again.baseDensity == AsWritten(base.density, 2) && again.baseVs == AsWritten(base.vs, 0));
  // Once written, the profile is a fixed point of writing and reading.
  const FormattedFile rewritten = FormatProfileFile(ProfileOf(again));
  Check(rewritten.problem == FileFormatProblem::None && rewritten.bytes == written.bytes);
}

constexpr std::string_view kBom = "\xEF\xBB\xBF";

void CheckTwins(std::string_view bytes, const Outcome& outcome) {
  if (const std::optional<std::string> utf8 = Cp932ToUtf8(bytes)) {
    // A CP932 file: its UTF-8 twin with the mark always reads the same; the
    // twin without it only when it cannot be taken for CP932 itself.
    Check(Same(Read(std::string(kBom) + *utf8), outcome));
    if (*utf8 == bytes || !Cp932ToUtf8(*utf8)) Check(Same(Read(*utf8), outcome));
  } else if (IsUtf8(bytes)) {
    // A UTF-8 file: its CP932 twin reads the same, where CP932 can hold it.
    std::string_view text = bytes;
    if (text.starts_with(kBom)) text.remove_prefix(kBom.size());
    if (const std::optional<std::string> cp932 = Utf8ToCp932(text)) Check(Same(Read(*cp932), outcome));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Outcome outcome = Read(bytes);
  if (!outcome.error && outcome.parse.problem == ProfileFileProblem::None) {
    Check(outcome.parse.data.layerCount >= 1 && outcome.parse.data.layerCount <= kMaxLayers);
    CheckRoundTrip(outcome.parse.data);
  }
  CheckTwins(bytes, outcome);
  return 0;
}
