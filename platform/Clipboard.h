#pragma once
// The clipboard, holding one bitmap picture: the stratum diagram or the
// amplification chart.
#include "platform/Canvas.h"

class ClipboardPort {
 public:
  virtual ~ClipboardPort() = default;
  // Replaces the clipboard's content with the whole picture drawn on the
  // canvas, in the clipboard's standard bitmap format. The toolkit
  // implementation takes the image behind its own canvas type.
  virtual void SetPicture(const Canvas& picture) = 0;
};
