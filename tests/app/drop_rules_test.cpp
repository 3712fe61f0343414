#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "drop_rules.h"
#include "temp_world.h"

TEST(DropRules, EachNameBecomesItsObjectInOrder) {
  TTempWorld w;
  const QString folder = w.Root() + QStringLiteral("/Photos");
  QDir().mkpath(folder);
  const QString picture = w.Write(QStringLiteral("beach.JPG"), "not decoded here");
  const QString exePicture = w.Write(QStringLiteral("camera.png"), "\x89PNG");
  QFile::setPermissions(exePicture, QFile::ReadOwner | QFile::ExeOwner);
  const QString program = w.Write(QStringLiteral("bin/tool"), "#!/bin/sh\n");
  QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QString launcher =
      w.Write(QStringLiteral("tool.desktop"), ("[Desktop Entry]\nType=Application\nExec=" + program + "\n").toUtf8());
  const QString folderLink = w.Write(QStringLiteral("photos.lnk"),
                                     ("[Desktop Entry]\nType=Link\nURL=file://" + folder + "\n").toUtf8());
  const QString web = w.Write(QStringLiteral("site.url"), "[InternetShortcut]\nURL=https://example.org/\n");
  const QString text = w.Write(QStringLiteral("notes.txt"), "x");

  const auto isPicture = [](const QString& ext) { return ext == QLatin1String("jpg") || ext == QLatin1String("png"); };
  const QList<TDropAction> actions = ClassifyDrops(
      {folder, picture, program, launcher, folderLink, web, text, exePicture, w.Root() + QStringLiteral("/gone.png")},
      isPicture);
  QStringList got;
  for (const TDropAction& a : actions) got << a.Kind + u' ' + a.File.mid(w.Root().size() + 1);
  EXPECT_EQ(got, (QStringList{"listview Photos", "image beach.JPG", "app bin/tool", "app bin/tool",
                              "image camera.png"}));
  EXPECT_FALSE(actions[2].FromShortcut);
  EXPECT_TRUE(actions[3].FromShortcut);
}
