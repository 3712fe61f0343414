#pragma once

#include <optional>

#include <QImage>
#include <QList>
#include <QString>

// The picture object's table of file formats: which graphic class reads a
// file, chosen by its extension. Qt's image readers are the built-in
// classes; plug-in extensions are registered here for
// TCompatibleBitmapStream and take precedence over a built-in reader of the
// same extension. Process-wide, like the toolkit's own table.
enum class TGraphicClass { CompatibleBitmapStream };

struct TFileFormat {
  QString Extension;  // lower case, without the dot
  QString Description;
  TGraphicClass GraphicClass;
};

namespace PictureFormats {

// Registers (or re-registers) an extension; the latest registration wins.
void RegisterFileFormat(const QString& Extension, const QString& Description, TGraphicClass GraphicClass);
// Removes every extension registered for a graphic class.
void UnregisterGraphicClass(TGraphicClass GraphicClass);
// The registered format of an extension (with or without its dot).
std::optional<TFileFormat> Find(const QString& Extension);
QList<TFileFormat> Registered();
// True when Qt has a reader for the extension.
bool IsBuiltIn(const QString& Extension);

// Loads a picture file by its extension: a registered format through its
// graphic class, else Qt's reader for the extension. Raises
// EInvalidGraphicOperation for an extension nothing reads ("Unknown picture
// file extension (.xyz)") and for a file the reader cannot decode. The
// picture may be empty (a plug-in format whose name no plug-in accepts).
QImage LoadPicture(const QString& FileName);

}  // namespace PictureFormats
