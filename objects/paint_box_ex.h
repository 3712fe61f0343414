#pragma once

#include <functional>

#include <QImage>
#include <QWidget>

class QMouseEvent;
class QPainter;

// A paint box that draws through an off-screen bitmap of its own. Painting
// copies the clipped part of the background (if any) into the bitmap, lets the
// paint handler draw on the bitmap, then copies the clipped part to the screen,
// so the handler can draw freely without flicker.
class TPaintBoxEx : public QWidget {
  Q_OBJECT
public:
  explicit TPaintBoxEx(QWidget* parent = nullptr);

  // Not owned; may be null. Drawn at the paint box's top-left corner.
  const QImage* Background = nullptr;

  // The paint handler draws on canvas, the off-screen bitmap's painter.
  std::function<void(TPaintBoxEx* sender, QPainter& canvas)> OnPaint;
  std::function<void(TPaintBoxEx* sender, QMouseEvent* e)> OnMouseDown;
  std::function<void(TPaintBoxEx* sender, QMouseEvent* e)> OnMouseMove;
  std::function<void(TPaintBoxEx* sender, QMouseEvent* e)> OnMouseUp;

  // Brings the part clip of the off-screen bitmap up to date: background,
  // then the paint handler. Painting does this before it copies to the screen.
  void Render(const QRect& clip);
  // The off-screen bitmap, as large as the paint box.
  const QImage& Bitmap() const { return FBitmap; }

protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

private:
  QImage FBitmap;
};
