#include "picture_loader.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>

#include "bitmap24.h"
#include "compatible_bitmap_stream.h"
#include "errors.h"
#include "picture_formats.h"

namespace {

// A plug-in that keeps asking for windows without ever answering is cut
// off after this many.
constexpr int MaxTestWindows = 256;

}  // namespace

bool TestStream(TCustomPlugin& Plugin, QIODevice& Stream) {
  bool result = false;
  try {
    if (!Stream.seek(0)) return false;
    int32_t offset = 0, size = 8;
    bool cont = true;
    QByteArray buffer = Stream.read(8);
    if (buffer.size() == 8) {
      result = Plugin.LoadTest(reinterpret_cast<const uint8_t*>(buffer.constData()), offset, size, cont);
      if (!result && cont && size > 0) {
        const qint64 total = Stream.size();
        for (int round = 0; !result && cont; ++round) {
          // A window that does not lie inside the data cannot be read in
          // full, which ends the test; it is never allocated.
          if (round >= MaxTestWindows || offset < 0 || size <= 0 || qint64(offset) + size > total ||
              !Stream.seek(offset)) {
            cont = false;
            break;
          }
          buffer = Stream.read(size);
          if (buffer.size() < size) {
            cont = false;
            break;
          }
          result = Plugin.LoadTest(reinterpret_cast<const uint8_t*>(buffer.constData()), offset, size, cont);
        }
      }
    }
  } catch (...) {
    result = false;
  }
  try {
    Stream.seek(0);
  } catch (...) {
  }
  return result;
}

// --- TCustomPictureLoader --------------------------------------------------

TCustomPictureLoader::~TCustomPictureLoader() = default;

void TCustomPictureLoader::SetPluginDir(const QString& Dir) {
  FPluginDir = Dir;
  Rescan();
}

void TCustomPictureLoader::AddDefaultPlugin() {
  if (HasDefaultPlugin()) return;
  auto plugin = std::make_unique<TDefaultPlugin>(this);
  plugin->Open(TDefaultPlugin::DefaultName());
  FPlugins.insert(FPlugins.begin(), std::move(plugin));
}

bool TCustomPictureLoader::HasDefaultPlugin() const {
  for (const auto& p : FPlugins)
    if (dynamic_cast<const TDefaultPlugin*>(p.get())) return true;
  return false;
}

bool TCustomPictureLoader::LoadStream(TCompatibleBitmapStream& Bitmap, QIODevice& Stream) {
  QMutexLocker lock(&FLock);
  for (const auto& plugin : FPlugins) {
    if (!TestStream(*plugin, Stream)) continue;
    QImage delivered;
    bool decoded = false;
    try {
      decoded = plugin->Decode(delivered, Stream);
    } catch (...) {
      decoded = false;
    }
    Bitmap.Adopt(Bitmap24::As24(delivered));
    if (decoded) return true;
  }
  return false;
}

bool TCustomPictureLoader::CanLoadFile(const QString& FileName) {
  QMutexLocker lock(&FLock);
  for (const auto& plugin : FPlugins) {
    try {
      if (plugin->CanLoadFileName(FileName)) return true;
    } catch (...) {
    }
  }
  return false;
}

bool TCustomPictureLoader::DefaultPluginReads(const QString& FileName) const {
  if (!TDefaultPlugin::IsOwnExtension(QFileInfo(FileName).suffix())) return false;
  for (const auto& p : FPlugins)
    if (dynamic_cast<const TDefaultPlugin*>(p.get()) && p->Prepared()) return true;
  return false;
}

bool TCustomPictureLoader::IsSupportedExtension(const QString& Ext) const {
  if (Ext.isEmpty()) return false;
  const QString e = (Ext.startsWith(u'.') ? Ext.mid(1) : Ext).toLower();
  for (int i = 0; i < FExtensions.Count(); ++i)
    if (FExtensions.Get(i).compare(e, Qt::CaseInsensitive) == 0) return true;
  return false;
}

const char* TCustomPictureLoader::NotifyNameCopy(const QString& FileName) {
  FNotifyName = QByteArray();
  FNotifyName = FileName.toUtf8();
  return FNotifyName.constData();
}

void TCustomPictureLoader::FreePlugins() {
  bool anyPrepared = false;
  while (!FPlugins.empty()) {
    anyPrepared = anyPrepared || FPlugins.back()->Prepared();
    FPlugins.pop_back();
  }
  FExtensions.Clear();
  if (anyPrepared) PictureFormats::UnregisterGraphicClass(TGraphicClass::CompatibleBitmapStream);
}

// --- TPictureLoader --------------------------------------------------------

std::atomic<TPictureLoader*> TPictureLoader::FCurrent{nullptr};

TPictureLoader::TPictureLoader() {
  TPictureLoader* expected = nullptr;
  if (!FCurrent.compare_exchange_strong(expected, this)) throw EZelError(QStringLiteral("duplicate instance."));
  Bitmap24::ApplyAllocationLimit();
}

TPictureLoader::~TPictureLoader() {
  FreePlugins();
  TPictureLoader* self = this;
  FCurrent.compare_exchange_strong(self, nullptr);
}

void TPictureLoader::Rescan() {
  FreePlugins();
  QDir dir(PluginDir());
  if (PluginDir().isEmpty() || !dir.exists()) return;
  // In name order, so the order in which plug-ins are tried does not depend
  // on the file system.
  const QFileInfoList entries = dir.entryInfoList({QStringLiteral("*.so")},
                                                  QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  for (const QFileInfo& entry : entries) {
    auto plugin = std::make_unique<TPlugin>(this);
    if (plugin->Open(entry.absoluteFilePath())) FPlugins.push_back(std::move(plugin));
  }
}
