#include "launcher_bound.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>

#include "paths.h"
#include "prefence_edit.h"
#include "program_icons.h"
#include "prompt_service.h"
#include "string_list_ex.h"

const QString TLauncherBound::FileFilter =
    QStringLiteral("Programs (*)|*|Launchers (*.desktop)|*.desktop");
const QString TLauncherBound::IconFilter = QStringLiteral(
    "All Files (*)|*|Icons (*.ico *.png *.svg *.xpm)|*.ico;*.png;*.svg;*.xpm|Programs (*)|*|Launchers "
    "(*.desktop)|*.desktop");

namespace {

// The picture an icon source gives at a size: an icon file's image number
// `index`, a launcher's icon, a program's icon, a picture, or the icon of the
// file's type.
QPixmap IconPicture(const QString& source, int index, int size) {
  const QFileInfo fi(source);
  const QString ext = fi.suffix().toLower();
  if (ext == QLatin1String("ico")) {
    QImageReader reader(source);
    if (index > 0) reader.jumpToImage(index);
    const QImage image = reader.read();
    if (!image.isNull()) return QPixmap::fromImage(image);
    throw std::runtime_error("icon");
  }
  if (!fi.exists()) return QIcon::fromTheme(source).pixmap(size);  // a theme icon's name
  if (IsShortcutFile(source)) return DesktopEntryIcon(source).pixmap(size);
  if (IsProgramFile(source)) return ProgramIcon(source).pixmap(size);
  QImageReader reader(source);
  const QImage image = reader.read();
  if (!image.isNull()) return QPixmap::fromImage(image);
  return FileTypeIcon(source).pixmap(size);
}

}  // namespace

TLauncherBound::TLauncherBound(QWidget* mainWindow) : TCustomBound(mainWindow, "TLauncherBound") {
  IncKindLevel();
  RecvMask = 0;
  SendMask = 0;
  FIconView = new QLabel(Panel());
  FIconView->setObjectName(QStringLiteral("IconView"));
  FIconView->setAlignment(Qt::AlignCenter);
  FIconView->hide();
  Panel()->RouteMouse(FIconView);
  Panel()->OnDblClick = [this](QWidget*) { Launch(); };
  LocalizePopup();
}

void TLauncherBound::SetParentControl(QWidget* parent) {
  TCustomBound::SetParentControl(parent);
  Panel()->SetCaption(QStringLiteral("Launcher"));
  FIconView->setGeometry(Panel()->rect());
  FIconView->show();
  ShowIcon(FFileName);
  Arrange();
}

void TLauncherBound::ShowIcon(const QString& fileName) {
  const auto framed = [this](const QString& caption) {
    FIconView->clear();
    Panel()->SetCaption(caption);
    Panel()->SetBevelInner(TOverallPanel::TBevel::None);
    Panel()->SetBevelOuter(TOverallPanel::TBevel::Raised);
  };
  if (fileName.isEmpty()) return framed(QStringLiteral("Launcher"));
  if (!QFileInfo::exists(fileName)) return framed(QStringLiteral("NotFound."));
  FFileName = fileName;
  try {
    const QString source = FIconPath.isEmpty() ? FFileName : FIconPath;
    const int size = qBound(16, qMin(Panel()->width(), Panel()->height()) - 8, 256);
    QPixmap picture = IconPicture(source, FIconIndex, size);
    if (picture.isNull()) picture = FileTypeIcon(FFileName).pixmap(size);
    FIconView->setPixmap(picture);
    Panel()->SetBevelInner(TOverallPanel::TBevel::None);
    Panel()->SetBevelOuter(TOverallPanel::TBevel::None);
    Panel()->SetCaption(QString());
  } catch (const std::exception&) {
    ShowMessage(QStringLiteral("Loading fail"));
  }
}

void TLauncherBound::SetFile(const QString& path) {
  if (path == FFileName) return;
  FIconPath.clear();
  FIconIndex = 0;
  if (IsShortcutFile(path)) {
    const TShellLink link = ReadShellLink(path);
    if (link.Ok && QFileInfo::exists(link.Target)) {
      // An application's launcher is kept itself, so that its whole Exec
      // line runs; other shortcuts stand for their target.
      FFileName = IsApplicationLauncher(path) ? path : link.Target;
      WorkPath = link.WorkingFolder;
    }
  } else if (IsProgramFile(path)) {
    FFileName = path;
  }
  ShowIcon(FFileName);
}

void TLauncherBound::SetIconPath(const QString& path) {
  if (path == FIconPath) return;
  FIconPath = path;
  FIconIndex = 0;
  ShowIcon(FFileName);
}

void TLauncherBound::SetIconIndex(int n) {
  if (n == FIconIndex) return;
  FIconIndex = n;
  ShowIcon(FFileName);
}

void TLauncherBound::Launch() {
  if (FFileName.isEmpty() || !QFileInfo::exists(FFileName)) {
    PrefenceOpen(Panel());
    return;
  }
  LaunchFile(FFileName, WorkPath);
}

QString TLauncherBound::GetRecord() {
  return ExtendRecord(TCustomBound::GetRecord(), QStringLiteral("App"),
                      {ContractPath(FFileName), ContractPath(FIconPath), QString::number(FIconIndex)});
}

void TLauncherBound::SetRecord(const QString& text) {
  TCustomBound::SetRecord(text);
  TStringListEx fields;
  fields.SetCommaText(text);
  FFileName = ExpandPath(RecordField(fields, 10));
  FIconPath = ExpandPath(RecordField(fields, 11));
  FIconIndex = StrToIntDef(RecordField(fields, 12), 0);
  ShowIcon(FFileName);
  Arrange();
}

void TLauncherBound::Arrange() {
  TCustomBound::Arrange();
  if (!ParentControl()) return;
  FIconView->setGeometry(Panel()->rect());
  if (!Panel()->isVisible()) Panel()->show();
  FIconView->update();
}

void TLauncherBound::PrefenceOpen(QObject* sender) {
  TCustomBound::PrefenceOpen(sender);
  if (!Prefence()->IsOpen()) return;
  Prefence()->FileFilter = FileFilter;
  Prefence()->AddItem(QStringLiteral("File"), QStringLiteral("FileDialog"), FFileName);
  Prefence()->AddItem(QStringLiteral("WorkPath"), QStringLiteral("EditText"), WorkPath);
  Prefence()->FileFilter = IconFilter;
  Prefence()->AddItem(QStringLiteral("IconPath"), QStringLiteral("FileDialog"), FIconPath);
  Prefence()->AddItem(QStringLiteral("IconIndex"), QStringLiteral("Integer"), QString::number(FIconIndex));
}

void TLauncherBound::PrefenceChanged(QObject* sender) {
  SetFile(Prefence()->GetValue(QStringLiteral("File")));
  WorkPath = Prefence()->GetValue(QStringLiteral("WorkPath"));
  FIconPath = Prefence()->GetValue(QStringLiteral("IconPath"));
  FIconIndex = StrToIntDef(Prefence()->GetValue(QStringLiteral("IconIndex")), 0);
  TCustomBound::PrefenceChanged(sender);
}

void TLauncherBound::ReceiveDroppedFile(const QString& file, const TShellLink* shortcut) {
  SetFile(file);
  if (!shortcut) return;
  WorkPath = shortcut->WorkingFolder;
  SetIconPath(shortcut->IconFile);
  SetIconIndex(shortcut->IconIndex);
}
