// libFuzzer target: the profile reader on arbitrary bytes. Any outcome is
// fine except a crash, a sanitizer report, or a read that claims success
// with a layer count the program cannot hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/Errors.h"
#include "profile/ProfileFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const ProfileFileParse parse = ParseProfileFile(bytes);
    if (parse.problem == ProfileFileProblem::None &&
        (parse.data.layerCount < 1 || parse.data.layerCount > kMaxLayers)) {
      std::abort();
    }
    if (parse.problem == ProfileFileProblem::None) {
      // What was read must write back without trouble.
      SoilProfile profile;
      profile.siteName = parse.data.siteName;
      profile.layerCount = parse.data.layerCount;
      for (int i = 0; i < profile.layerCount; ++i) {
        profile.layers[i].thickness = parse.data.layers[i].thickness;
        profile.layers[i].density = parse.data.layers[i].density;
        profile.layers[i].vs = parse.data.layers[i].vs;
      }
      (void)FormatProfileFile(profile);
    }
  } catch (const UserActionError&) {
    // A field that is not a number: the system's conversion error.
  }
  return 0;
}
