#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include <QIODevice>
#include <QMutex>
#include <QString>

#include "picture_plugin.h"
#include "string_list_ex.h"

class TCompatibleBitmapStream;

// Loads picture plug-ins and routes the reading of their formats through
// them. Plug-in calls run one at a time under the loader's lock, because
// thumbnail threads and the user interface load pictures concurrently.
class TCustomPictureLoader {
public:
  TCustomPictureLoader() = default;
  virtual ~TCustomPictureLoader();
  TCustomPictureLoader(const TCustomPictureLoader&) = delete;
  TCustomPictureLoader& operator=(const TCustomPictureLoader&) = delete;

  // Frees all plug-ins and loads the libraries of PluginDir again.
  virtual void Rescan() = 0;

  // PluginDir := Dir, then Rescan.
  void SetPluginDir(const QString& Dir);
  const QString& PluginDir() const { return FPluginDir; }

  // Adds the default plug-in in front of the library plug-ins, so that it is
  // tried first. Only once: a loader that has one keeps it. (A Rescan
  // removes it with the others.)
  void AddDefaultPlugin();
  bool HasDefaultPlugin() const;

  // Tries the plug-ins in order on the stream; the first whose stream test
  // accepts it decodes into Bitmap. True when one succeeded.
  bool LoadStream(TCompatibleBitmapStream& Bitmap, QIODevice& Stream);
  // True as soon as a plug-in accepts the file's name.
  bool CanLoadFile(const QString& FileName);
  // True when the default plug-in is present and announced the file's
  // extension: it reads by content and accepts no names, so such files go
  // to the stream test without a name check.
  bool DefaultPluginReads(const QString& FileName) const;
  // Whether a plug-in announced the extension ("jpg", ".JPG").
  bool IsSupportedExtension(const QString& Ext) const;

  // Extensions as announced, without the dot.
  const TStringListEx& Extensions() const { return FExtensions; }
  int PluginCount() const { return int(FPlugins.size()); }
  TCustomPlugin* Plugin(int Index) const { return FPlugins.at(size_t(Index)).get(); }

  // Keeps a copy of a file name for FileNameNotify, alive until the next
  // copy is made; the earlier one is freed first.
  const char* NotifyNameCopy(const QString& FileName);

  // For the plug-ins' Prepare.
  TStringListEx& ExtensionsRef() { return FExtensions; }

protected:
  void FreePlugins();

  std::vector<std::unique_ptr<TCustomPlugin>> FPlugins;

private:
  TStringListEx FExtensions;
  QString FPluginDir;
  QMutex FLock;
  QByteArray FNotifyName;
};

// The program's one picture loader, created by the main window.
class TPictureLoader : public TCustomPictureLoader {
public:
  // Raises EZelError("duplicate instance.") while another loader exists.
  TPictureLoader();
  ~TPictureLoader() override;

  void Rescan() override;

  // The loader that exists, or null.
  static TPictureLoader* Current() { return FCurrent.load(); }

private:
  static std::atomic<TPictureLoader*> FCurrent;
};

// The stream test: offers the first 8 bytes, then every window the plug-in
// asks for, until it answers or stops asking. The stream is back at 0
// afterwards; any error fails the test.
bool TestStream(TCustomPlugin& Plugin, QIODevice& Stream);
