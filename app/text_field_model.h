// The text of a single-line input, apart from its painting: the text, the
// caret and the selection, undo and redo, and which part of the line shows.
// Every operation costs at most a copy of the text, and most cost only what
// lies near the caret, so a field holding megabytes answers as quickly as
// one holding a word.
#pragma once

#include <QString>
#include <cstddef>
#include <deque>
#include <functional>

namespace soakmark::app {

class TextFieldModel {
 public:
  // Undo keeps at most this many bytes of text, but always the last edit
  // whatever its size, so that a mistaken paste can be taken back.
  static constexpr std::size_t kUndoBytes = 4 * 1024 * 1024;

  const QString& Text() const { return text_; }
  qsizetype Length() const { return text_.size(); }
  qsizetype Cursor() const { return cursor_; }
  qsizetype Anchor() const { return anchor_; }
  bool HasSelection() const { return cursor_ != anchor_; }
  qsizetype SelectionStart() const { return std::min(cursor_, anchor_); }
  qsizetype SelectionEnd() const { return std::max(cursor_, anchor_); }
  QString SelectedText() const { return text_.mid(SelectionStart(), SelectionEnd() - SelectionStart()); }

  // Replaces the whole text, as a program does: the caret goes to the end
  // and undo starts afresh.
  void SetText(const QString& text);

  // Edits as a person makes them; each can be undone.
  void Insert(const QString& text);  // replaces the selection
  void Backspace();                  // the selection, or the character before the caret
  void Delete();                     // the selection, or the character after the caret
  void DeleteWordBack();             // the selection, or back to the start of the word
  void DeleteWordForward();          // the selection, or on to the end of the word
  void Replace(qsizetype from, qsizetype to, const QString& text);  // [from, to)

  // Caret movement; with `extend` the selection grows from its anchor.
  enum class Move { CharLeft, CharRight, WordLeft, WordRight, Home, End };
  void MoveCursor(Move move, bool extend);
  void SetCursor(qsizetype position, bool extend = false);
  void Select(qsizetype anchor, qsizetype cursor);
  void SelectAll();
  void SelectWordAt(qsizetype position);
  void Deselect() { anchor_ = cursor_; }

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  void Undo();
  void Redo();
  std::size_t UndoBytes() const { return undo_bytes_; }

  // Word and character boundaries, found near the position only.
  qsizetype NextCharacter(qsizetype position) const;
  qsizetype PreviousCharacter(qsizetype position) const;
  qsizetype NextWordBoundary(qsizetype position) const;
  qsizetype PreviousWordBoundary(qsizetype position) const;

  // Which part shows: the first character of the line at the field's left
  // edge. `width(from, to)` measures text [from, to) in pixels; only text
  // near the caret is measured.
  qsizetype FirstVisible() const { return first_visible_; }
  void ScrollToCursor(int view_width, const std::function<int(qsizetype, qsizetype)>& width);

  // What changed in the last operation, for an assistive technology.
  struct Change {
    qsizetype position = 0;
    QString removed;
    QString inserted;
  };

 private:
  struct Edit {
    qsizetype position;
    QString removed;
    QString inserted;
    qsizetype cursor_before, anchor_before;
    bool typing;  // one character typed: runs of typing undo together
  };
  void Apply(qsizetype from, qsizetype to, const QString& inserted, bool typing);
  void Splice(QString& removed, qsizetype position, qsizetype length, const QString& inserted);
  qsizetype ClusterBoundary(qsizetype position, bool forward) const;
  void Record(Edit edit);
  void Trim();

  QString text_;
  qsizetype cursor_ = 0;
  qsizetype anchor_ = 0;
  qsizetype first_visible_ = 0;
  std::deque<Edit> undo_;
  std::deque<Edit> redo_;
  std::size_t undo_bytes_ = 0;

 public:
  // Called after every change of the text, with what changed.
  std::function<void(const Change&)> on_change;
};

}  // namespace soakmark::app
