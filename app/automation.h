#pragma once

#include <QObject>

class QLocalServer;
class QLocalSocket;
class TProjectManager;

// A test-only control channel. When the environment names a socket in
// ZEL32_AUTOMATION, the program answers simple line commands on it, so that
// end-to-end tests can find what to click and read what the objects show.
// Without that variable nothing listens.
class TAutomation : public QObject {
  Q_OBJECT
public:
  static void StartIfRequested(TProjectManager* window);

private:
  TAutomation(TProjectManager* window, const QString& socketName);
  void Serve(QLocalSocket* socket);
  QString Answer(const QString& line);

  TProjectManager* FWindow;
  QLocalServer* FServer;
};
