// zel-pipeline INPUT OUTPUT [--pipeline TEXT] [--size WxH]
//
// Loads a picture as the viewer does (plug-ins from the program folder),
// runs a filter pipeline into a destination of the given size and writes
// the result as a 24-bit BMP or PNG. Prints the pipeline's validation and
// what each filter cost.
#include <cstdio>
#include <exception>

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageWriter>
#include <QStringList>

#include "bitmap24.h"
#include "environment.h"
#include "graphics_filters.h"
#include "load_picture_file.h"
#include "picture_loader.h"

namespace {

constexpr int BadUsage = 2;
constexpr int Failed = 1;

int Fail(int code, const QString& message) {
  std::fprintf(stderr, "zel-pipeline: %s\n", qPrintable(message));
  return code;
}

const char* Usage =
    "usage: zel-pipeline INPUT OUTPUT [--pipeline TEXT] [--size WxH]\n"
    "  INPUT     any picture the program reads (plug-in formats included)\n"
    "  OUTPUT    the result, written as a 24-bit .bmp or .png\n"
    "  --pipeline TEXT  filter steps as comma text, e.g. \"SoftFilter,Contrast,Level=20,Complement\"\n"
    "                   (default: Complement)\n"
    "  --size WxH       the destination size (default: the picture's size)\n";

bool ParseSize(const QString& text, QSize& size) {
  const QStringList parts = text.toLower().split(u'x');
  if (parts.size() != 2) return false;
  bool okW = false, okH = false;
  const int w = parts[0].toInt(&okW), h = parts[1].toInt(&okH);
  if (!okW || !okH) return false;
  size = QSize(w, h);
  return true;
}

// Every entry must name a filter, or be a Name=Value parameter after one.
QString CheckPipeline(const TGraphicsFilters& filters) {
  bool afterFilter = false;
  for (const QString& entry : filters.Pipeline().Lines()) {
    if (filters.FindFilter(entry)) {
      afterFilter = true;
    } else if (!entry.contains(u'=') || !afterFilter) {
      QStringList names;
      for (int i = 0; i < filters.FilterCount(); ++i) names.append(filters.GetFilter(i)->Keyword());
      return QStringLiteral("\"%1\" in the pipeline is neither a filter nor a Name=Value parameter after one "
                            "(filters: %2)")
          .arg(entry, names.join(QStringLiteral(", ")));
    }
  }
  return {};
}

int Run(const QStringList& args) {
  QString input, output, pipeline = QStringLiteral("Complement"), sizeText;
  QStringList positional;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
      std::fputs(Usage, stdout);
      return 0;
    }
    if (a == QLatin1String("--pipeline") || a == QLatin1String("--size")) {
      if (i + 1 >= args.size()) return Fail(BadUsage, a + QStringLiteral(" needs a value\n") + QString::fromLatin1(Usage));
      (a == QLatin1String("--pipeline") ? pipeline : sizeText) = args[++i];
    } else if (a.startsWith(QLatin1String("--"))) {
      return Fail(BadUsage, QStringLiteral("unknown option %1\n").arg(a) + QString::fromLatin1(Usage));
    } else {
      positional.append(a);
    }
  }
  if (positional.size() != 2) return Fail(BadUsage, QStringLiteral("need INPUT and OUTPUT\n") + QString::fromLatin1(Usage));
  input = positional[0];
  output = positional[1];

  const QString outExt = QFileInfo(output).suffix().toLower();
  if (outExt != QLatin1String("bmp") && outExt != QLatin1String("png"))
    return Fail(BadUsage, QStringLiteral("OUTPUT must end in .bmp or .png: %1").arg(output));
  QSize size;
  if (!sizeText.isEmpty()) {
    if (!ParseSize(sizeText, size)) return Fail(BadUsage, QStringLiteral("--size must be WxH, e.g. 1920x1080: %1").arg(sizeText));
    if (size.width() < 1 || size.height() < 1)
      return Fail(BadUsage, QStringLiteral("--size must be at least 1x1: %1").arg(sizeText));
    if (!Bitmap24::SizeAllowed(size.width(), size.height()))
      return Fail(BadUsage, QStringLiteral("--size %1 is larger than a picture may be (%2 MB)")
                                .arg(sizeText).arg(Bitmap24::AllocationLimitMB));
  }

  TGraphicsFilters filters;
  filters.SetPipelineText(pipeline);
  if (const QString why = CheckPipeline(filters); !why.isEmpty()) return Fail(BadUsage, why);

  const QFileInfo in(input);
  if (!in.exists()) return Fail(Failed, QStringLiteral("%1: no such file").arg(input));
  if (!in.isFile()) return Fail(Failed, QStringLiteral("%1: not a file").arg(input));

  TPictureLoader loader;
  loader.SetPluginDir(Environment::ProgramFolder());
  bool unreadable = false;
  const QImage source = LoadPictureFile(input, [&](QImage&, const QString&) { unreadable = true; });
  if (unreadable || source.isNull())
    return Fail(Failed, QStringLiteral("%1: not a picture this program can read (or too large)").arg(input));
  if (!size.isValid()) size = source.size();

  QImage dest = Bitmap24::New(size.width(), size.height());
  QString message;
  filters.Validate(message);
  std::printf("Validation: %s\n", qPrintable(message));
  try {
    filters.Apply(source, dest);
  } catch (const std::exception& e) {
    return Fail(Failed, QStringLiteral("the pipeline failed: %1").arg(QString::fromUtf8(e.what())));
  }
  std::printf("Pipeline: %s\n", qPrintable(filters.PipelineText()));
  for (const QString& entry : filters.Pipeline().Lines())
    if (const TCustomGraphicsFilter* f = filters.FindFilter(entry))
      std::printf("  %-18s %-22s %dms.\n", qPrintable(f->Keyword()), qPrintable(f->GetParamText()), f->Cost());
  std::printf("Picture: %dx%d -> %dx%d\n", source.width(), source.height(), dest.width(), dest.height());

  QImageWriter writer(output, outExt.toLatin1());
  if (!writer.write(dest)) return Fail(Failed, QStringLiteral("cannot write %1: %2").arg(output, writer.errorString()));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  Environment::SetProgramFolder(QCoreApplication::applicationDirPath());
  try {
    return Run(app.arguments().mid(1));
  } catch (const std::exception& e) {
    return Fail(Failed, QString::fromUtf8(e.what()));
  }
}
