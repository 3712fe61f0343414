// The [Application] section: reading the settings into the main window and
// writing them back before the data file is saved.
#include <QFileInfo>

#include "data_file_manager.h"
#include "grid_scroll_box.h"
#include "paths.h"
#include "picture_loader.h"
#include "project_manager.h"
#include "string_list_ex.h"

#include <QAction>

void TProjectManager::ApplySettings() {
  auto section = FDataFile->GetApplicationSection();
  FDataFile->SetApplicationSection(nullptr);
  const TStringListEx& s = *section;
  auto value = [&](const char* key) { return s.Values(QLatin1String(key)); };

  // Placement: a value that is not an integer keeps the current one. The
  // lines of a normal window stay in the file while it is maximized or full
  // screen; applying them then would undo that state.
  qint32 v;
  if (!isMaximized() && !isFullScreen()) {
    if (TryStrToInt(value("Left"), v)) move(v, y());
    if (TryStrToInt(value("Top"), v)) move(x(), v);
    if (TryStrToInt(value("Width"), v)) resize(v, height());
    if (TryStrToInt(value("Height"), v)) resize(width(), v);
  }
  if (value("WindowState") == QLatin1String("Maximized")) setWindowState(windowState() | Qt::WindowMaximized);

  FLastProject = value("Project");

  (value("DragnDrop") == QLatin1String("ConfirmRequest") ? ConfirmRequest1 : Default1)->setChecked(true);
  (value("PictureProcessing") == QLatin1String("HighQuality") ? Complement1 : Nearest1)->setChecked(true);
  (value("CursorMode") == QLatin1String("Dynamic") ? Dynamic1 : Static1)->setChecked(true);

  if (value("Expert") == QLatin1String("Expert") && !Expert1->isChecked()) ExpertClick();
  if (value("FitToWindow") == QLatin1String("Yes") && !FitToWindow1->isChecked()) FitToWindowClick();
  if (value("FitToGrid") == QLatin1String("Yes") && !FitToGrid1->isChecked()) FitToGridClick();
  if (value("DefaultPlugin") == QLatin1String("True")) {
    // The loader takes its default plug-in only once.
    if (FPictureLoader) FPictureLoader->AddDefaultPlugin();
    FDefaultPlugin = true;
  }
  if (value("CreateObjectByDrop") == QLatin1String("True") && !CreateObjectbyDrop1->isChecked())
    CreateObjectByDropClick();

  TColor c;
  if (!value("BackgroundColor").isEmpty() && TextToColor(value("BackgroundColor"), c)) FColor = c;
  if (!value("TextColor").isEmpty() && TextToColor(value("TextColor"), c)) FFontColor = c;
  if (!value("WindowBackgroundColor").isEmpty() && TextToColor(value("WindowBackgroundColor"), c))
    FWindowBackgroundColor = c;
  if (!value("WindowTextColor").isEmpty() && TextToColor(value("WindowTextColor"), c)) FWindowTextColor = c;
  if (!value("WindowBorder").isEmpty()) FWindowBorder = IsTrueWord(value("WindowBorder"));

  if (value("Bevels") == QLatin1String("No") && Bevels1->isChecked()) BevelsClick();

  ApplyMainColors();

  if (!value("LoggingFileOperation").isEmpty()) FLoggingFileOperation = IsTrueWord(value("LoggingFileOperation"));
  if (!value("LoadDefaultAtStart").isEmpty()) FLoadDefaultAtStart = IsTrueWord(value("LoadDefaultAtStart"));
  FTemporaryPath = value("TemporaryPath");
  if (FTemporaryPath.isEmpty()) FTemporaryPath = DefaultTemporaryPath();
  if (!value("DEBUG").isEmpty()) DEBUG1->setVisible(IsYesWord(value("DEBUG")));
  if (!value("DynamicPath").isEmpty()) FDynamicPath = IsYesWord(value("DynamicPath"));
}

void TProjectManager::WriteSettings(int code) {
  if (!(code & 1)) return;
  auto s = FDataFile->GetApplicationSection();
  // Full screen counts as maximized: the placement to come back to is the one before it.
  if (isMaximized() || isFullScreen()) {
    s->SetValue(QStringLiteral("WindowState"), QStringLiteral("Maximized"));
  } else {
    s->SetValue(QStringLiteral("WindowState"), QStringLiteral("Normal"));
    s->SetValue(QStringLiteral("Left"), QString::number(x()));
    s->SetValue(QStringLiteral("Top"), QString::number(y()));
    s->SetValue(QStringLiteral("Width"), QString::number(width()));
    s->SetValue(QStringLiteral("Height"), QString::number(height()));
  }
  s->SetValue(QStringLiteral("Project"),
              FCurrentProject == QLatin1String("DEFAULT") ? FLastProject : windowTitle());
  s->SetValue(QStringLiteral("DragnDrop"),
              ConfirmRequest1->isChecked() ? QStringLiteral("ConfirmRequest") : QStringLiteral("Default"));
  s->SetValue(QStringLiteral("PictureProcessing"),
              Nearest1->isChecked() ? QStringLiteral("Fast") : QStringLiteral("HighQuality"));
  s->SetValue(QStringLiteral("CursorMode"), Static1->isChecked() ? QStringLiteral("Static") : QStringLiteral("Dynamic"));
  s->SetValue(QStringLiteral("Expert"), Expert1->isChecked() ? QStringLiteral("Expert") : QStringLiteral("Beginner"));
  s->SetValue(QStringLiteral("BackgroundColor"), ColorToText(FColor));
  s->SetValue(QStringLiteral("TextColor"), ColorToText(FFontColor));
  s->SetValue(QStringLiteral("WindowTextColor"), ColorToText(FWindowTextColor));
  s->SetValue(QStringLiteral("WindowBackgroundColor"), ColorToText(FWindowBackgroundColor));
  s->SetValue(QStringLiteral("WindowBorder"), TrueFalseWord(FWindowBorder));
  s->SetValue(QStringLiteral("FitToWindow"), YesNoWord(FitToWindow1->isChecked()));
  s->SetValue(QStringLiteral("FitToGrid"), YesNoWord(FitToGrid1->isChecked()));
  s->SetValue(QStringLiteral("DefaultPlugin"), TrueFalseWord(FDefaultPlugin));
  s->SetValue(QStringLiteral("CreateObjectByDrop"), TrueFalseWord(CreateObjectbyDrop1->isChecked()));
  s->SetValue(QStringLiteral("LoggingFileOperation"), TrueFalseWord(FLoggingFileOperation));
  s->SetValue(QStringLiteral("LoadDefaultAtStart"), TrueFalseWord(FLoadDefaultAtStart));
  s->SetValue(QStringLiteral("TemporaryPath"), FTemporaryPath);
  s->SetValue(QStringLiteral("Bevels"), YesNoWord(Bevels1->isChecked()));
  s->SetValue(QStringLiteral("DEBUG"), YesNoWord(DEBUG1->isVisible()));
  FDataFile->SetApplicationSection(std::move(s));
}
