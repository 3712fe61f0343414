#pragma once

#include <cstdint>
#include <memory>

#include <QIODevice>
#include <QImage>
#include <QLibrary>
#include <QString>

#include "zel_picture_plugin.h"

class TCustomPictureLoader;

// A source of pictures the loader tries in turn: the built-in default
// plug-in or a plug-in library.
class TCustomPlugin {
public:
  explicit TCustomPlugin(TCustomPictureLoader* Loader);
  virtual ~TCustomPlugin();
  TCustomPlugin(const TCustomPlugin&) = delete;
  TCustomPlugin& operator=(const TCustomPlugin&) = delete;

  virtual void Unprepare();
  virtual bool Prepare();
  // Does the plug-in recognise the data? It may ask for another window of
  // the stream through Offset and Size, leaving Continue set.
  virtual bool LoadTest(const uint8_t* Buffer, int32_t& Offset, int32_t& Size, bool& Continue);
  virtual bool CanLoadFileName(const QString& FileName);
  // Decodes the stream (positioned at its start) into Bitmap.
  virtual bool Decode(QImage& Bitmap, QIODevice& Stream);

  // Name := Name; Prepared := Prepare() (an error counts as false).
  bool Open(const QString& Name);

  TCustomPictureLoader* Loader() const { return FLoader; }
  bool Prepared() const { return FPrepared; }
  const QString& Name() const { return FName; }

protected:
  // Registers an extension for TCompatibleBitmapStream and adds it to the
  // loader's extensions.
  void AddFormat(const QString& Extension, const QString& Description);

  bool FPrepared = false;

private:
  TCustomPictureLoader* FLoader;
  QString FName;
};

// JPEG and GIF data through Qt's own readers, recognised by content.
class TDefaultPlugin : public TCustomPlugin {
public:
  using TCustomPlugin::TCustomPlugin;
  ~TDefaultPlugin() override;
  static QString DefaultName() { return QStringLiteral("DefaultPlugin"); }
  // The four extensions the default plug-in announces.
  static bool IsOwnExtension(const QString& Extension);

  bool Prepare() override;
  bool LoadTest(const uint8_t* Buffer, int32_t& Offset, int32_t& Size, bool& Continue) override;
  bool Decode(QImage& Bitmap, QIODevice& Stream) override;
};

// A plug-in library (*.so) with the six exports of zel_picture_plugin.h.
class TPlugin : public TCustomPlugin {
public:
  using TCustomPlugin::TCustomPlugin;
  ~TPlugin() override;

  void Unprepare() override;
  bool Prepare() override;
  bool LoadTest(const uint8_t* Buffer, int32_t& Offset, int32_t& Size, bool& Continue) override;
  bool CanLoadFileName(const QString& FileName) override;
  bool Decode(QImage& Bitmap, QIODevice& Stream) override;

  bool Loaded() const { return FLibrary != nullptr; }

private:
  std::unique_ptr<QLibrary> FLibrary;
  ZelPreparePluginFn FPreparePlugin = nullptr;
  ZelUnPreparePluginFn FUnPreparePlugin = nullptr;
  ZelGetFileExtentionsFn FGetFileExtentions = nullptr;
  ZelFileNameNotifyFn FFileNameNotify = nullptr;
  ZelDrawBitmapFn FDrawBitmap = nullptr;
  ZelLoadTestExFn FLoadTestEx = nullptr;
};
