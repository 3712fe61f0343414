#pragma once

#include <QString>
#include <QTemporaryDir>

// A small world in a temporary folder: a program folder, a home with its XDG
// folders and a system temporary folder. Installs them as the process-wide
// environment for its lifetime.
class TTempWorld {
public:
  TTempWorld();
  ~TTempWorld();

  QString Root() const { return FDir.path(); }
  QString ProgramFolder() const { return Root() + QStringLiteral("/program"); }
  QString Home() const { return Root() + QStringLiteral("/home"); }
  QString Temp() const { return Root() + QStringLiteral("/tmp"); }

  // Writes text (UTF-8) to a file below the root, creating folders.
  QString Write(const QString& relative, const QByteArray& text) const;
  QByteArray Read(const QString& relative) const;

private:
  QTemporaryDir FDir;
  QString FOldProgram, FOldTemp;
};
