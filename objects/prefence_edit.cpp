#include "prefence_edit.h"

#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "custom_bound.h"
#include "overall_panel.h"
#include "prompt_service.h"

void TCheckBoxEx::SetAutoSize(bool on) {
  if (FAutoSize == on) return;
  FAutoSize = on;
  if (!on) return;
  const QFontMetrics fm(font());
  // The indicator's room comes from the style; the caption's from the font.
  const int indicator = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) +
                        style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
  const int w = fm.horizontalAdvance(text()) + qMax(16, indicator + 4);
  const int h = qMax(fm.height(), sizeHint().height());
  if (layoutDirection() == Qt::RightToLeft) {
    const int right = geometry().right();
    setGeometry(right - w + 1, y(), w, h);
  } else {
    resize(w, h);
  }
}

namespace {

// Watches the host (to keep the form filling it) and the form (to lay out
// controls that follow its right edge), and the edit fields' key and mouse.
class TEditorFilter : public QObject {
public:
  explicit TEditorFilter(std::function<bool(QObject*, QEvent*)> f) : F(std::move(f)) {}
  bool eventFilter(QObject* o, QEvent* e) override { return F(o, e); }
  std::function<bool(QObject*, QEvent*)> F;
};

}  // namespace

TPrefenceEdit::TPrefenceEdit(TCustomBound* owner, TOverallPanel* host) : Owner(owner), Host(host) {}

TPrefenceEdit::~TPrefenceEdit() {
  if (EditorPanel) Close();
}

QString TPrefenceEdit::NameOf(int line) const { return Items.Names(line); }

int TPrefenceEdit::ControlWidth() const {
  const QStyle* s = EditorPanel->style();
  return EditorPanel->width() - s->pixelMetric(QStyle::PM_ScrollBarExtent) -
         s->pixelMetric(QStyle::PM_DefaultFrameWidth);
}

QLabel* TPrefenceEdit::AddLabel(const QString& text) {
  auto* label = new QLabel(text, EditorPanel);
  label->setGeometry(8, NextTop, ControlWidth(), label->sizeHint().height());
  EditorPanel->RouteMouse(label);
  label->show();
  Track(label, true, false);
  NextTop += label->height() + 4;
  return label;
}

void TPrefenceEdit::Track(QWidget* w, bool stretch, bool keepRight) {
  const int gap = EditorPanel->width() - (w->x() + w->width());
  FTracked.append({w, stretch, keepRight, gap});
}

void TPrefenceEdit::Relayout() {
  if (!EditorPanel) return;
  const int inset = Host->BevelWidth();
  EditorPanel->setGeometry(Host->rect().adjusted(inset, inset, -inset, -inset));
  const int w = EditorPanel->width();
  for (const TTracked& t : FTracked) {
    if (!t.Widget) continue;
    if (t.KeepRight)
      t.Widget->move(w - t.RightGap - t.Widget->width(), t.Widget->y());
    else if (t.Stretch)
      t.Widget->resize(qMax(10, w - t.RightGap - t.Widget->x()), t.Widget->height());
  }
  if (Header) {
    const int b = EditorPanel->BevelWidth();
    const int h = Header->sizeHint().height();
    Header->setGeometry(b, EditorPanel->height() - b - h, w - 2 * b, h);
  }
}

void TPrefenceEdit::Changed() {
  if (OnChange) OnChange(this);
}

void TPrefenceEdit::Store(int line, const QString& value, bool notify) {
  if (line < 0 || line >= Items.Count()) return;
  Items.Put(line, NameOf(line) + u'=' + (value.isEmpty() ? TStringListEx::EmptyMarker : value));
  if (notify) Changed();
}

QWidget* TPrefenceEdit::AddItem(const QString& name, const QString& kind, const QString& value) {
  if (NextTop == 0) NextTop = 24;
  if (!EditorPanel) {
    EditorPanel = new TOverallPanel(Host);
    EditorPanel->setObjectName(QStringLiteral("EditorPanel"));
    EditorPanel->setPalette(QApplication::palette());
    EditorPanel->setFont(QApplication::font());
    EditorPanel->SetBevelInner(TOverallPanel::TBevel::Lowered);
    EditorPanel->SetBevelOuter(TOverallPanel::TBevel::Raised);
    EditorPanel->OnMouseDown = Host->OnMouseDown;
    EditorPanel->OnMouseMove = Host->OnMouseMove;
    EditorPanel->OnMouseUp = Host->OnMouseUp;
    EditorPanel->OnDblClick = [this](QWidget*) { Owner->PrefenceOpen(EditorPanel); };
    const int inset = Host->BevelWidth();
    EditorPanel->setGeometry(Host->rect().adjusted(inset, inset, -inset, -inset));
    EditorPanel->show();
    auto* filter = new TEditorFilter([this](QObject* o, QEvent* e) {
      if (o == Host && e->type() == QEvent::Resize) Relayout();
      return false;
    });
    filter->setParent(EditorPanel);
    FFilter = filter;
    Host->installEventFilter(filter);
    if (!Header) {
      Header = AddLabel(QStringLiteral("- ") + Owner->Kind + QStringLiteral(" : ") + Owner->ID + QStringLiteral(" - "));
      Header->setObjectName(QStringLiteral("Header"));
      Header->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      FTracked.removeLast();
      NextTop -= Header->height() + 4;
      Relayout();
    }
  }

  QWidget* result = nullptr;
  const int line = Items.Count();
  auto addLine = [&](QWidget* control) {
    Items.Add(name + u'=' + value);
    FControls.append(control);
  };
  auto editField = [&](bool readOnly) {
    AddLabel(name);
    auto* edit = new QLineEdit(value, EditorPanel);
    edit->setObjectName(name);
    edit->setGeometry(8, NextTop, ControlWidth(), edit->sizeHint().height());
    edit->setReadOnly(readOnly);
    edit->show();
    QObject::connect(edit, &QLineEdit::textChanged, EditorPanel, [this, line](const QString& t) { Store(line, t); });
    QObject::connect(edit, &QLineEdit::returnPressed, EditorPanel, [this, line, edit] {
      Store(line, edit->text());
      Host->PostClosePrefence();
    });
    auto* filter = new TEditorFilter([this](QObject*, QEvent* e) {
      if (e->type() == QEvent::MouseButtonPress) Host->SetPopupMenu(nullptr);
      return false;
    });
    filter->setParent(edit);
    edit->installEventFilter(filter);
    return edit;
  };
  auto dialogButton = [&](QLineEdit* edit) {
    const QStyle* s = EditorPanel->style();
    auto* button = new QPushButton(QStringLiteral("..."), EditorPanel);
    const int x = EditorPanel->width() - 25 - s->pixelMetric(QStyle::PM_ScrollBarExtent) -
                  s->pixelMetric(QStyle::PM_DefaultFrameWidth);
    button->setGeometry(x, NextTop, 25, edit->height());
    button->show();
    edit->resize(qMax(10, x - 4 - edit->x()), edit->height());
    Track(button, false, true);
    FTracked.append({edit, true, false, EditorPanel->width() - x + 4});
    return button;
  };

  if (kind == QLatin1String("CheckBox")) {
    auto* box = new TCheckBoxEx(name, EditorPanel);
    box->setObjectName(name);
    box->move(8, NextTop);
    box->setChecked(value.toLower() == QLatin1String("true"));
    box->SetAutoSize(true);
    box->show();
    QObject::connect(box, &QCheckBox::clicked, EditorPanel, [this, line](bool on) {
      Store(line, on ? QStringLiteral("true") : QStringLiteral("false"));
    });
    addLine(box);
    NextTop += box->height() + 4;
    result = box;
  } else if (kind == QLatin1String("EditText")) {
    QLineEdit* edit = editField(false);
    Track(edit, true, false);
    addLine(edit);
    NextTop += edit->height() + 4;
    result = edit;
  } else if (kind == QLatin1String("Integer")) {
    QLineEdit* edit = editField(false);
    edit->setText(QString::number(StrToIntDef(value, 0)));
    QObject::disconnect(edit, &QLineEdit::textChanged, EditorPanel, nullptr);
    QObject::connect(edit, &QLineEdit::textChanged, EditorPanel, [this, line, edit](const QString& t) {
      qint32 n = 0;
      if (!TryStrToInt(t, n)) {
        const QSignalBlocker block(edit);
        edit->setText(QStringLiteral("0"));
        return;
      }
      Store(line, QString::number(n));
    });
    Track(edit, true, false);
    addLine(edit);
    NextTop += edit->height() + 4;
    result = edit;
  } else if (kind == QLatin1String("ComboBox")) {
    AddLabel(name);
    auto* combo = new QComboBox(EditorPanel);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setEditText(value);
    combo->setGeometry(8, NextTop, ControlWidth(), combo->sizeHint().height());
    combo->show();
    QObject::connect(combo, &QComboBox::currentTextChanged, EditorPanel, [this, line](const QString& t) {
      Store(line, t);
    });
    Track(combo, true, false);
    addLine(combo);
    NextTop += combo->height() + 4;
    result = combo;
  } else if (kind == QLatin1String("FileDialog") || kind == QLatin1String("PictureDialog") ||
             kind == QLatin1String("TextLines")) {
    const bool lines = kind == QLatin1String("TextLines");
    QLineEdit* edit = editField(lines);
    QPushButton* button = dialogButton(edit);
    if (kind == QLatin1String("FileDialog") || kind == QLatin1String("PictureDialog")) {
      const bool picture = kind == QLatin1String("PictureDialog");
      const QString filter = picture ? QString() : FileFilter;
      QObject::connect(button, &QPushButton::clicked, EditorPanel, [this, line, edit, filter, picture] {
        // The dialog runs its own event loop: the form may be gone when it returns.
        const QPointer<QLineEdit> field(edit);
        const QString chosen =
            Prompts().OpenFileName(NameOf(line), picture ? QString() : QtFileFilter(filter), edit->text(), picture);
        if (chosen.isEmpty() || !field) return;
        field->setText(chosen);
      });
    } else {
      QObject::connect(button, &QPushButton::clicked, EditorPanel, [this, line, edit] {
        const QPointer<QLineEdit> field(edit);
        QString text = Items.Get(line).mid(NameOf(line).size() + 1);
        text.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
        text.replace(QLatin1String("\\t"), QLatin1String("\t"));
        if (!Prompts().EditTextLines(NameOf(line), text) || !field) return;
        text.replace(u'\r', QLatin1String("\\n"));
        text.remove(u'\n');
        text.replace(u'\t', QLatin1String("\\t"));
        Store(line, text, false);
        edit->setText(text);
      });
    }
    addLine(edit);
    NextTop += edit->height() + 4;
    result = edit;
  } else if (kind == QLatin1String("InformationText")) {
    result = AddLabel(value);
  }

  if (!BoundsSaved && (Host->width() < 200 || Host->height() < NextTop + 24)) {
    SavedLeft = Host->x();
    SavedTop = Host->y();
    SavedWidth = Host->width();
    SavedHeight = Host->height();
    BoundsSaved = true;
    auto* restore = new TCheckBoxEx(QStringLiteral("RestoreBounds"), EditorPanel);
    restore->setObjectName(QStringLiteral("RestoreBounds"));
    restore->move(8, 4);
    restore->setChecked(true);
    restore->SetAutoSize(true);
    restore->show();
    const int restoreLine = Items.Count();
    Items.Add(QStringLiteral("RestoreBounds=true"));
    FControls.append(restore);
    QObject::connect(restore, &QCheckBox::clicked, EditorPanel, [this, restoreLine](bool on) {
      Store(restoreLine, on ? QStringLiteral("true") : QStringLiteral("false"));
    });
  }
  Host->resize(qMax(200, Host->width()), qMax(NextTop + 24, Host->height()));
  Relayout();
  return result;
}

void TPrefenceEdit::AddItemsFromText(const QString& text) {
  for (const QString& entry : SplitCommaText(text)) {
    const qsizetype colon = entry.indexOf(u':');
    const qsizetype eq = entry.indexOf(u'=');
    if (colon < 0 || eq < 0 || eq < colon) continue;
    AddItem(entry.left(colon), entry.mid(colon + 1, eq - colon - 1), entry.mid(eq + 1));
  }
}

QString TPrefenceEdit::GetValue(const QString& name) const {
  const QString v = Items.Values(name);
  return v == name ? QString() : v;
}

void TPrefenceEdit::SetValue(const QString& name, const QString& value) { Items.SetValue(name, value); }

QWidget* TPrefenceEdit::Control(const QString& name) const {
  const int i = Items.IndexOfName(name);
  return i >= 0 && i < FControls.size() ? FControls[i].data() : nullptr;
}

void TPrefenceEdit::Close() {
  Closing = true;
  const bool restore = Items.Values(QStringLiteral("RestoreBounds")).toLower() == QLatin1String("true");
  Items.Clear();
  FControls.clear();
  FTracked.clear();
  if (FFilter) Host->removeEventFilter(FFilter);
  FFilter = nullptr;
  // The header is a child of the form and goes with it.
  std::unique_ptr<TOverallPanel> form(EditorPanel.data());
  form.reset();
  if (restore && BoundsSaved) {
    Host->setGeometry(SavedLeft, SavedTop, SavedWidth, SavedHeight);
    Owner->Arrange();
  }
  BoundsSaved = false;
  NextTop = 0;
  Closing = false;
}

QString QtFileFilter(const QString& pairs) {
  const QStringList parts = pairs.split(u'|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString desc = parts[i], pattern = QString(parts[i + 1]).replace(u';', u' ');
    out << (desc.contains(u'(') ? desc : desc + QStringLiteral(" (") + pattern + u')');
  }
  return out.join(QStringLiteral(";;"));
}
