#pragma once

#include <QLabel>
#include <QPointer>

#include "custom_bound.h"

// The icon of a program or launcher; a double click starts it.
class TLauncherBound : public TCustomBound {
  Q_OBJECT
public:
  explicit TLauncherBound(QWidget* mainWindow);

  QLabel* IconView() const { return FIconView; }
  QString FileName() const { return FFileName; }
  QString WorkPath;
  int IconIndex() const { return FIconIndex; }
  QString IconPath() const { return FIconPath; }

  // The launcher's file dialog filters: for "File" and for "IconPath".
  static const QString FileFilter;
  static const QString IconFilter;

  void ShowIcon(const QString& fileName);
  void SetFile(const QString& path);
  void SetIconPath(const QString& path);
  void SetIconIndex(int n);
  // Starts the program; opens the preferences when there is none.
  void Launch();

  void SetParentControl(QWidget* parent) override;
  QString GetRecord() override;
  void SetRecord(const QString& text) override;
  void Arrange() override;
  void PrefenceOpen(QObject* sender) override;
  void PrefenceChanged(QObject* sender) override;
  void ReceiveDroppedFile(const QString& file, const TShellLink* shortcut) override;

private:
  QPointer<QLabel> FIconView;
  QString FFileName;
  int FIconIndex = 0;
  QString FIconPath;
};
