#pragma once

#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>

#include "colors.h"
#include "custom_bound.h"

// A picture file scaled to the panel, with zoom commands; a file that is no
// picture is shown as a hexadecimal dump of its first bytes.
class TImageBound : public TCustomBound {
  Q_OBJECT
public:
  explicit TImageBound(QWidget* mainWindow);
  ~TImageBound() override;

  QPlainTextEdit* DumpMemo() const { return FDumpMemo; }
  QLabel* ImageView() const { return FImageView; }
  int PictureWidth = 0, PictureHeight = 0;
  QString FileName() const { return FFileName; }
  bool Fast = true;
  int LastWidth = 0, LastHeight = 0;
  TColor DumpTextColor = clWindowText, DumpBackColor = clWindow;
  // The picture as last rendered for the panel.
  QImage Rendered() const { return FRendered; }

  void ShowFile(const QString& fileName);
  void SetFile(const QString& fileName);
  void SetFast(bool fast);
  void SetDumpColors(TColor text, TColor back);

  static constexpr int TagZoomBase = 9000;  // tags 9025, 9050, 9100, 9200, 9400

  void SetParentControl(QWidget* parent) override;
  QString GetRecord() override;
  void SetRecord(const QString& text) override;
  void MenuClick(QAction* sender) override;
  void Arrange() override;
  void PrefenceOpen(QObject* sender) override;
  void PrefenceChanged(QObject* sender) override;
  bool RecvCommand(TCustomBound* sender, uint32_t& word, const char* data, int size) override;
  void ReceiveDroppedFile(const QString& file, const TShellLink* shortcut) override;

private:
  void ShowDump();
  void FreeDump();
  void ApplyDumpColors();
  QPointer<QPlainTextEdit> FDumpMemo;
  QPointer<QLabel> FImageView;
  QString FFileName;
  QImage FRendered;
  QImage FSource;        // the decoded picture of FFileName
  QString FSourceStamp;  // which file version FSource is
  QString FMissingName;  // a file that was not there when it was to be shown
};
