#pragma once
// The cells drawn texts fill, so that a picture can keep its texts apart: a
// text drawn opaque over another hides it, so the charts measure each text
// with the canvas's own extent and move it where it would cover another.
#include <string>
#include <vector>

#include "platform/Canvas.h"

// A pixel rectangle; right and bottom exclusive. An empty box (no width or no
// height) covers nothing.
struct TextBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const TextBox&) const = default;
  bool Empty() const { return right <= left || bottom <= top; }
};

// The cell of the text drawn with its top-left corner at (x, y) in the
// canvas's current font.
TextBox TextBoxAt(Canvas& canvas, int x, int y, const std::string& text);

// The same box moved by (dx, dy).
TextBox Moved(const TextBox& box, int dx, int dy);

// Whether the two boxes share a pixel.
bool Overlap(const TextBox& a, const TextBox& b);

// The first of the boxes that shares a pixel with the box, or null.
const TextBox* FirstOverlap(const TextBox& box, const std::vector<TextBox>& boxes);

// Whether the box lies wholly inside a picture of the size.
bool InsidePicture(const TextBox& box, int width, int height);
