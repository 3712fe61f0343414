#include "image_bound.h"

#include <cmath>
#include <memory>

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

#include "command_trace.h"
#include "bitmap24.h"
#include "command_words.h"
#include "hex_dump.h"
#include "load_picture_file.h"
#include "picture_formats.h"
#include "prefence_edit.h"
#include "prompt_service.h"
#include "resampling_filters.h"
#include "string_list_ex.h"

namespace {

// Transparent parts of a picture show the picture area's background.
QImage OverBackground(const QImage& picture, const QColor& background) {
  if (!picture.hasAlphaChannel()) return Bitmap24::As24(picture);
  QImage canvas(picture.size(), QImage::Format_RGB32);
  canvas.fill(background);
  QPainter p(&canvas);
  p.drawImage(0, 0, picture);
  p.end();
  return canvas.convertToFormat(Bitmap24::Format);
}

constexpr qint64 kMaxRenderedPixels = 40'000'000;
constexpr qint64 kMaxCachedPixels = 16'000'000;
}  // namespace

TImageBound::TImageBound(QWidget* mainWindow) : TCustomBound(mainWindow, "TImageBound") {
  IncKindLevel();
  RecvMask = 0x41400000u;
  SendMask = 0;
  DumpTextColor = clWindowText;
  DumpBackColor = clWindow;
  FImageView = new QLabel(Panel());
  FImageView->setObjectName(QStringLiteral("ImageView"));
  FImageView->setAlignment(Qt::AlignCenter);
  FImageView->hide();
  Panel()->RouteMouse(FImageView);
  Panel()->OnDblClick = [this](QWidget*) { PrefenceOpen(Panel()); };
  PopupMenu()->addSeparator();
  for (int percent : {25, 50, 100, 200, 400}) AddMenuItem(QStringLiteral("%1%").arg(percent), TagZoomBase + percent);
  LocalizePopup();
}

TImageBound::~TImageBound() = default;

void TImageBound::SetParentControl(QWidget* parent) {
  TCustomBound::SetParentControl(parent);
  FImageView->setGeometry(Panel()->rect());
  FImageView->show();
  ShowFile(FFileName);
  Arrange();
}

void TImageBound::ShowFile(const QString& fileName) {
  FFileName = fileName;
  if (!QFileInfo(fileName).isFile()) {
    // A picture on a medium that is not mounted now comes back with it: the
    // record keeps the name.
    if (!fileName.isEmpty()) FMissingName = fileName;
    FFileName.clear();
    PictureWidth = PictureHeight = 0;
    FRendered = QImage();
    FImageView->clear();
    Panel()->SetCaption(QStringLiteral("IMAGE (%1x%2)").arg(FImageView->width()).arg(FImageView->height()));
    Panel()->SetBevelInner(TOverallPanel::TBevel::None);
    Panel()->SetBevelOuter(TOverallPanel::TBevel::Raised);
    return;
  }
  FMissingName.clear();
  try {
    // Decode once per file version; resizing only scales again.
    const QFileInfo fi(fileName);
    const QString stamp = fi.absoluteFilePath() + u'|' + QString::number(fi.size()) + u'|' +
                          QString::number(fi.lastModified().toMSecsSinceEpoch()) + u'|' +
                          QString::number(DumpBackColor);
    if (stamp != FSourceStamp) {
      FSourceStamp.clear();
      FSource = QImage();
      QImage picture;
      try {
        picture = PictureFormats::LoadPicture(fileName);
      } catch (const std::exception&) {
        picture = QImage();
      }
      if (!picture.isNull() && qint64(picture.width()) * picture.height() >= 1) {
        FSource = OverBackground(picture, ColorToQColor(DumpBackColor));
        FSourceStamp = stamp;
      }
    }
    if (FSource.isNull()) {
      ShowDump();
      return;
    }
    FreeDump();
    const QImage source = FSource;
    // Large photos are decoded again when needed rather than held by every object.
    if (qint64(FSource.width()) * FSource.height() > kMaxCachedPixels) {
      FSource = QImage();
      FSourceStamp.clear();
    }
    PictureWidth = source.width();
    PictureHeight = source.height();
    QSize fit = CalcFitSize(PictureWidth, PictureHeight, Panel()->width(), Panel()->height());
    // A zoomed panel can be far larger than any screen; the picture shown in
    // it is kept within kMaxRenderedPixels.
    const qint64 area = qint64(fit.width()) * fit.height();
    if (area > kMaxRenderedPixels) {
      const double shrink = std::sqrt(double(kMaxRenderedPixels) / double(area));
      fit = QSize(qMax(1, int(fit.width() * shrink)), qMax(1, int(fit.height() * shrink)));
    }
    QImage work;
    QImage dest = Bitmap24::New(qMax(1, fit.width()), qMax(1, fit.height()));
    std::unique_ptr<TCustomGraphicsFilter> filter;
    if (Fast)
      filter = std::make_unique<TNearest>(&work);
    else
      filter = std::make_unique<TComplement>(&work);
    if (!filter->Interpolate(&source, &dest)) throw EZelError(QStringLiteral("The picture could not be scaled."));
    FRendered = dest;
    FImageView->setPixmap(QPixmap::fromImage(dest));
    FImageView->setGeometry(Panel()->rect());
    FImageView->show();
    Panel()->SetBevelInner(TOverallPanel::TBevel::None);
    Panel()->SetBevelOuter(TOverallPanel::TBevel::None);
    Panel()->SetCaption(QString());
  } catch (const std::exception&) {
    ShowDump();
  }
}

void TImageBound::ShowDump() {
  try {
    if (!FDumpMemo) {
      FDumpMemo = new QPlainTextEdit(Panel());
      FDumpMemo->setObjectName(QStringLiteral("DumpMemo"));
      FDumpMemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
      FDumpMemo->setReadOnly(true);
      FDumpMemo->setFrameShape(QFrame::NoFrame);
      // A vertical scroll bar only: lines wider than the view wrap.
      FDumpMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
      FDumpMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      FDumpMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    FDumpMemo->setGeometry(4, 4, Panel()->width() - 8, Panel()->height() - 8);
    ApplyDumpColors();
    const int w = QFontMetrics(FDumpMemo->font()).horizontalAdvance(u'A');
    const int n = DumpBytesPerLine(FDumpMemo->width(), w);
    const QFileInfo fi(FFileName);
    QString text = HexDumpText(FFileName, n);
    text.prepend(QStringLiteral(">-DUMP (LESS THAN 1024 BYTES)-\r\n"));
    text.prepend(u'>' + fi.fileName() + QStringLiteral("\r\n"));
    text.prepend(u'>' + fi.absolutePath() + QStringLiteral("/\r\n"));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    FDumpMemo->setPlainText(text);
    FDumpMemo->show();
    FImageView->hide();
    FRendered = QImage();
  } catch (const std::exception&) {
    ShowMessage(QStringLiteral("Loading fail"));
  }
}

void TImageBound::FreeDump() {
  std::unique_ptr<QPlainTextEdit> dump(FDumpMemo.data());
}

void TImageBound::ApplyDumpColors() {
  if (!FDumpMemo) return;
  QPalette p = FDumpMemo->palette();
  p.setColor(QPalette::Base, ColorToQColor(DumpBackColor));
  p.setColor(QPalette::Text, ColorToQColor(DumpTextColor));
  FDumpMemo->setPalette(p);
}

void TImageBound::SetFile(const QString& fileName) {
  if (fileName != FFileName) ShowFile(fileName);
}

void TImageBound::SetFast(bool fast) {
  Fast = fast;
  ShowFile(FFileName);
  Arrange();
}

void TImageBound::SetDumpColors(TColor text, TColor back) {
  DumpTextColor = text;
  DumpBackColor = back;
  ApplyDumpColors();
  QPalette p = FImageView->palette();
  p.setColor(QPalette::Window, ColorToQColor(back));
  p.setColor(QPalette::WindowText, ColorToQColor(text));
  FImageView->setPalette(p);
  FImageView->setAutoFillBackground(true);
  if (!FFileName.isEmpty()) ShowFile(FFileName);
}

void TImageBound::MenuClick(QAction* sender) {
  TCustomBound::MenuClick(sender);
  const int tag = sender ? sender->data().toInt() : 0;
  if (FFileName.isEmpty() || tag <= TagZoomBase) return;
  const int percent = tag - TagZoomBase;
  int w = PictureWidth, h = PictureHeight;
  switch (percent) {
    case 25: w /= 4; h /= 4; break;
    case 50: w /= 2; h /= 2; break;
    case 100: break;
    case 200: w *= 2; h *= 2; break;
    case 400: w *= 4; h *= 4; break;
    default: return;
  }
  Panel()->resize(qBound(20, w, 32000), qBound(20, h, 32000));
  ShowFile(FFileName);
}

void TImageBound::Arrange() {
  TCustomBound::Arrange();
  if (ParentControl() && Panel()->isVisible()) {
    if (FDumpMemo) FDumpMemo->setGeometry(4, 4, Panel()->width() - 8, Panel()->height() - 8);
    FImageView->setGeometry(Panel()->rect());
    if (Panel()->width() != LastWidth || Panel()->height() != LastHeight) {
      LastWidth = Panel()->width();
      LastHeight = Panel()->height();
      ShowFile(FFileName);
    }
    // The dump keeps the colours it was given (the window colours at first).
    ApplyDumpColors();
    FImageView->update();
  }
  if (ParentControl() && !Panel()->isVisible()) Panel()->show();
}

QString TImageBound::GetRecord() {
  return ExtendRecord(TCustomBound::GetRecord(), QStringLiteral("Image"),
                      {ContractPath(FFileName.isEmpty() ? FMissingName : FFileName)});
}

void TImageBound::SetRecord(const QString& text) {
  TCustomBound::SetRecord(text);
  TStringListEx fields;
  fields.SetCommaText(text);
  FFileName = ExpandPath(RecordField(fields, 10));
  ShowFile(FFileName);
  Arrange();
}

void TImageBound::PrefenceOpen(QObject* sender) {
  TCustomBound::PrefenceOpen(sender);
  if (Prefence()->IsOpen()) Prefence()->AddItem(QStringLiteral("File"), QStringLiteral("PictureDialog"), FFileName);
}

void TImageBound::PrefenceChanged(QObject* sender) {
  SetFile(Prefence()->GetValue(QStringLiteral("File")));
  TCustomBound::PrefenceChanged(sender);
}

bool TImageBound::RecvCommand(TCustomBound* sender, uint32_t& word, const char* data, int size) {
  TCustomBound::RecvCommand(sender, word, data, size);
  if (!(word & MBDAT_TEXT) || (word & MBTAR_FILE) != MBTAR_FILE) return false;
  switch (word & 0xFFu) {
    case MBCMD_READ: SetFile(PayloadToText(data)); return true;
    case MBCMD_UPDATE:
      SetFile(PayloadToText(data));
      ShowFile(FFileName);
      return true;
    default: return false;
  }
}

void TImageBound::ReceiveDroppedFile(const QString& file, const TShellLink*) { SetFile(file); }
