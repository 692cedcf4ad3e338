#include "app/text_field.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>
#include <QTextLayout>
#include <algorithm>

namespace soakmark::app {

namespace {

constexpr int kPadding = 1;  // between the border and the text area, left and right
// Within the text area, as a desktop line edit keeps them.
constexpr int kHorizontalMargin = 2;
constexpr int kVerticalMargin = 1;
// Input methods see this much text on each side of the caret.
constexpr qsizetype kSurroundingText = 256;

// What an assistive technology meets: an editable text named by its caption,
// whose text it can read, follow and change.
class TextFieldAccessible : public QAccessibleWidget,
                            public QAccessibleTextInterface,
                            public QAccessibleEditableTextInterface {
 public:
  explicit TextFieldAccessible(TextField* field) : QAccessibleWidget(field, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return Field()->text();
    return QAccessibleWidget::text(t);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = true;
    s.selectableText = true;
    s.multiLine = false;
    return s;
  }

  // QAccessibleTextInterface
  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index != 0 || !Field()->hasSelectedText()) return;
    *start = static_cast<int>(Model().SelectionStart());
    *end = static_cast<int>(Model().SelectionEnd());
  }
  int selectionCount() const override { return Field()->hasSelectedText() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int) override { Field()->deselect(); }
  void setSelection(int, int start, int end) override {
    Field()->Model().Select(start, end);
    Field()->update();
  }
  int cursorPosition() const override { return Field()->cursorPosition(); }
  void setCursorPosition(int position) override { Field()->setCursorPosition(position); }
  QString text(int start, int end) const override {
    const qsizetype from = std::clamp<qsizetype>(start, 0, Model().Length());
    const qsizetype to = end < 0 ? Model().Length() : std::clamp<qsizetype>(end, from, Model().Length());
    return Model().Text().mid(from, to - from);
  }
  int characterCount() const override { return static_cast<int>(Model().Length()); }
  QRect characterRect(int offset) const override {
    const QRect caret = Field()->CursorRect();
    if (offset != Field()->cursorPosition()) return {};
    return QRect(Field()->mapToGlobal(caret.topLeft()), caret.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    return static_cast<int>(Field()->PositionAt(Field()->mapFromGlobal(point)));
  }
  void scrollToSubstring(int start, int) override { Field()->setCursorPosition(start); }
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return {};
  }
  QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
    return Around(offset, type, start, end);
  }
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
    if (type == QAccessible::CharBoundary) return Around(static_cast<int>(Model().PreviousCharacter(offset)), type, start, end);
    if (type == QAccessible::WordBoundary) {
      return Around(static_cast<int>(Model().PreviousWordBoundary(Model().PreviousWordBoundary(offset))), type, start, end);
    }
    *start = *end = 0;
    return {};
  }
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
    if (type == QAccessible::CharBoundary) return Around(static_cast<int>(Model().NextCharacter(offset)), type, start, end);
    if (type == QAccessible::WordBoundary) return Around(static_cast<int>(Model().NextWordBoundary(offset)), type, start, end);
    *start = *end = characterCount();
    return {};
  }

  // QAccessibleEditableTextInterface
  void deleteText(int start, int end) override { Field()->ReplaceText(start, end, {}); }
  void insertText(int offset, const QString& text) override { Field()->ReplaceText(offset, offset, text); }
  void replaceText(int start, int end, const QString& text) override { Field()->ReplaceText(start, end, text); }

 private:
  TextField* Field() const { return static_cast<TextField*>(widget()); }
  const TextFieldModel& Model() const { return Field()->Model(); }

  // The character, word or whole line at an offset; a single-line field has
  // one sentence, line and paragraph.
  QString Around(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const {
    const qsizetype length = Model().Length();
    const qsizetype at = std::clamp<qsizetype>(offset, 0, length);
    qsizetype from = 0, to = length;
    if (type == QAccessible::CharBoundary) {
      from = at;
      to = Model().NextCharacter(at);
    } else if (type == QAccessible::WordBoundary) {
      to = Model().NextWordBoundary(at);
      from = Model().PreviousWordBoundary(std::min(at + 1, length));
      from = std::min(from, at);
    }
    *start = static_cast<int>(from);
    *end = static_cast<int>(to);
    return Model().Text().mid(from, to - from);
  }
};

QAccessibleInterface* TextFieldAccessibility(const QString& class_name, QObject* object) {
  if (class_name == QLatin1String("soakmark::app::TextField") && object->isWidgetType()) {
    return new TextFieldAccessible(static_cast<TextField*>(object));
  }
  return nullptr;
}

}  // namespace

TextField::TextField(QWidget* parent) : QWidget(parent) {
  static const bool accessibility_installed = [] {
    QAccessible::installFactory(TextFieldAccessibility);
    return true;
  }();
  (void)accessibility_installed;
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::IBeamCursor);
  const QPalette& p = palette();
  colours_ = {p.color(QPalette::Mid), p.color(QPalette::Base), p.color(QPalette::Text), p.color(QPalette::Highlight),
              p.color(QPalette::HighlightedText)};
  model_.on_change = [this](const TextFieldModel::Change& change) { AfterChange(change); };
}

void TextField::SetColours(const TextFieldColours& colours) {
  colours_ = colours;
  update();
}

void TextField::setText(const QString& text) { model_.SetText(text); }

void TextField::setCursorPosition(int position) {
  model_.SetCursor(position);
  AfterCursorMove(true);
}

void TextField::selectAll() {
  model_.SelectAll();
  AfterCursorMove(true);
}

void TextField::deselect() {
  model_.Deselect();
  AfterCursorMove(true);
}

void TextField::ReplaceText(qsizetype from, qsizetype to, const QString& text) {
  model_.Replace(from, to, text);
}

QRect TextField::ContentRect() const {
  return rect().adjusted(1 + kPadding + kHorizontalMargin, 1 + kVerticalMargin, -1 - kPadding - kHorizontalMargin,
                         -1 - kVerticalMargin);
}

qsizetype TextField::ShownLength() const {
  // Enough characters to fill the field with the narrowest of them, and a
  // margin for marks that take no room; then on to a cluster boundary.
  const QFontMetrics metrics(font());
  const int narrowest = std::max(1, metrics.horizontalAdvance(QLatin1Char('i')) / 2);
  const qsizetype first = model_.FirstVisible();
  qsizetype end = std::min(model_.Length(), first + ContentRect().width() / narrowest + 64);
  end = model_.NextCharacter(std::max(end - 1, first));
  return end - first;
}

qsizetype TextField::Layout(QTextLayout& layout) const {
  const qsizetype first = model_.FirstVisible();
  const qsizetype length = ShownLength();
  // One line: line and paragraph breaks in the text show as spaces.
  QString shown = model_.Text().mid(first, length);
  for (QChar& c : shown) {
    if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) {
      c = QLatin1Char(' ');
    }
  }
  layout.setText(shown);
  layout.setFont(font());
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setTextDirection(Qt::LeftToRight);
  layout.setTextOption(option);
  layout.setCacheEnabled(true);
  if (!preedit_.isEmpty()) layout.setPreeditArea(static_cast<int>(model_.Cursor() - first), preedit_);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setLineWidth(1e6);
  layout.endLayout();
  const QRect content = ContentRect();
  line.setPosition(QPointF(0, 0));
  const int text_height = QFontMetrics(font()).height();
  layout.setPosition(QPointF(content.left(), content.top() + (content.height() - text_height + 1) / 2));
  return length;
}

int TextField::CaretInLayout() const {
  return static_cast<int>(model_.Cursor() - model_.FirstVisible()) + (preedit_.isEmpty() ? 0 : preedit_cursor_);
}

qsizetype TextField::PositionAt(QPoint point) const {
  QTextLayout layout;
  Layout(layout);
  const QTextLine line = layout.lineAt(0);
  const int x = static_cast<int>(std::lround(point.x() - layout.position().x()));
  if (x < 0) return model_.FirstVisible() > 0 ? model_.PreviousCharacter(model_.FirstVisible()) : 0;
  return model_.FirstVisible() + line.xToCursor(x);
}

QRect TextField::CursorRect() const {
  QTextLayout layout;
  Layout(layout);
  const QTextLine line = layout.lineAt(0);
  const qreal x = layout.position().x() + line.cursorToX(CaretInLayout());
  return QRect(static_cast<int>(x), static_cast<int>(layout.position().y()), 1, static_cast<int>(line.height()));
}

void TextField::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), colours_.background);
  p.setPen(colours_.border);
  p.drawRect(rect().adjusted(0, 0, -1, -1));

  p.setClipRect(rect().adjusted(1 + kPadding, 1, -1 - kPadding, -1));
  QTextLayout layout;
  const qsizetype shown = Layout(layout);
  QList<QTextLayout::FormatRange> selections;
  const qsizetype first = model_.FirstVisible();
  if (model_.HasSelection() && hasFocus()) {
    const qsizetype from = std::clamp<qsizetype>(model_.SelectionStart() - first, 0, shown);
    const qsizetype to = std::clamp<qsizetype>(model_.SelectionEnd() - first, 0, shown);
    if (to > from) {
      QTextLayout::FormatRange range;
      range.start = static_cast<int>(from);
      range.length = static_cast<int>(to - from);
      range.format.setBackground(colours_.selection);
      range.format.setForeground(colours_.selected_text);
      selections.append(range);
    }
  }
  if (!preedit_.isEmpty()) {
    QTextLayout::FormatRange range;
    range.start = static_cast<int>(model_.Cursor() - first);
    range.length = static_cast<int>(preedit_.size());
    range.format.setFontUnderline(true);
    selections.append(range);
  }
  p.setPen(colours_.text);
  layout.draw(&p, QPointF(0, 0), selections);
  if (hasFocus() && caret_on_) layout.drawCursor(&p, QPointF(0, 0), CaretInLayout(), 1);
}

void TextField::Scroll() {
  const QFontMetrics metrics(font());
  model_.ScrollToCursor(ContentRect().width() - 1, [&](qsizetype from, qsizetype to) {
    if (to - from == 1) return metrics.horizontalAdvance(model_.Text()[from]);
    return metrics.horizontalAdvance(model_.Text().mid(from, to - from));
  });
}

void TextField::AfterCursorMove(bool selection_changed) {
  Scroll();
  RestartBlink();
  update();
  if (QAccessible::isActive()) {
    QAccessibleTextCursorEvent cursor(this, cursorPosition());
    QAccessible::updateAccessibility(&cursor);
    if (selection_changed) {
      QAccessibleTextSelectionEvent selection(this, static_cast<int>(model_.SelectionStart()),
                                              static_cast<int>(model_.SelectionEnd()));
      QAccessible::updateAccessibility(&selection);
    }
  }
  updateMicroFocus();
}

void TextField::AfterChange(const TextFieldModel::Change& change) {
  Scroll();
  RestartBlink();
  update();
  updateMicroFocus();
  if (QAccessible::isActive()) {
    const int position = static_cast<int>(change.position);
    if (!change.removed.isEmpty()) {
      QAccessibleTextRemoveEvent removed(this, position, change.removed);
      QAccessible::updateAccessibility(&removed);
    }
    if (!change.inserted.isEmpty()) {
      QAccessibleTextInsertEvent inserted(this, position, change.inserted);
      QAccessible::updateAccessibility(&inserted);
    }
    QAccessibleTextCursorEvent cursor(this, cursorPosition());
    QAccessible::updateAccessibility(&cursor);
  }
}

void TextField::RestartBlink() {
  caret_on_ = true;
  const int flash = QGuiApplication::styleHints()->cursorFlashTime();
  if (hasFocus() && flash > 0) {
    blink_.start(flash / 2, this);
  } else {
    blink_.stop();
  }
}

void TextField::timerEvent(QTimerEvent* event) {
  if (event->timerId() != blink_.timerId()) return QWidget::timerEvent(event);
  caret_on_ = !caret_on_;
  update(CursorRect().adjusted(-1, 0, 1, 0));
}

void TextField::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Scroll();
}

void TextField::CopyTo(int mode) const {
  if (!model_.HasSelection()) return;
  QClipboard* clipboard = QGuiApplication::clipboard();
  const auto m = static_cast<QClipboard::Mode>(mode);
  if (m == QClipboard::Selection && !clipboard->supportsSelection()) return;
  clipboard->setText(model_.SelectedText(), m);
}

void TextField::PasteFrom(int mode) {
  const auto m = static_cast<QClipboard::Mode>(mode);
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData(m);
  if (mime == nullptr || !mime->hasText()) return;
  model_.Insert(mime->text());  // as pasted; line breaks show as spaces
}

bool TextField::HandleShortcut(QKeyEvent* e) {
  using K = QKeySequence;
  using M = TextFieldModel::Move;
  const auto move = [&](M m, bool extend) {
    const bool had_selection = model_.HasSelection();
    model_.MoveCursor(m, extend);
    AfterCursorMove(extend || had_selection);
  };
  if (e == K::Undo) model_.Undo();
  else if (e == K::Redo || (e->key() == Qt::Key_Y && e->modifiers() == Qt::ControlModifier)) model_.Redo();
  else if (e == K::Copy) CopyTo(QClipboard::Clipboard);
  else if (e == K::Cut) {
    CopyTo(QClipboard::Clipboard);
    if (model_.HasSelection()) model_.Backspace();
  } else if (e == K::Paste) PasteFrom(QClipboard::Clipboard);
  else if (e == K::SelectAll) selectAll();
  else if (e == K::MoveToNextChar) move(M::CharRight, false);
  else if (e == K::MoveToPreviousChar) move(M::CharLeft, false);
  else if (e == K::MoveToNextWord) move(M::WordRight, false);
  else if (e == K::MoveToPreviousWord) move(M::WordLeft, false);
  else if (e == K::MoveToStartOfLine || e == K::MoveToStartOfBlock) move(M::Home, false);
  else if (e == K::MoveToEndOfLine || e == K::MoveToEndOfBlock) move(M::End, false);
  else if (e == K::SelectNextChar) move(M::CharRight, true);
  else if (e == K::SelectPreviousChar) move(M::CharLeft, true);
  else if (e == K::SelectNextWord) move(M::WordRight, true);
  else if (e == K::SelectPreviousWord) move(M::WordLeft, true);
  else if (e == K::SelectStartOfLine || e == K::SelectStartOfBlock) move(M::Home, true);
  else if (e == K::SelectEndOfLine || e == K::SelectEndOfBlock) move(M::End, true);
  else if (e == K::DeleteStartOfWord) model_.DeleteWordBack();
  else if (e == K::DeleteEndOfWord) model_.DeleteWordForward();
  else if (e == K::Delete) model_.Delete();
  else if (e == K::Backspace || (e->key() == Qt::Key_Backspace && !(e->modifiers() & Qt::ControlModifier))) {
    model_.Backspace();
  } else {
    return false;
  }
  return true;
}

void TextField::keyPressEvent(QKeyEvent* event) {
  if (HandleShortcut(event)) {
    event->accept();
    return;
  }
  const QString text = event->text();
  const bool printable = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
  if (printable && !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
    model_.Insert(text);
    event->accept();
    return;
  }
  event->ignore();  // Enter, Escape and the rest go to the window
}

bool TextField::event(QEvent* e) {
  // The field's own keys come before any shortcut of the window.
  if (e->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(e);
    const bool editing_key = key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut) ||
                             key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Undo) ||
                             key->matches(QKeySequence::Redo) || key->matches(QKeySequence::SelectAll) ||
                             key->matches(QKeySequence::Delete) || key->key() == Qt::Key_Home ||
                             key->key() == Qt::Key_End || key->key() == Qt::Key_Left || key->key() == Qt::Key_Right;
    if (editing_key) {
      e->accept();
      return true;
    }
  }
  return QWidget::event(e);
}

void TextField::mousePressEvent(QMouseEvent* event) {
  const qsizetype at = PositionAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton) {
    const bool had_selection = model_.HasSelection();
    model_.SetCursor(at, event->modifiers() & Qt::ShiftModifier);
    selecting_ = true;
    AfterCursorMove(had_selection || model_.HasSelection());
  } else if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
    model_.SetCursor(at);
    PasteFrom(QClipboard::Selection);
  }
}

void TextField::mouseMoveEvent(QMouseEvent* event) {
  if (!selecting_ || !(event->buttons() & Qt::LeftButton)) return;
  model_.SetCursor(PositionAt(event->position().toPoint()), true);
  AfterCursorMove(true);
}

void TextField::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  selecting_ = false;
  CopyTo(QClipboard::Selection);
}

void TextField::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  model_.SelectWordAt(PositionAt(event->position().toPoint()));
  selecting_ = false;
  AfterCursorMove(true);
  CopyTo(QClipboard::Selection);
}

void TextField::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  RestartBlink();
  update();
}

void TextField::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) model_.Deselect();
  blink_.stop();
  update();
}

void TextField::inputMethodEvent(QInputMethodEvent* event) {
  // A replacement of text around the caret, then the committed text; the
  // preedit text shows at the caret until it is committed.
  if (event->replacementLength() > 0 || event->replacementStart() != 0) {
    const qsizetype from = model_.Cursor() + event->replacementStart();
    model_.Select(from, from + event->replacementLength());
  }
  if (!event->commitString().isEmpty() || event->replacementLength() > 0) model_.Insert(event->commitString());
  preedit_ = event->preeditString();
  preedit_cursor_ = static_cast<int>(preedit_.size());
  for (const QInputMethodEvent::Attribute& a : event->attributes()) {
    if (a.type == QInputMethodEvent::Cursor) preedit_cursor_ = a.start;
    if (a.type == QInputMethodEvent::Selection && preedit_.isEmpty()) {
      model_.Select(a.start, a.start + a.length);
    }
  }
  Scroll();
  update();
  updateMicroFocus();
}

QVariant TextField::inputMethodQuery(Qt::InputMethodQuery query) const {
  // Input methods see the text near the caret only.
  const qsizetype window_start = std::max<qsizetype>(0, model_.Cursor() - kSurroundingText);
  const qsizetype window_end = std::min(model_.Length(), model_.Cursor() + kSurroundingText);
  switch (query) {
    case Qt::ImEnabled:
      return true;
    case Qt::ImCursorRectangle:
      return CursorRect();
    case Qt::ImFont:
      return font();
    case Qt::ImCursorPosition:
      return static_cast<int>(model_.Cursor() - window_start);
    case Qt::ImAnchorPosition:
      return static_cast<int>(std::clamp(model_.Anchor(), window_start, window_end) - window_start);
    case Qt::ImSurroundingText:
      return model_.Text().mid(window_start, window_end - window_start);
    case Qt::ImCurrentSelection: {
      const qsizetype from = std::max(model_.SelectionStart(), window_start);
      const qsizetype to = std::min(model_.SelectionEnd(), window_end);
      return to > from ? model_.Text().mid(from, to - from) : QString();
    }
    case Qt::ImHints:
      return static_cast<int>(Qt::ImhNoPredictiveText);
    default:
      return QWidget::inputMethodQuery(query);
  }
}

void TextField::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  const bool has_selection = model_.HasSelection();
  const bool can_paste = QGuiApplication::clipboard()->mimeData() != nullptr &&
                         QGuiApplication::clipboard()->mimeData()->hasText();
  const auto add = [&](const QString& text, QKeySequence::StandardKey key, bool enabled, auto action) {
    QAction* a = menu.addAction(text);
    a->setShortcut(key);
    a->setEnabled(enabled);
    connect(a, &QAction::triggered, this, action);
  };
  add(tr("&Undo"), QKeySequence::Undo, model_.CanUndo(), [this] { model_.Undo(); });
  add(tr("&Redo"), QKeySequence::Redo, model_.CanRedo(), [this] { model_.Redo(); });
  menu.addSeparator();
  add(tr("Cu&t"), QKeySequence::Cut, has_selection, [this] {
    CopyTo(QClipboard::Clipboard);
    model_.Backspace();
  });
  add(tr("&Copy"), QKeySequence::Copy, has_selection, [this] { CopyTo(QClipboard::Clipboard); });
  add(tr("&Paste"), QKeySequence::Paste, can_paste, [this] { PasteFrom(QClipboard::Clipboard); });
  add(tr("Delete"), QKeySequence::UnknownKey, has_selection, [this] { model_.Backspace(); });
  menu.addSeparator();
  add(tr("Select All"), QKeySequence::SelectAll, model_.Length() > 0, [this] { selectAll(); });
  menu.exec(event->globalPos());
}

}  // namespace soakmark::app
