#include <gtest/gtest.h>

#include "harness.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QRect>
#include <QThread>

TXvfb::TXvfb() {
  int fds[2];
  if (pipe(fds) != 0) return;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
           "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    return;
  }
  FPid = pid;
  char buf[32] = {};
  ssize_t n = 0, got;
  while (n < ssize_t(sizeof buf) - 1 && (got = read(fds[0], buf + n, sizeof buf - 1 - n)) > 0) {
    n += got;
    if (memchr(buf, '\n', size_t(n))) break;
  }
  close(fds[0]);
  const QByteArray number = QByteArray(buf, int(n)).trimmed();
  if (!number.isEmpty()) FDisplay = QStringLiteral(":") + QString::fromLatin1(number);
}

TXvfb::~TXvfb() {
  if (FPid > 0) {
    kill(pid_t(FPid), SIGTERM);
    int status;
    waitpid(pid_t(FPid), &status, 0);
  }
}

TE2eWorld::TE2eWorld() {
  for (const QString& f : {ProgramFolder(), Home(), Temp(), Runtime()}) QDir().mkpath(f);
  QFile::setPermissions(Runtime(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  QFile::copy(QStringLiteral(ZEL32_BINARY), ProgramFolder() + QStringLiteral("/zel32"));
  QDir().mkpath(QStringLiteral(E2E_OUTPUT_DIR));
}

TE2eWorld::~TE2eWorld() {
  for (QProcess* p : FProcesses) {
    if (p->state() != QProcess::NotRunning) {
      p->kill();
      p->waitForFinished(5000);
    }
    delete p;
  }
}

QProcessEnvironment TE2eWorld::Env() const {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("DISPLAY"), FX.Display());
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.insert(QStringLiteral("HOME"), Home());
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Runtime());
  env.insert(QStringLiteral("TMPDIR"), Temp());
  env.insert(QStringLiteral("ZEL32_AUTOMATION"), SocketName());
  for (const char* v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "WAYLAND_DISPLAY"})
    env.remove(QLatin1String(v));
  return env;
}

void TE2eWorld::WriteFile(const QString& relative, const QByteArray& content) const {
  const QString path = Root() + u'/' + relative;
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  f.open(QIODevice::WriteOnly | QIODevice::Truncate);
  f.write(content);
}

QByteArray TE2eWorld::ReadFile(const QString& relative) const {
  QFile f(Root() + u'/' + relative);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QProcess* TE2eWorld::Start() {
  auto* p = new QProcess;
  p->setProcessEnvironment(Env());
  p->setWorkingDirectory(Root());
  p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  p->start(ProgramFolder() + QStringLiteral("/zel32"), {});
  p->waitForStarted(10000);
  FProcesses.append(p);
  return p;
}

QString TE2eWorld::StartPlaced(int width, int height, const QByteArray& moreSettings, QProcess** process) {
  WriteFile(QStringLiteral("program/zel32.ini"),
            "[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\n" + moreSettings + "Left=0\r\nTop=0\r\nWidth=" +
                QByteArray::number(width) + "\r\nHeight=" + QByteArray::number(height) + "\r\n[Project]\r\n");
  QProcess* p = Start();
  if (process) *process = p;
  return WaitForWindows(QStringLiteral("^Deskloom$")).value(0);
}

QString TE2eWorld::Run(const QString& program, const QStringList& args, int timeoutMs, int* exitCode) const {
  QProcess p;
  p.setProcessEnvironment(Env());
  p.start(program, args);
  if (!p.waitForFinished(timeoutMs)) {
    p.kill();
    p.waitForFinished();
  }
  if (exitCode) *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  return QString::fromUtf8(p.readAllStandardOutput());
}

QString TE2eWorld::Xdotool(const QStringList& args, int* exitCode) const {
  return Run(QStringLiteral("xdotool"), args, 20000, exitCode);
}

QStringList TE2eWorld::Windows(const QString& titlePattern) const {
  return Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), titlePattern})
      .split(u'\n', Qt::SkipEmptyParts);
}

QStringList TE2eWorld::WaitForWindows(const QString& titlePattern, int timeoutMs) const {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < timeoutMs) {
    const QStringList w = Windows(titlePattern);
    if (!w.isEmpty()) return w;
    QThread::msleep(100);
  }
  return {};
}

void TE2eWorld::Keys(const QString& window, const QStringList& keys) const {
  Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
  for (const QString& k : keys) {
    Xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), k});
    QThread::msleep(250);
  }
}

QString TE2eWorld::Screenshot(const QString& name, const QString& window) const {
  const QString path = QStringLiteral(E2E_OUTPUT_DIR) + u'/' + name + QStringLiteral(".png");
  QStringList args{path};
  if (!window.isEmpty()) args << window;
  Run(QStringLiteral(E2E_SCREENSHOT), args);
  return path;
}

bool TE2eWorld::WaitExit(QProcess* p, int timeoutMs) {
  return p->state() == QProcess::NotRunning || p->waitForFinished(timeoutMs);
}

QString TE2eWorld::Ask(const QString& command) const {
  QLocalSocket socket;
  for (int attempt = 0; attempt < 100; ++attempt) {
    socket.connectToServer(SocketName());
    if (socket.waitForConnected(200)) break;
    QThread::msleep(100);
  }
  if (socket.state() != QLocalSocket::ConnectedState) return QStringLiteral("no connection");
  socket.write(command.toUtf8() + "\n");
  socket.flush();
  QByteArray reply;
  QElapsedTimer t;
  t.start();
  while (!reply.endsWith("\n.\n") && t.elapsed() < 20000) {
    if (socket.waitForReadyRead(200)) reply += socket.readAll();
  }
  reply.chop(3);
  return QString::fromUtf8(reply);
}

QRect TE2eWorld::Geometry(const QString& name) const {
  const QStringList n = Ask(QStringLiteral("geometry ") + name).split(u' ');
  if (n.size() != 4) return {};
  return QRect(n[0].toInt(), n[1].toInt(), n[2].toInt(), n[3].toInt());
}

void TE2eWorld::ClickAt(QPoint p, int repeat) const {
  Xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
  QThread::msleep(100);
  Xdotool({QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(repeat), QStringLiteral("--delay"),
           QStringLiteral("80"), QStringLiteral("1")});
  QThread::msleep(250);
}

void TE2eWorld::Click(const QString& name, int repeat) const {
  const QRect r = Geometry(name);
  EXPECT_TRUE(r.isValid()) << "nothing named " << name.toStdString();
  if (r.isValid()) ClickAt(r.center(), repeat);
}

void TE2eWorld::DragMouse(QPoint from, QPoint to) const {
  Xdotool({QStringLiteral("mousemove"), QString::number(from.x()), QString::number(from.y())});
  QThread::msleep(100);
  Xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
  QThread::msleep(100);
  for (int i = 1; i <= 5; ++i) {
    const QPoint p = from + (to - from) * i / 5;
    Xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
    QThread::msleep(60);
  }
  Xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
  QThread::msleep(250);
}

void TE2eWorld::TypeText(const QString& text) const {
  Xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
  QThread::msleep(200);
}

void TE2eWorld::ChooseMenu(const QString& menu, const QString& item) const {
  Click(menu);
  QElapsedTimer t;
  t.start();
  QRect r;
  while (!(r = Geometry(item)).isValid() && t.elapsed() < 5000) QThread::msleep(100);
  EXPECT_TRUE(r.isValid()) << "no menu item " << item.toStdString();
  if (r.isValid()) ClickAt(r.center());
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
  QElapsedTimer t;
  t.start();
  while (!condition()) {
    if (t.elapsed() > timeoutMs) return false;
    QThread::msleep(100);
  }
  return true;
}

QList<TE2eObject> TE2eWorld::Objects() const {
  QList<TE2eObject> out;
  for (const QString& line : Ask(QStringLiteral("objects")).split(u'\n', Qt::SkipEmptyParts)) {
    const QStringList f = line.split(u' ');
    if (f.size() == 6) out.append({f[0], f[1], QRect(f[2].toInt(), f[3].toInt(), f[4].toInt(), f[5].toInt())});
  }
  return out;
}

QString TE2eWorld::RecordField(const QString& id, int i) const {
  return Ask(QStringLiteral("record ") + id).section(u',', i, i);
}
