#pragma once
// TTkBtn: a push button painted as a panel with a picture stretched over its
// face, a bevelled border and a caption drawn transparently over the picture.
// While the left button is held the outer bevel is lowered, so the face looks
// pressed. Without a picture it paints exactly as a plain panel.
#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

class QPainter;

class TTkBtn : public QWidget {
  Q_OBJECT

 public:
  enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
  enum class TPanelBevel { bvNone, bvLowered, bvRaised };

  static constexpr int kDefaultWidth = 75;
  static constexpr int kDefaultHeight = 25;

  explicit TTkBtn(QWidget* parent = nullptr);

  // Copies the picture into PictureImg and repaints; a null image removes it.
  void Set_Picture(const QImage& picture);
  const QImage& PictureImg() const { return pictureImg_; }

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel bevel);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel bevel);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int width);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int width);
  // The panel's face colour (the border is drawn in it too).
  QColor Color() const { return color_; }
  void SetColor(const QColor& colour);
  // The caption's colour; the caption's typeface is the widget's font.
  QColor FontColor() const { return fontColor_; }
  void SetFontColor(const QColor& colour);

  // Draws the button on the painter, over the whole client rectangle.
  void Paint(QPainter& painter);

  QSize sizeHint() const override { return {kDefaultWidth, kDefaultHeight}; }

 signals:
  // The left button was pressed and released over the button.
  void Clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void MouseDown(Qt::MouseButton button);
  void MouseUp(Qt::MouseButton button);

  QImage pictureImg_;
  QString caption_;
  TAlignment alignment_ = TAlignment::taCenter;
  TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
  TPanelBevel bevelInner_ = TPanelBevel::bvNone;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  QColor color_;
  QColor fontColor_ = Qt::black;
  bool leftHeld_ = false;
};
