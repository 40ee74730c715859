#pragma once
// The system's pictures, drawn rather than stored: the title picture that
// heads the main, settings, usage and version windows, the emblem (also the
// application icon) and the editor's heading. Letters are outlines (the glyph
// contours stroked, their insides left clear); the title pictures have a clear
// ground, so they sit on any window colour.
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

inline constexpr int kSystemTitleWidth = 340;
inline constexpr int kSystemTitleHeight = 55;
inline constexpr int kEmblemSize = 64;
inline constexpr int kProfileTitleWidth = 243;
inline constexpr int kProfileTitleHeight = 35;

// Where the parts of the pictures lie; the tests read them too.
inline constexpr int kTitleSubtitleHeight = 18;  // "地盤増幅特性解析システム" above, TOVALK below
inline constexpr int kEmblemNameHeight = 16;     // "TOVALK" in the emblem's top rows
inline constexpr int kEmblemTraceTop = 16;       // the seismic trace's band ...
inline constexpr int kEmblemTraceBottom = 36;    // ... ends above the first soil band
inline constexpr int kEmblemBandHeight = 5;      // four soil bands and the base below them
inline constexpr int kEmblemBands = 4;

// The emblem's colours (the ground, frame, name, trace and soil bands).
QColor EmblemGround();
QColor EmblemFrame();
QColor EmblemName();
QColor EmblemTrace();
QColor EmblemBand(int index);  // 0 = top soil band; kEmblemBands = the base
QColor TitleColour();

// "地盤増幅特性解析システム" above "TOVALK" in large outlined letters, 340 × 55,
// on a clear ground.
QImage SystemTitlePicture();

// 64 × 64: "TOVALK" above a seismic trace and coloured horizontal bands of
// soil over the base layer, on a white ground inside a frame.
QImage SystemEmblem();

// The emblem as the windows' and the desktop's icon.
QIcon SystemIcon();

// The profile editor's heading "地盤地層構成" in red outlined letters, 243 × 35.
QImage ProfileTitlePicture();

// Strokes the outline of the text with a pen of the colour, scaled down (never
// up) to fit the box and centred in it.
void DrawOutlinedText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                      const QColor& colour, qreal penWidth = 1.0);

// Fills the glyphs of the text (no outline), scaled down to fit the box and
// centred in it.
void DrawFilledText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font, const QColor& colour);
