// A single-line text input whose cost does not grow with its text: it keeps
// the text in a TextFieldModel and lays out and shapes only the part that
// shows, so a field holding ten megabytes answers a key as quickly as one
// holding a word. It does what a desktop text field does: typing and input
// methods, selection by mouse and keys, the clipboard and the X11 primary
// selection, undo and redo with bounded memory, a context menu, and the
// editable-text interface for assistive technology.
//
// Its look: a flat one-pixel border, the window colours, and the selection
// colours it is given.
#pragma once

#include <QBasicTimer>
#include <QColor>
#include <QWidget>

#include "app/text_field_model.h"

class QTextLayout;
class QMenu;

namespace soakmark::app {

struct TextFieldColours {
  QColor border;
  QColor background;
  QColor text;
  QColor selection;
  QColor selected_text;
};

class TextField : public QWidget {
  Q_OBJECT

 public:
  explicit TextField(QWidget* parent = nullptr);

  QString text() const { return model_.Text(); }
  void setText(const QString& text);
  QString selectedText() const { return model_.SelectedText(); }
  bool hasSelectedText() const { return model_.HasSelection(); }
  int cursorPosition() const { return static_cast<int>(model_.Cursor()); }
  void setCursorPosition(int position);
  void selectAll();
  void deselect();
  // Until they are set, the field takes its colours from its palette.
  void SetColours(const TextFieldColours& colours);
  const TextFieldColours& Colours() const { return colours_; }

  TextFieldModel& Model() { return model_; }
  const TextFieldModel& Model() const { return model_; }

  // The area that holds the text, inside the border and padding.
  QRect ContentRect() const;
  // The character position under a point of the widget.
  qsizetype PositionAt(QPoint point) const;
  // The caret's rectangle, in widget coordinates, when it shows.
  QRect CursorRect() const;

  // Edits through the accessibility interface, as a person would make them.
  void ReplaceText(qsizetype from, qsizetype to, const QString& text);

  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // The part of the text laid out for painting: [first visible, + length).
  qsizetype ShownLength() const;
  // A layout of the shown part, with the input method's preedit text at the
  // caret; gives the length of the shown part.
  qsizetype Layout(QTextLayout& layout) const;
  // The caret's place in that layout.
  int CaretInLayout() const;
  void AfterCursorMove(bool selection_changed);
  void AfterChange(const TextFieldModel::Change& change);
  void Scroll();
  void RestartBlink();
  void CopyTo(int mode) const;
  void PasteFrom(int mode);
  bool HandleShortcut(QKeyEvent* event);

  TextFieldModel model_;
  TextFieldColours colours_;
  QString preedit_;
  int preedit_cursor_ = 0;
  QBasicTimer blink_;
  bool caret_on_ = true;
  bool selecting_ = false;  // a left-button drag is selecting
};

}  // namespace soakmark::app
