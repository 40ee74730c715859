#pragma once
// TMyGraph: the x-y chart control. It draws a framed chart with linear or
// logarithmic axes, grid lines, labels and titles, then data series as
// polylines or point marks, on the canvas it is given (the control's picture;
// the control's width and height are the canvas's).
//
// The properties are plain fields: writing one has no side effect and does not
// redraw; the owner sets them and then calls DrawWaku and the plot operations.
#include <string>
#include <vector>

#include "graphics/TextBoxes.h"
#include "platform/Canvas.h"
#include "platform/Clipboard.h"
#include "platform/MessageBox.h"

// What DrawWaku drew: whether the frame was drawn, and the scale errors that
// kept it from being drawn, for the caller to show.
struct FrameDrawing {
  bool drawn = false;
  std::vector<MessageBox> problems;
  explicit operator bool() const { return drawn; }
};

class TMyGraph {
 public:
  // The clipboard port, if any, receives the picture in Copy.
  explicit TMyGraph(Canvas& canvas, ClipboardPort* clipboard = nullptr);

  Canvas& canvas() { return canvas_; }
  int Width() const { return canvas_.Width(); }
  int Height() const { return canvas_.Height(); }

  int NGridX = 4;        // major divisions along x (at least 1)
  int NGridY = 4;        // major divisions along y (at least 1)
  int WidthX = 250;      // nominal frame width, pixels
  int HeightY = 250;     // nominal frame height, pixels
  int OriginX = 35;      // x pixel of the frame's left edge
  int OriginY = 270;     // y pixel of the frame's bottom edge
  bool LinearX = true;   // false: logarithmic x axis
  bool LinearY = true;   // false: logarithmic y axis
  float SValueX = 0.0f;  // value at the left edge
  float SValueY = 0.0f;  // value at the bottom edge
  float VValueX = 5.0f;  // linear: step per major division; logarithmic: ratio
  float VValueY = 10.0f;
  bool SubAxis = true;     // minor lines across the frame (true) or 7-pixel ticks
  bool OverWrite = false;  // DrawWaku draws over the picture without the white fill
  bool LeftScale = true;   // y labels left of the frame (true) or right of it
  int SubX = 5;            // minor sub-divisions per major x division (0, 1: none)
  int SubY = 5;
  std::string TitleX = "TitleX [unit]";
  std::string TitleY = "TitleY [unit]";

  // Background, frame, grid, labels and titles. Returns false, having drawn no
  // more than the background, when the axes cannot be drawn: a logarithmic axis
  // starting at 0 (after its message box; the program goes on) or fewer than
  // one major division on an axis.
  //
  // No text covers another: an x label that would run into the one before it
  // is left out (its grid line still shows the place), the lowest y label
  // rises clear of the first x label where they meet at the corner, and the
  // x title goes below the labels when the font puts it into their row.
  FrameDrawing DrawWaku();

  // The cells of the labels and titles the last DrawWaku drew, for the
  // owner's own texts to keep clear of.
  const std::vector<TextBox>& TextBoxes() const { return textBoxes_; }

  // The cell the y title takes at its place, in the canvas's current font.
  TextBox TitleYBox();

  // The axis label for a value: "0", "%.1e" outside [0.0001, 10000] in
  // magnitude, otherwise at most two decimals without trailing zeros.
  static std::string _round_number(float value);

  // Polyline through the points with the current pen. Points that a
  // logarithmic axis cannot show are left out and the line joins the others;
  // a sample without a value (kNoValue) breaks the line.
  void DrawGraph(int n, const float* x, const float* y);

  // One mark per point with the current pen and brush; mark 0 circle,
  // 1 triangle, 2 square, 3 diamond, 4 cross, 5 plus; size is the half-size in
  // pixels. Stops at the first point right of OriginX + WidthX.
  void PlotGraph(int n, const float* x, const float* y, int mark, int size);

  // Fills the whole picture with the colour (0x00BBGGRR).
  void Clear(Colour colour);

  // Choose SValueX/VValueX (resp. Y) for the data: a step of 1, 2, 2.5 or 5
  // times a power of ten (linear), or NGrid decades ending at the first power
  // of ten above the maximum (logarithmic). When no finite scale exists (an
  // infinite maximum) or the axis has fewer than one division, the old scale is
  // kept.
  void XScaleUnit(int n, const float* values);
  void YScaleUnit(int n, const float* values);

  // Puts the picture on the clipboard; false if the control has no clipboard.
  bool Copy();

  // The pixel of a value, or false if it cannot be shown (non-positive on a
  // logarithmic axis, no value, or no finite pixel).
  bool MapX(float x, int& px) const;
  bool MapY(float y, int& py) const;

 private:
  Canvas& canvas_;
  ClipboardPort* clipboard_;
  std::vector<TextBox> textBoxes_;
};
