#include "picture_plugin.h"

#include <algorithm>
#include <cstring>

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

#include "bitmap24.h"
#include "picture_formats.h"
#include "picture_loader.h"
#include "string_list_ex.h"

// --- TCustomPlugin ---------------------------------------------------------

TCustomPlugin::TCustomPlugin(TCustomPictureLoader* Loader) : FLoader(Loader) {}

TCustomPlugin::~TCustomPlugin() = default;

void TCustomPlugin::Unprepare() { FPrepared = false; }

bool TCustomPlugin::Prepare() { return false; }

bool TCustomPlugin::LoadTest(const uint8_t*, int32_t&, int32_t&, bool&) { return true; }

bool TCustomPlugin::CanLoadFileName(const QString&) { return false; }

bool TCustomPlugin::Decode(QImage&, QIODevice&) { return false; }

bool TCustomPlugin::Open(const QString& Name) {
  FName = Name;
  try {
    FPrepared = Prepare();
  } catch (...) {
    FPrepared = false;
  }
  return FPrepared;
}

void TCustomPlugin::AddFormat(const QString& Extension, const QString& Description) {
  PictureFormats::RegisterFileFormat(Extension, Description, TGraphicClass::CompatibleBitmapStream);
  if (FLoader) FLoader->ExtensionsRef().Add(Extension);
}

// --- TDefaultPlugin --------------------------------------------------------

namespace {

const struct {
  const char* Extension;
  const char* Description;
} DefaultFormats[] = {
    {"gif", "Graphic Information Format/Compuserve graphic"},
    {"jpg", "Joint Photographic Experts Group"},
    {"jfif", "JPEG File Interchange Format"},
    {"exif", "Exchangeable Image File Format"},
};

}  // namespace

TDefaultPlugin::~TDefaultPlugin() { Unprepare(); }

bool TDefaultPlugin::IsOwnExtension(const QString& Extension) {
  const QString e = (Extension.startsWith(u'.') ? Extension.mid(1) : Extension).toLower();
  return std::any_of(std::begin(DefaultFormats), std::end(DefaultFormats),
                     [&](const auto& f) { return e == QLatin1String(f.Extension); });
}

bool TDefaultPlugin::Prepare() {
  for (const auto& f : DefaultFormats)
    AddFormat(QString::fromLatin1(f.Extension), QString::fromLatin1(f.Description));
  return true;
}

bool TDefaultPlugin::LoadTest(const uint8_t* Buffer, int32_t& Offset, int32_t& Size, bool& Continue) {
  if (!Buffer) return false;
  if (Size < 5) {
    Continue = false;
    return false;
  }
  Continue = false;
  if (Offset != 0) return false;
  return (Buffer[0] == 0xFF && Buffer[1] == 0xD8) || std::memcmp(Buffer, "GIF8", 4) == 0;
}

bool TDefaultPlugin::Decode(QImage& Bitmap, QIODevice& Stream) {
  // The whole stream in memory, read by Qt's reader for what it holds.
  QByteArray data = Stream.readAll();
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setAutoTransform(true);
  QImage image;
  if (!reader.read(&image)) return false;
  Bitmap = Bitmap24::As24(image);
  return !Bitmap.isNull();
}

// --- TPlugin ---------------------------------------------------------------

namespace {

// What DrawBitmap's stream stands for: the device and the bitmaps the
// plug-in allocated during the call.
struct THostStream {
  ZelHostStream Stream;  // first, so the C pointer leads back here
  QIODevice* Device;
  std::vector<std::unique_ptr<QImage>> Bitmaps;

  static THostStream* Of(ZelHostStream* s) { return reinterpret_cast<THostStream*>(s); }

  static int64_t Read(ZelHostStream* s, void* buffer, int64_t count) noexcept {
    try {
      if (!s || (!buffer && count > 0) || count < 0) return -1;
      return Of(s)->Device->read(static_cast<char*>(buffer), count);
    } catch (...) {
      return -1;
    }
  }

  static int64_t Seek(ZelHostStream* s, int64_t offset, int32_t origin) noexcept {
    try {
      if (!s) return -1;
      QIODevice* d = Of(s)->Device;
      int64_t base = 0;
      if (origin == ZEL_SEEK_CUR) base = d->pos();
      else if (origin == ZEL_SEEK_END) base = d->size();
      else if (origin != ZEL_SEEK_SET) return -1;
      if (offset > 0 && base > INT64_MAX - offset) return -1;
      const int64_t target = base + offset;
      if (target < 0 || !d->seek(target)) return -1;
      return target;
    } catch (...) {
      return -1;
    }
  }

  static int64_t Size(ZelHostStream* s) noexcept {
    try {
      return s ? Of(s)->Device->size() : -1;
    } catch (...) {
      return -1;
    }
  }

  static ZelBitmap* NewBitmap(ZelHostStream* s, int32_t width, int32_t height, ZelBitmapRows* rows) noexcept {
    if (rows) *rows = ZelBitmapRows{0, 0, 0, nullptr};
    try {
      if (!s || width <= 0 || height <= 0 || !Bitmap24::SizeAllowed(width, height)) return nullptr;
      auto image = std::make_unique<QImage>(Bitmap24::New(width, height));
      image->fill(0);
      if (rows) *rows = ZelBitmapRows{width, height, int32_t(image->bytesPerLine()), image->bits()};
      ZelBitmap* handle = reinterpret_cast<ZelBitmap*>(image.get());
      Of(s)->Bitmaps.push_back(std::move(image));
      return handle;
    } catch (...) {
      return nullptr;
    }
  }

  explicit THostStream(QIODevice& device) : Device(&device) {
    Stream.struct_size = sizeof(ZelHostStream);
    Stream.host = this;
    Stream.read = &Read;
    Stream.seek = &Seek;
    Stream.size = &Size;
    Stream.new_bitmap = &NewBitmap;
  }

  // The bitmap behind a delivered handle, or null for a handle the host
  // never gave out.
  QImage* Delivered(ZelBitmap* handle) const {
    for (const auto& b : Bitmaps)
      if (reinterpret_cast<ZelBitmap*>(b.get()) == handle) return b.get();
    return nullptr;
  }
};

// The text a plug-in returned, read up to its NUL but no further than a
// sane length.
QString PluginText(const char* text) {
  if (!text) return {};
  return QString::fromUtf8(text, qsizetype(strnlen(text, 64 * 1024)));
}

}  // namespace

TPlugin::~TPlugin() { Unprepare(); }

void TPlugin::Unprepare() {
  TCustomPlugin::Unprepare();
  if (FLibrary) {
    if (FUnPreparePlugin) {
      try {
        FUnPreparePlugin();
      } catch (...) {
      }
    }
    FLibrary->unload();
    FLibrary.reset();
  }
  FPreparePlugin = nullptr;
  FUnPreparePlugin = nullptr;
  FGetFileExtentions = nullptr;
  FFileNameNotify = nullptr;
  FDrawBitmap = nullptr;
  FLoadTestEx = nullptr;
}

bool TPlugin::Prepare() {
  Unprepare();
  if (!QFileInfo(Name()).isFile()) return false;
  FLibrary = std::make_unique<QLibrary>(Name());
  // Every symbol resolved at load, so a library with missing dependencies
  // is refused here instead of failing at a later call.
  FLibrary->setLoadHints(QLibrary::ResolveAllSymbolsHint);
  if (!FLibrary->load()) {
    FLibrary.reset();
    return false;
  }
  FPreparePlugin = reinterpret_cast<ZelPreparePluginFn>(FLibrary->resolve("PreparePlugin"));
  FUnPreparePlugin = reinterpret_cast<ZelUnPreparePluginFn>(FLibrary->resolve("UnPreparePlugin"));
  FGetFileExtentions = reinterpret_cast<ZelGetFileExtentionsFn>(FLibrary->resolve("GetFileExtentions"));
  FFileNameNotify = reinterpret_cast<ZelFileNameNotifyFn>(FLibrary->resolve("FileNameNotify"));
  FDrawBitmap = reinterpret_cast<ZelDrawBitmapFn>(FLibrary->resolve("DrawBitmap"));
  FLoadTestEx = reinterpret_cast<ZelLoadTestExFn>(FLibrary->resolve("LoadTestEx"));
  if (!FPreparePlugin || !FUnPreparePlugin || !FGetFileExtentions || !FFileNameNotify || !FDrawBitmap ||
      !FLoadTestEx) {
    Unprepare();
    return false;
  }
  FPreparePlugin();
  const QStringList items = SplitCommaText(PluginText(FGetFileExtentions()));
  for (int i = 0; i < items.size(); ++i) {
    const QString& item = items.at(i);
    const qsizetype colon = item.indexOf(u':');
    const QString ext = colon >= 0 ? item.left(colon) : item;
    const QString description = colon >= 0 ? item.mid(colon + 1) : QStringLiteral("unknown%1").arg(i);
    if (!ext.isEmpty()) AddFormat(ext, description);
  }
  return true;
}

bool TPlugin::LoadTest(const uint8_t* Buffer, int32_t& Offset, int32_t& Size, bool& Continue) {
  if (!FLoadTestEx) return false;
  uint8_t cont = Continue ? 1 : 0;
  const ZelBool32 answer = FLoadTestEx(Buffer, &Offset, &Size, &cont);
  Continue = cont != 0;
  return (answer & 0xFF) != 0;
}

bool TPlugin::CanLoadFileName(const QString& FileName) {
  if (!FFileNameNotify || !Loader()) return false;
  try {
    return (FFileNameNotify(Loader()->NotifyNameCopy(FileName)) & 0xFF) != 0;
  } catch (...) {
    return false;
  }
}

bool TPlugin::Decode(QImage& Bitmap, QIODevice& Stream) {
  if (!FDrawBitmap) return false;
  THostStream host(Stream);
  ZelBitmap* handle = nullptr;
  try {
    FDrawBitmap(&handle, &host.Stream);
  } catch (...) {
    return false;
  }
  if (!handle) {
    Bitmap = QImage();
    return true;
  }
  // A handle the host did not allocate is garbage: never touched, and the
  // decode counts as failed.
  QImage* delivered = host.Delivered(handle);
  if (!delivered) return false;
  Bitmap = std::move(*delivered);
  return true;
}
