#include "automation.h"

#include <sys/stat.h>

#include <QFile>

#include <QAction>
#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "bound_relater.h"
#include "custom_bound.h"
#include "debug_bound.h"
#include "label_bound.h"
#include "memo_pad_bound.h"
#include "prefence_edit.h"
#include "project_manager.h"

namespace {

QString Rect(const QRect& r) {
  return QStringLiteral("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString GlobalRect(const QWidget* w, const QRect& local) {
  return Rect(QRect(w->mapToGlobal(local.topLeft()), local.size()));
}

}  // namespace

void TAutomation::StartIfRequested(TProjectManager* window) {
  const QString name = qEnvironmentVariable("ZEL32_AUTOMATION");
  if (!name.isEmpty()) new TAutomation(window, name);
}

TAutomation::TAutomation(TProjectManager* window, const QString& socketName)
    : QObject(window), FWindow(window), FServer(new QLocalServer(this)) {
  // Clear a socket left by an earlier run, but never anything else.
  struct stat st;
  if (::lstat(QFile::encodeName(socketName).constData(), &st) == 0 && S_ISSOCK(st.st_mode))
    QLocalServer::removeServer(socketName);
  FServer->listen(socketName);
  connect(FServer, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* s = FServer->nextPendingConnection()) Serve(s);
  });
}

void TAutomation::Serve(QLocalSocket* socket) {
  connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
    while (socket->canReadLine()) {
      const QString line = QString::fromUtf8(socket->readLine()).trimmed();
      QString reply = Answer(line);
      reply.replace(QLatin1String("\r\n"), QLatin1String("\n"));
      socket->write(reply.toUtf8() + "\n.\n");
      socket->flush();
    }
  });
}

QString TAutomation::Answer(const QString& line) {
  const QString command = line.section(u' ', 0, 0);
  const QString arg = line.section(u' ', 1, 1);
  TCustomBound* object = nullptr;
  for (TCustomBound* o : FWindow->Objects()->Items())
    if (o->ID == arg) object = o;

  if (command == QLatin1String("objects")) {
    QStringList out;
    for (TCustomBound* o : FWindow->Objects()->Items())
      out << o->Kind + u' ' + o->ID + u' ' + GlobalRect(o->Panel(), o->Panel()->rect());
    return out.join(u'\n');
  }
  if (command == QLatin1String("geometry")) {
    // Menu bar items, items of an open menu, then any visible widget.
    for (QAction* a : FWindow->menuBar()->actions())
      if (a->objectName() == arg) return GlobalRect(FWindow->menuBar(), FWindow->menuBar()->actionGeometry(a));
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* menu = qobject_cast<QMenu*>(top);
      if (!menu || !menu->isVisible()) continue;
      for (QAction* a : menu->actions())
        if (a->objectName() == arg) return GlobalRect(menu, menu->actionGeometry(a));
    }
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (!top->isVisible()) continue;
      if (top->objectName() == arg) return GlobalRect(top, top->rect());
      for (QWidget* w : top->findChildren<QWidget*>(arg))
        if (w->isVisible()) return GlobalRect(w, w->rect());
    }
    return QStringLiteral("none");
  }
  if (command == QLatin1String("title")) return FWindow->windowTitle();
  if (command == QLatin1String("status")) return FWindow->StatusText(1) + u'|' + FWindow->StatusText(2);
  if (!object) return QStringLiteral("none");
  if (command == QLatin1String("record")) return object->GetRecord();
  if (command == QLatin1String("prefs")) return object->Prefence()->Items.Text();
  if (command == QLatin1String("text")) {
    if (auto* l = qobject_cast<TLabelBound*>(object)) return l->Caption();
    if (auto* m = qobject_cast<TMemoPadBound*>(object)) return m->MemoPad()->Editor()->toPlainText();
    if (auto* d = qobject_cast<TDebugBound*>(object)) return d->TraceView()->toPlainText();
    return object->Panel()->Caption();
  }
  if (command == QLatin1String("send")) {
    // send ID WORD TEXT: the object sends WORD (hexadecimal) with TEXT.
    bool ok = false;
    const uint32_t word = line.section(u' ', 2, 2).toUInt(&ok, 16);
    if (!ok) return QStringLiteral("bad word");
    const QString text = line.section(u' ', 3);
    TScopedPayload payload(text);
    return object->SendCommand(word, payload.Data(), payload.Size()) ? QStringLiteral("true") : QStringLiteral("false");
  }
  return QStringLiteral("unknown");
}
