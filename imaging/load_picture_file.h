#pragma once

#include <functional>

#include <QImage>
#include <QString>

// Fills the bitmap when a file cannot be shown; gets the file's path.
using TPlaceholder = std::function<void(QImage& Bitmap, const QString& Path)>;

// Turns any picture file into a new 24-bit bitmap: icons drawn on black,
// bitmap files read directly, everything else by extension through the
// picture formats (plug-in formats included). A file that cannot be read,
// for whatever reason, or that gives an empty picture, ends in Placeholder.
// Transparent pixels are composed over black.
QImage LoadPictureFile(const QString& Path, const TPlaceholder& Placeholder);

// The image viewer's placeholder. Without an extension: 200 x 200 blue with
// "-UNKNOWN-" in white; otherwise the desktop's icon for files of that
// extension on black. Uses the icon theme: call it on the GUI thread.
void StandardPlaceholder(QImage& Bitmap, const QString& Path);

// A picture in 24 bits with transparency composed over black.
QImage ComposeOverBlack(const QImage& Picture);
