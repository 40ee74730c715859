#include "graphics/TextBoxes.h"

TextBox TextBoxAt(Canvas& canvas, int x, int y, const std::string& text) {
  const TextSize size = canvas.TextExtent(text);
  return {x, y, x + size.width, y + size.height};
}

TextBox Moved(const TextBox& box, int dx, int dy) {
  return {box.left + dx, box.top + dy, box.right + dx, box.bottom + dy};
}

bool Overlap(const TextBox& a, const TextBox& b) {
  if (a.Empty() || b.Empty()) return false;
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

const TextBox* FirstOverlap(const TextBox& box, const std::vector<TextBox>& boxes) {
  for (const TextBox& other : boxes) {
    if (Overlap(box, other)) return &other;
  }
  return nullptr;
}

bool InsidePicture(const TextBox& box, int width, int height) {
  return box.left >= 0 && box.top >= 0 && box.right <= width && box.bottom <= height;
}
