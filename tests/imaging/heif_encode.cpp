#include "heif_encode.h"

#include "bitmaps.h"

using namespace TestBitmaps;

namespace TestHeif {

QImage Gradient(int w, int h) {
  QImage image = Make(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Set(image, x, y, {128, uint8_t(y * 255 / (h - 1)), uint8_t(x * 255 / (w - 1))});
  return image;
}

bool EncodeWithLibheif(const QImage& picture, heif_compression_format format, const QString& path) {
  if (!heif_have_encoder_for_format(format)) return false;
  heif_context* context = heif_context_alloc();
  heif_encoder* encoder = nullptr;
  bool ok = heif_context_get_encoder_for_format(context, format, &encoder).code == heif_error_Ok;
  heif_image* image = nullptr;
  ok = ok && heif_encoder_set_lossy_quality(encoder, 95).code == heif_error_Ok;
  ok = ok && heif_image_create(picture.width(), picture.height(), heif_colorspace_RGB,
                               heif_chroma_interleaved_RGB, &image).code == heif_error_Ok;
  ok = ok && heif_image_add_plane(image, heif_channel_interleaved, picture.width(), picture.height(), 8).code ==
                 heif_error_Ok;
  if (ok) {
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) {
        const Bgr v = At(picture, x, y);
        uint8_t* p = plane + y * stride + 3 * x;
        p[0] = v[2];
        p[1] = v[1];
        p[2] = v[0];
      }
    ok = heif_context_encode_image(context, image, encoder, nullptr, nullptr).code == heif_error_Ok &&
         heif_context_write_to_file(context, path.toLocal8Bit().constData()).code == heif_error_Ok;
  }
  if (image) heif_image_release(image);
  if (encoder) heif_encoder_release(encoder);
  heif_context_free(context);
  return ok;
}

}  // namespace TestHeif
