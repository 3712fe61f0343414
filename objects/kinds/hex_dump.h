#pragma once

#include <QString>

// The hexadecimal dump of the first 1024 bytes of a file, n bytes a line:
// a ruler, the lines (hex part, a blank, text part), the ruler again and
// "[MORE]" or "[EOF]". "File not found." when the file cannot be read.
QString HexDumpText(const QString& fileName, int bytesPerLine);

// Bytes a dump line holds for a view of the given width whose character "A"
// is charWidth pixels wide: width div (3 x charWidth) - 2, down to a
// multiple of 8, at least 4.
int DumpBytesPerLine(int viewWidth, int charWidth);
