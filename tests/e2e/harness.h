#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

#include <QList>
#include <QRect>

// An object on the project window as the program reports it.
struct TE2eObject {
  QString Kind, ID;
  QRect Rect;  // global coordinates of its panel
};

// Polls until the condition holds or timeoutMs have gone by.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 10000);

// A private X server for one test.
class TXvfb {
public:
  TXvfb();
  ~TXvfb();
  bool Ok() const { return FPid > 0 && !FDisplay.isEmpty(); }
  QString Display() const { return FDisplay; }

private:
  qint64 FPid = -1;
  QString FDisplay;
};

// A program folder with its own copy of zel32, a home, a runtime folder and a
// temporary folder, and the means to run the program and drive it.
class TE2eWorld {
public:
  TE2eWorld();
  ~TE2eWorld();

  const TXvfb& X() const { return FX; }
  QString Root() const { return FDir.path(); }
  QString ProgramFolder() const { return Root() + QStringLiteral("/program"); }
  QString Home() const { return Root() + QStringLiteral("/home"); }
  QString Temp() const { return Root() + QStringLiteral("/tmp"); }
  QString Runtime() const { return Root() + QStringLiteral("/run"); }
  QProcessEnvironment Env() const;

  void WriteFile(const QString& relative, const QByteArray& content) const;
  QByteArray ReadFile(const QString& relative) const;

  // Starts zel32 from the program folder. The process belongs to the world.
  QProcess* Start();
  // Writes a data file whose settings place the window at 0,0 in the given
  // size (plus any further setting lines), starts zel32 and waits for its
  // window; the window's id, empty when none came.
  QString StartPlaced(int width, int height, const QByteArray& moreSettings = {}, QProcess** process = nullptr);
  // Runs a helper command on the test's display; its standard output.
  QString Run(const QString& program, const QStringList& args, int timeoutMs = 20000, int* exitCode = nullptr) const;
  QString Xdotool(const QStringList& args, int* exitCode = nullptr) const;
  // The visible top-level windows whose title matches the pattern.
  QStringList WaitForWindows(const QString& titlePattern, int timeoutMs = 20000) const;
  QStringList Windows(const QString& titlePattern) const;
  // Focuses a window and types keys (xdotool key names).
  void Keys(const QString& window, const QStringList& keys) const;
  // Saves a screenshot in the e2e output folder and returns its path.
  QString Screenshot(const QString& name, const QString& window = QString()) const;
  // Asks the running program (its test control channel) and returns the answer.
  QString Ask(const QString& command) const;
  // The objects of the open project, in list order.
  QList<TE2eObject> Objects() const;
  // Field i of an object's record (records here hold no quoted fields before it).
  QString RecordField(const QString& id, int i) const;
  // The global rectangle of a named menu item, widget or object panel.
  QRect Geometry(const QString& name) const;
  // Clicks (button 1) at a global point, or the centre of a named thing.
  void ClickAt(QPoint p, int repeat = 1) const;
  void Click(const QString& name, int repeat = 1) const;
  // Presses at one point, moves in steps and releases at another.
  void DragMouse(QPoint from, QPoint to) const;
  void TypeText(const QString& text) const;
  // Chooses a main-menu item with the mouse: opens the menu, clicks the item.
  void ChooseMenu(const QString& menu, const QString& item) const;
  QString SocketName() const { return Root() + QStringLiteral("/automation.sock"); }

  // Waits for a started process to end; false on timeout.
  static bool WaitExit(QProcess* p, int timeoutMs = 20000);

private:
  QTemporaryDir FDir;
  TXvfb FX;
  QList<QProcess*> FProcesses;
};
