#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>

#include <QCoreApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "bound_relater.h"
#include "custom_bound.h"
#include "drop_rules.h"
#include "image_bound.h"
#include "launcher_bound.h"
#include "object_registry.h"
#include "project_manager.h"
#include "prompt_service.h"
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
  EXPECT_EQ(got, (QStringList{"listview Photos", "image beach.JPG", "app bin/tool", "app tool.desktop",
                              "image camera.png"}));
  EXPECT_FALSE(actions[2].FromShortcut);
  EXPECT_TRUE(actions[3].FromShortcut);
}

namespace {

// Stands in for the list pane, which is not built yet.
class TReceiver : public TCustomBound {
public:
  explicit TReceiver(QWidget* w) : TCustomBound(w, "TReceiverBound") {}
  void ReceiveDroppedFile(const QString& file, const TShellLink*) override { Received = file; }
  QString Received;
};

}  // namespace

TEST(DropRules, DroppedUrlsMakeObjectsWhenTheSwitchIsOn) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  if (!IsBoundKindRegistered(QStringLiteral("listview")))
    RegisterBoundKind(QStringLiteral("listview"), [](QWidget* p) { return std::make_unique<TReceiver>(p); });
  const QString program = w.Write(QStringLiteral("run.sh"), "#!/bin/sh\n");
  QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
  QImage(8, 8, QImage::Format_RGB32).save(w.Root() + QStringLiteral("/a.PNG"), "PNG");
  const QString picture = w.Root() + QStringLiteral("/a.PNG");
  TProjectManager m(w.ProgramFolder());
  EXPECT_FALSE(m.acceptDrops());
  m.CreateObjectbyDrop1->trigger();
  EXPECT_TRUE(m.acceptDrops());

  // What the window's drop handler hands on: the local files of the URLs.
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(program), QUrl::fromLocalFile(picture), QUrl::fromLocalFile(w.Root()),
                QUrl(QStringLiteral("https://example.org/"))});
  m.DropUrls(data.urls());
  ASSERT_EQ(m.Objects()->Count(), 3);
  auto* launcher = qobject_cast<TLauncherBound*>(m.Objects()->Item(0));
  auto* image = qobject_cast<TImageBound*>(m.Objects()->Item(1));
  ASSERT_TRUE(launcher && image);
  EXPECT_EQ(launcher->FileName(), program);
  EXPECT_EQ(image->FileName(), picture);
  EXPECT_EQ(image->PictureWidth, 8);
  if (auto* list = dynamic_cast<TReceiver*>(m.Objects()->Item(2))) {
    EXPECT_EQ(list->Received, w.Root());
  }
}
