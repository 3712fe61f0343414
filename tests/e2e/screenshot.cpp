// Saves a picture of the whole X screen (or one window) as PNG:
//   e2e_screenshot OUTPUT.png [WINDOW-ID]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "xcb");
  QGuiApplication app(argc, argv);
  if (argc < 2) return 2;
  const WId window = argc > 2 ? WId(QByteArray(argv[2]).toULongLong(nullptr, 0)) : 0;
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(window);
  return !shot.isNull() && shot.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
