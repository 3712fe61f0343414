#pragma once

#include <libheif/heif.h>

#include <QImage>
#include <QString>

// Test photos in the formats the HEIF plug-in reads, made with libheif's own
// encoder as a camera would make them.
namespace TestHeif {

// A smooth picture: red across, green down.
QImage Gradient(int w, int h);
// False when this libheif has no encoder for the format.
bool EncodeWithLibheif(const QImage& picture, heif_compression_format format, const QString& path);

}  // namespace TestHeif
