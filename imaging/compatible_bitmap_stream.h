#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>

// The graphic class registered for every plug-in extension: a bitmap whose
// loading goes through the picture loader's plug-ins. Without a loader it
// reads plain bitmap files.
class TCompatibleBitmapStream {
public:
  // With a loader the file is read only when a plug-in accepts its name
  // (or the default plug-in, which reads by content, announced its
  // extension); otherwise the graphic stays empty.
  void LoadFromFile(const QString& FileName);
  // With a loader: the plug-ins decode the stream; raises "not supported."
  // when none can.
  void LoadFromStream(QIODevice& Stream);

  QImage& Bitmap() { return FBitmap; }
  // Releases the current bitmap and takes the delivered one.
  void Adopt(QImage Bitmap) { FBitmap = std::move(Bitmap); }

private:
  QImage FBitmap;
};
