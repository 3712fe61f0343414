// Picture plug-in for HEIF/HEIC photos and AVIF pictures, through libheif.
#include <libheif/heif.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "zel_picture_plugin.h"

namespace {

// Containers larger than this are not read into memory.
constexpr int64_t MaxFileBytes = int64_t(1) << 30;
// Enough of the file for libheif to judge its "ftyp" box.
constexpr int32_t TypeWindow = 32;

struct TContextFree {
  void operator()(heif_context* c) const { heif_context_free(c); }
};
struct THandleRelease {
  void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct TImageRelease {
  void operator()(heif_image* i) const { heif_image_release(i); }
};

bool HasOwnExtension(const char* name) {
  if (!name) return false;
  const char* dot = std::strrchr(name, '.');
  if (!dot || std::strchr(dot, '/')) return false;
  std::string ext(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return ext == "heic" || ext == "heif" || ext == "hif" || ext == "avif";
}

// Copies a decoded interleaved RGB or RGBA image into the host's rows,
// composing transparency over black.
void CopyRows(const uint8_t* src, int stride, bool alpha, const ZelBitmapRows& rows) {
  const int step = alpha ? 4 : 3;
  for (int y = 0; y < rows.height; ++y) {
    const uint8_t* s = src + size_t(y) * size_t(stride);
    uint8_t* d = rows.bits + size_t(y) * size_t(rows.bytes_per_line);
    for (int x = 0; x < rows.width; ++x, s += step, d += 3) {
      if (alpha) {
        const unsigned a = s[3];
        d[0] = uint8_t((s[2] * a + 127) / 255);
        d[1] = uint8_t((s[1] * a + 127) / 255);
        d[2] = uint8_t((s[0] * a + 127) / 255);
      } else {
        d[0] = s[2];
        d[1] = s[1];
        d[2] = s[0];
      }
    }
  }
}

void Decode(ZelBitmap** bitmap, ZelHostStream* stream) {
  const int64_t size = stream->size(stream);
  if (size <= 0 || size > MaxFileBytes) return;
  std::vector<uint8_t> data(static_cast<size_t>(size));
  if (stream->seek(stream, 0, ZEL_SEEK_SET) != 0 || stream->read(stream, data.data(), size) != size) return;

  std::unique_ptr<heif_context, TContextFree> context(heif_context_alloc());
  if (!context) return;
  if (heif_context_read_from_memory_without_copy(context.get(), data.data(), data.size(), nullptr).code !=
      heif_error_Ok)
    return;
  heif_image_handle* rawHandle = nullptr;
  if (heif_context_get_primary_image_handle(context.get(), &rawHandle).code != heif_error_Ok) return;
  std::unique_ptr<heif_image_handle, THandleRelease> handle(rawHandle);

  // Ask the host for the bitmap before decoding: a picture too large to
  // show is refused without decoding it.
  ZelBitmapRows rows{};
  ZelBitmap* target = stream->new_bitmap(stream, heif_image_handle_get_width(handle.get()),
                                         heif_image_handle_get_height(handle.get()), &rows);
  if (!target) return;

  const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
  heif_image* rawImage = nullptr;
  if (heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, nullptr)
          .code != heif_error_Ok)
    return;
  std::unique_ptr<heif_image, TImageRelease> image(rawImage);
  const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
  const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
  int stride = 0;
  const uint8_t* plane = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
  if (!plane || width <= 0 || height <= 0) return;
  if (width != rows.width || height != rows.height) {
    // Rotated on decoding: the host frees the first bitmap.
    target = stream->new_bitmap(stream, width, height, &rows);
    if (!target) return;
  }
  CopyRows(plane, stride, alpha, rows);
  *bitmap = target;
}

}  // namespace

extern "C" {

ZEL_PICTURE_PLUGIN_EXPORT void PreparePlugin(void) { heif_init(nullptr); }

ZEL_PICTURE_PLUGIN_EXPORT void UnPreparePlugin(void) { heif_deinit(); }

ZEL_PICTURE_PLUGIN_EXPORT const char* GetFileExtentions(void) {
  return "\"heic:HEIC photo\",\"heif:HEIF picture\",\"hif:HEIF picture\",\"avif:AVIF picture\"";
}

ZEL_PICTURE_PLUGIN_EXPORT ZelBool32 FileNameNotify(const char* file_name) {
  return HasOwnExtension(file_name) ? 1 : 0;
}

ZEL_PICTURE_PLUGIN_EXPORT ZelBool32 LoadTestEx(const uint8_t* buffer, int32_t* offset, int32_t* size,
                                               uint8_t* continue_test) {
  if (!buffer || !offset || !size || !continue_test) return 0;
  if (*offset == 0 && *size >= TypeWindow) {
    *continue_test = 0;
    const heif_filetype_result r = heif_check_filetype(buffer, *size);
    return r == heif_filetype_yes_supported ? 1 : 0;
  }
  // The first 8 bytes: an ISO media file starts with the size of its
  // "ftyp" box; look at enough of it to tell the brand.
  if (*offset == 0 && *size >= 8 && std::memcmp(buffer + 4, "ftyp", 4) == 0) {
    *size = TypeWindow;
    return 0;
  }
  *continue_test = 0;
  return 0;
}

ZEL_PICTURE_PLUGIN_EXPORT void DrawBitmap(ZelBitmap** bitmap, ZelHostStream* stream) {
  if (!bitmap || !stream) return;
  *bitmap = nullptr;
  try {
    Decode(bitmap, stream);
  } catch (...) {
    *bitmap = nullptr;
  }
}
}
