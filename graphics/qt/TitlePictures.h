#pragma once
// The system's title pictures, drawn rather than stored: letters as outlines
// (the glyph contours stroked, their insides left clear) on a clear ground, so
// a picture sits on any window colour.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

inline constexpr int kProfileTitleWidth = 243;
inline constexpr int kProfileTitleHeight = 35;

// The profile editor's heading "地盤地層構成" in red outlined letters, 243 × 35.
QImage ProfileTitlePicture();

// Strokes the outline of the text with a pen of the colour, scaled down (never
// up) to fit the box and centred in it.
void DrawOutlinedText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                      const QColor& colour, qreal penWidth = 1.0);
