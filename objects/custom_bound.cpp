#include "custom_bound.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QRandomGenerator>

#include "bound_keeper.h"
#include "bound_relater.h"
#include "colors.h"
#include "command_trace.h"
#include "command_words.h"
#include "errors.h"
#include "localize.h"
#include "paths.h"
#include "prefence_edit.h"
#include "prompt_service.h"
#include "string_list_ex.h"

namespace {

// Records come from files people edit; keep what they say within bounds a
// window system can show.
constexpr int kMaxCoordinate = 32000;

QString KindFromClassName(QString name) {
  name.remove(0, 1);
  if (name.endsWith(QLatin1String("Bound"))) name.chop(5);
  return name;
}

int FieldInt(const TStringListEx& fields, int i) {
  if (i >= fields.Count()) throw EConvertError(QStringLiteral("The record has no field %1").arg(i));
  qint32 v;
  if (!TryStrToInt(fields.Get(i), v))
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(fields.Get(i)));
  return v;
}

QString Field(const TStringListEx& fields, int i) {
  if (i >= fields.Count()) throw EConvertError(QStringLiteral("The record has no field %1").arg(i));
  return fields.Get(i);
}

}  // namespace

QString TCustomBound::ExtendRecord(const QString& baseRecord, const QString& keyword, const QStringList& extra) {
  TStringListEx fields;
  fields.SetCommaText(baseRecord);
  if (fields.Count() > 0) fields.Put(0, keyword);
  for (const QString& f : extra) fields.Add(f);
  return fields.CommaText();
}

QString TCustomBound::RecordField(const TStringListEx& fields, int i) { return Field(fields, i); }

QStringList& UsedIDs() {
  static QStringList ids;
  return ids;
}

QString NewObjectID() {
  QString id;
  do {
    const int n = int(QRandomGenerator::global()->bounded(32767));
    id = QStringLiteral("C%1").arg(n, 5, 10, QLatin1Char('0'));
  } while (UsedIDs().contains(id));
  return id;
}

void RegisterUsedIDs(const TBoundRelater& objects) {
  for (int i = 0; i < objects.Count(); ++i)
    if (!UsedIDs().contains(objects.Item(i)->ID)) UsedIDs().append(objects.Item(i)->ID);
}

TCustomBound::TCustomBound(QWidget* mainWindow, const char* className) {
  RecvMask = 0;
  SendMask = 0;
  GridSize = 4;
  FKeeper = std::make_unique<TBoundKeeper>(this);
  ID = NewObjectID();
  Kind = KindFromClassName(QLatin1String(className));

  FPanel = new TOverallPanel;
  FPanel->setObjectName(ID);
  FPanel->resize(200, 200);
  FPopupMenu = new QMenu(mainWindow);
  AddMenuItem(QStringLiteral("Top"), TagTop);
  AddMenuItem(QStringLiteral("Bottom"), TagBottom);
  FPopupMenu->addSeparator();
  QAction* edit = FPopupMenu->addAction(QStringLiteral("Edit"));
  edit->setData(TagEdit);
  connect(edit, &QAction::triggered, this, [this, edit] { PrefenceOpen(edit); });
  FPanel->SetPopupMenu(FPopupMenu);

  FPanel->move(int(QRandomGenerator::global()->bounded(50)), int(QRandomGenerator::global()->bounded(50)));

  FPrefence = std::make_unique<TPrefenceEdit>(this, FPanel);
  FPrefence->OnChange = [this](TPrefenceEdit*) { PrefenceChanged(nullptr); };
  StoreReferenceBounds(true);
}

TCustomBound::~TCustomBound() {
  FPrefence.reset();
  std::unique_ptr<QMenu> menu(FPopupMenu.data());
  menu.reset();
  std::unique_ptr<TOverallPanel> panel(FPanel.data());
  panel.reset();
  FKeeper.reset();
}

QAction* TCustomBound::AddMenuItem(const QString& caption, int tag) {
  QAction* a = FPopupMenu->addAction(caption);
  a->setData(tag);
  connect(a, &QAction::triggered, this, [this, a] { MenuClick(a); });
  return a;
}

void TCustomBound::LocalizePopup() {
  if (GlobalLocalize()) GlobalLocalize()->LocalizeMenu(FPopupMenu);
}

void TCustomBound::DestroyPrefence() { FPrefence->Close(); }

void TCustomBound::SetParentControl(QWidget* parent) {
  if (FParentControl) FParentControl->removeEventFilter(this);
  FParentControl = parent;
  FPanel->hide();
  FPanel->resize(200, 200);
  FPanel->setParent(parent);
  FPanel->OnMouseDown = [this](QWidget* s, QMouseEvent* e) { PanelMouseDown(s, e); };
  FPanel->OnMouseMove = [this](QWidget* s, QMouseEvent* e) { PanelMouseMove(s, e); };
  FPanel->OnMouseUp = [this](QWidget* s, QMouseEvent* e) { PanelMouseUp(s, e); };
  FPanel->OnClosePrefence = [this](TOverallPanel*) { DestroyPrefence(); };
  // The panel takes its colour and font from its parent.
  FPanel->setPalette(QPalette());
  FPanel->setFont(QFont());
  if (parent) {
    FLastParentSize = parent->size();
    parent->installEventFilter(this);
  }
  if (KindLevel == 0) Arrange();
}

bool TCustomBound::eventFilter(QObject* watched, QEvent* e) {
  if (watched == FParentControl && e->type() == QEvent::Resize) ApplyParentAnchors();
  return QObject::eventFilter(watched, e);
}

// Edges anchored to the parent's right and bottom follow it when it resizes.
void TCustomBound::ApplyParentAnchors() {
  const QSize now = FParentControl->size();
  const int dw = now.width() - FLastParentSize.width(), dh = now.height() - FLastParentSize.height();
  FLastParentSize = now;
  if (!FPanel || !FollowAnchors || (dw == 0 && dh == 0)) return;
  QRect r = FPanel->geometry();
  if (AnchorRight) {
    if (AnchorLeft)
      r.setWidth(qMax(20, r.width() + dw));
    else
      r.moveLeft(qMax(0, r.left() + dw));
  }
  if (AnchorBottom) {
    if (AnchorTop)
      r.setHeight(qMax(20, r.height() + dh));
    else
      r.moveTop(qMax(0, r.top() + dh));
  }
  if (r != FPanel->geometry()) {
    FPanel->setGeometry(r);
    Arrange();
  }
}

QString TCustomBound::AnchorText() const {
  QString s;
  for (bool a : {AnchorLeft, AnchorTop, AnchorRight, AnchorBottom}) s += a ? u'1' : u'0';
  return s;
}

QString TCustomBound::GetRecord() {
  TStringListEx fields;
  fields.Add(QStringLiteral("Custom"));
  fields.Add(ID);
  fields.Add(QString::number(FPanel->x()));
  fields.Add(QString::number(FPanel->y()));
  fields.Add(QString::number(FPanel->width()));
  fields.Add(QString::number(FPanel->height()));
  fields.Add(FKeeper->GetRelationText());
  fields.Add(AnchorText());
  while (fields.Count() < 10) fields.Add(QStringLiteral("-"));
  return fields.CommaText();
}

void TCustomBound::SetRecord(const QString& text) {
  TStringListEx fields;
  fields.SetCommaText(text);
  if (fields.Count() == 0) return;
  ID = Field(fields, 1);
  FPanel->setObjectName(ID);
  FPanel->move(qBound(0, FieldInt(fields, 2), kMaxCoordinate), FPanel->y());
  FPanel->move(FPanel->x(), qBound(0, FieldInt(fields, 3), kMaxCoordinate));
  FPanel->resize(qBound(20, FieldInt(fields, 4), kMaxCoordinate), FPanel->height());
  FPanel->resize(FPanel->width(), qBound(20, FieldInt(fields, 5), kMaxCoordinate));
  FKeeper->SetRelationText(Field(fields, 6));
  const QString anchors = Field(fields, 7);
  if (anchors.size() < 4) {
    AnchorLeft = AnchorTop = true;
    AnchorRight = AnchorBottom = false;
  } else {
    AnchorLeft = anchors[0] == u'1';
    AnchorTop = anchors[1] == u'1';
    AnchorRight = anchors[2] == u'1';
    AnchorBottom = anchors[3] == u'1';
  }
  Arrange();
  StoreReferenceBounds(true);
}

uint8_t TCustomBound::DragZone(int x, int y) const {
  const int w = FPanel->width(), h = FPanel->height();
  const bool left = 0 < x && x < 10, right = w - 10 < x && x < w;
  const bool top = 0 < y && y < 10, bottom = h - 10 < y && y < h;
  if (left && top) return 2;
  if (left && bottom) return 3;
  if (right && top) return 4;
  if (right && bottom) return 5;
  return 1;
}

void TCustomBound::PanelMouseDown(QWidget* sender, QMouseEvent* e) {
  if (Locked) return;
  FPanel->SetPopupMenu(FPopupMenu);
  if (e->buttons() & Qt::LeftButton) {
    Select();
    const QPoint p = e->position().toPoint();
    DragMode = DragZone(p.x(), p.y());
    LastCursor = e->globalPosition().toPoint();
  } else {
    DragMode = 0;
  }
}

void TCustomBound::PanelMouseMove(QWidget* sender, QMouseEvent* e) {
  if (Locked) return;
  if (!(e->buttons() & Qt::LeftButton)) DragMode = 0;
  if (Dynamic) {
    const QPoint p = e->position().toPoint();
    switch (DragZone(p.x(), p.y())) {
      case 2:
      case 5: FPanel->setCursor(Qt::SizeFDiagCursor); break;
      case 3:
      case 4: FPanel->setCursor(Qt::SizeBDiagCursor); break;
      default: FPanel->setCursor(Qt::SizeAllCursor); break;
    }
  }
  if (DragMode == 0) return;
  const QPoint now = e->globalPosition().toPoint();
  const int dx = now.x() - LastCursor.x(), dy = now.y() - LastCursor.y();
  int l = FPanel->x(), t = FPanel->y(), w = FPanel->width(), h = FPanel->height();
  switch (DragMode) {
    case 1: l += dx; t += dy; break;
    case 2: l += dx; t += dy; w -= dx; h -= dy; break;
    case 3: l += dx; w -= dx; h += dy; break;
    case 4: t += dy; w += dx; h -= dy; break;
    case 5: w += dx; h += dy; break;
    default: break;
  }
  FPanel->setGeometry(qMax(0, l), qMax(0, t), qMax(20, w), qMax(20, h));
  LastCursor = now;
}

void TCustomBound::PanelMouseUp(QWidget* sender, QMouseEvent* e) {
  if (DragMode != 0) {
    if (FitToGrid) SnapToGrid();
    Arrange();
  }
  DragMode = 0;
}

void TCustomBound::Select() {
  if (OnSelect) OnSelect(this);
  QPalette p = FPanel->palette();
  p.setColor(QPalette::Window, ColorToQColor(clBtnShadow));
  FPanel->setPalette(p);
}

void TCustomBound::SnapToGrid() {
  const int g = GridSize;
  auto snap = [g](int v) {
    if (g <= 0) return v;
    const int r = v % g;
    if (r == 0) return v;
    return r <= g / 2 ? v - r : v + g - r;
  };
  const int l = snap(FPanel->x()) + GridLineWidth, t = snap(FPanel->y()) + GridLineWidth;
  const int w = snap(FPanel->width()) - GridLineWidth, h = snap(FPanel->height()) - GridLineWidth;
  FPanel->setGeometry(l, t, w, h);
  Arrange();
}

void TCustomBound::SetDynamic(bool b) {
  Dynamic = b;
  if (!b) FPanel->unsetCursor();
}

void TCustomBound::StoreReferenceBounds(bool force) {
  if (!force && ReferenceValid) return;
  ReferenceLeft = FPanel->x();
  ReferenceTop = FPanel->y();
  ReferenceWidth = FPanel->width();
  ReferenceHeight = FPanel->height();
  ReferenceValid = true;
}

void TCustomBound::SetFitToGrid(bool b) {
  FitToGrid = b;
  if (b) SnapToGrid();
}

void TCustomBound::SetGridSize(int n) {
  GridSize = n;
  if (FitToGrid) SnapToGrid();
}

void TCustomBound::SetGridLineWidth(int n) {
  GridLineWidth = n;
  if (FitToGrid) SnapToGrid();
}

void TCustomBound::SetBevels(bool b) {
  Bevels = b;
  FPanel->SetBevelInner(TOverallPanel::TBevel::None);
  FPanel->SetBevelOuter(b ? TOverallPanel::TBevel::Raised : TOverallPanel::TBevel::None);
}

void TCustomBound::ResolveRelations() { FKeeper->ResolveRelations(); }

bool TCustomBound::CanRelate(const TCustomBound* target) const { return ::CanRelate(this, target); }

void TCustomBound::MenuClick(QAction* sender) {
  const int tag = sender ? sender->data().toInt() : 0;
  if (tag == TagTop) {
    FPanel->BringToTop();
    if (OnTop) OnTop(this);
  } else if (tag == TagBottom) {
    FPanel->SendToBottom();
    if (OnBottom) OnBottom(this);
  }
}

void TCustomBound::PrefenceOpen(QObject* sender) {
  if (FPrefence->IsOpen()) {
    PrefenceClose();
    return;
  }
  auto* relation = qobject_cast<QComboBox*>(
      FPrefence->AddItem(QStringLiteral("Relation"), QStringLiteral("ComboBox"), FKeeper->GetRelationText()));
  if (relation) {
    const QSignalBlocker block(relation);
    const QString text = relation->currentText();
    relation->addItems(SplitCommaText(FKeeper->GetCandidateText()));
    relation->setEditText(text);
  }
  if (Expert) {
    const std::pair<const char*, bool> anchors[] = {
        {"AnchorLeft", AnchorLeft}, {"AnchorTop", AnchorTop}, {"AnchorRight", AnchorRight}, {"AnchorBottom", AnchorBottom}};
    for (const auto& [name, on] : anchors)
      FPrefence->AddItem(QLatin1String(name), QStringLiteral("CheckBox"), TrueFalseWord(on));
  }
}

void TCustomBound::PrefenceChanged(QObject* sender) {
  FKeeper->SetRelationText(FPrefence->GetValue(QStringLiteral("Relation")));
  if (Expert) {
    auto read = [this](const char* name, bool& anchor) {
      const QString v = FPrefence->GetValue(QLatin1String(name));
      if (!v.isEmpty()) anchor = v.toLower() == QLatin1String("true");
    };
    read("AnchorLeft", AnchorLeft);
    read("AnchorTop", AnchorTop);
    read("AnchorRight", AnchorRight);
    read("AnchorBottom", AnchorBottom);
  }
  ResolveRelations();
}

void TCustomBound::PrefenceClose() {
  FPrefence->MarkClosing();
  FPanel->PostClosePrefence();
}

void TCustomBound::Arrange() {
  if (!FParentControl) return;
  FPanel->show();
  if (FPanel->width() < 20 || FPanel->height() < 20)
    FPanel->resize(qMax(20, FPanel->width()), qMax(20, FPanel->height()));
}

bool TCustomBound::SendCommand(uint32_t word, const char* data, int size) {
  bool accepted = false;
  // Relations may change while receivers run; deliver to the targets as they were.
  QList<QPointer<TCustomBound>> targets;
  for (int i = 0; i < FKeeper->TargetCount(); ++i) targets.append(FKeeper->Target(i));
  for (const QPointer<TCustomBound>& target : targets) {
    TraceCommand(Kind, ID, QStringLiteral("SEND"), CommandText(word));
    uint32_t w = word;
    try {
      if (!accepted && target) accepted = target->RecvCommand(this, w, data, size);
      TraceCommand(Kind, ID, accepted ? QStringLiteral("RET SUCCESS of") : QStringLiteral("RET FAIL of"),
                   CommandText(w));
    } catch (...) {
      try {
        TraceCommand(Kind, ID, QStringLiteral("RET EXCEPTION of"), CommandText(w));
      } catch (...) {
      }
    }
  }
  return accepted;
}

bool TCustomBound::RecvCommand(TCustomBound* sender, uint32_t& word, const char* data, int size) {
  TraceCommand(Kind, ID, QStringLiteral("RECEIVE"), CommandText(word));
  const uint32_t revised = ((word & RecvMask) & 0xFFFF0000u) | (word & 0x0000FFFFu);
  if (revised != word) {
    word = revised;
    TraceCommand(Kind, ID, QStringLiteral("REVISED"), CommandText(word));
  }
  return true;
}

QString TCustomBound::ContractPath(const QString& path) const {
  if (DynamicPath) {
    QString value = path;
    if (!Prompts().InputQuery(QStringLiteral("DynamicPath"), QStringLiteral("ID"), value, path)) return path;
    return value;
  }
  return ContractVirtualPath(path);
}

QString TCustomBound::ExpandPath(const QString& path) const { return ExpandVirtualPath(path); }

bool TCustomBound::ExpandPathInPlace(QString& path) const {
  const QString expanded = ExpandPath(path);
  const bool changed = expanded != path;
  path = expanded;
  return changed;
}
