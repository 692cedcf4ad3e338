#include "app/text_field_model.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <utility>

namespace soakmark::app {

namespace {

// Grapheme clusters are found in a window this wide around the position.
constexpr qsizetype kClusterWindow = 32;
// Text farther than this from the field's left edge is not measured: it
// cannot show.
constexpr qsizetype kMeasureLimit = 4096;

enum class CharClass { Space, Word, Other };

CharClass ClassOf(QChar c) {
  if (c.isSpace()) return CharClass::Space;
  if (c.isLetterOrNumber() || c.isMark() || c == QLatin1Char('_') || c.isSurrogate()) return CharClass::Word;
  return CharClass::Other;
}

// Two characters below U+0300 (before the combining marks) always stand in
// clusters of their own, but for a carriage return before a line feed.
bool SimpleBoundary(QChar before, QChar after) {
  return before.unicode() < 0x300 && after.unicode() < 0x300 &&
         !(before == QLatin1Char('\r') && after == QLatin1Char('\n'));
}

std::size_t Bytes(const QString& a, const QString& b) {
  return static_cast<std::size_t>(a.size() + b.size()) * sizeof(QChar);
}

}  // namespace

void TextFieldModel::SetText(const QString& text) {
  const QString old = text_;
  text_ = text;
  cursor_ = anchor_ = text_.size();
  first_visible_ = 0;
  undo_.clear();
  redo_.clear();
  undo_bytes_ = 0;
  if (on_change) on_change({0, old, text});
}

qsizetype TextFieldModel::NextCharacter(qsizetype position) const {
  if (position >= text_.size()) return text_.size();
  const bool simple = position + 1 < text_.size() ? SimpleBoundary(text_[position], text_[position + 1])
                                                   : text_[position].unicode() < 0x300;
  if (simple) return position + 1;
  return ClusterBoundary(position, true);
}

qsizetype TextFieldModel::PreviousCharacter(qsizetype position) const {
  if (position <= 1) return 0;
  if (position <= text_.size() && SimpleBoundary(text_[position - 2], text_[position - 1])) return position - 1;
  return ClusterBoundary(position, false);
}

// The cluster boundary after (or before) the position, found by the Unicode
// rules in a window around it only.
qsizetype TextFieldModel::ClusterBoundary(qsizetype position, bool forward) const {
  const qsizetype start = std::max<qsizetype>(0, position - kClusterWindow);
  const qsizetype end = std::min(text_.size(), position + kClusterWindow);
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text_.constData() + start, end - start);
  finder.setPosition(position - start);
  const qsizetype found = forward ? finder.toNextBoundary() : finder.toPreviousBoundary();
  if (found < 0) return forward ? end : start;
  return start + found;
}

// To the start of the next word: over the rest of this word (or run of
// punctuation), then over the spaces after it.
qsizetype TextFieldModel::NextWordBoundary(qsizetype position) const {
  qsizetype p = std::clamp<qsizetype>(position, 0, text_.size());
  if (p < text_.size()) {
    const CharClass c = ClassOf(text_[p]);
    if (c != CharClass::Space) {
      while (p < text_.size() && ClassOf(text_[p]) == c) ++p;
    }
  }
  while (p < text_.size() && ClassOf(text_[p]) == CharClass::Space) ++p;
  return p;
}

// To the start of this word, or of the one before: back over spaces, then
// over the word (or run of punctuation).
qsizetype TextFieldModel::PreviousWordBoundary(qsizetype position) const {
  qsizetype p = std::clamp<qsizetype>(position, 0, text_.size());
  while (p > 0 && ClassOf(text_[p - 1]) == CharClass::Space) --p;
  if (p > 0) {
    const CharClass c = ClassOf(text_[p - 1]);
    while (p > 0 && ClassOf(text_[p - 1]) == c) --p;
  }
  return p;
}

void TextFieldModel::Apply(qsizetype from, qsizetype to, const QString& inserted, bool typing) {
  from = std::clamp<qsizetype>(from, 0, text_.size());
  to = std::clamp<qsizetype>(to, from, text_.size());
  if (from == to && inserted.isEmpty()) return;
  Edit edit{from, {}, inserted, cursor_, anchor_, typing};
  Splice(edit.removed, from, to - from, inserted);
  cursor_ = anchor_ = from + inserted.size();
  const Change change{from, edit.removed, inserted};
  Record(std::move(edit));
  if (on_change) on_change(change);
}

// Replaces [position, position + length) of the text by `inserted` and gives
// what it replaced. The whole text is swapped rather than copied, so that
// pasting over everything or clearing everything costs nothing however long
// the text is.
void TextFieldModel::Splice(QString& removed, qsizetype position, qsizetype length, const QString& inserted) {
  if (position == 0 && length == text_.size()) {
    removed = std::exchange(text_, inserted);
    return;
  }
  removed = text_.mid(position, length);
  text_.replace(position, length, inserted);
}

void TextFieldModel::Record(Edit edit) {
  for (const Edit& e : redo_) undo_bytes_ -= Bytes(e.removed, e.inserted);
  redo_.clear();
  if (edit.typing && edit.removed.isEmpty() && !undo_.empty()) {
    Edit& last = undo_.back();
    if (last.typing && last.position + last.inserted.size() == edit.position) {
      last.inserted += edit.inserted;
      undo_bytes_ += Bytes({}, edit.inserted);
      Trim();
      return;
    }
  }
  undo_bytes_ += Bytes(edit.removed, edit.inserted);
  undo_.push_back(std::move(edit));
  Trim();
}

// Forgets the oldest edits beyond the byte limit, keeping the newest one.
void TextFieldModel::Trim() {
  while (undo_bytes_ > kUndoBytes && undo_.size() > 1) {
    undo_bytes_ -= Bytes(undo_.front().removed, undo_.front().inserted);
    undo_.pop_front();
  }
  while (undo_bytes_ > kUndoBytes && redo_.size() > 1) {
    undo_bytes_ -= Bytes(redo_.front().removed, redo_.front().inserted);
    redo_.pop_front();
  }
}

void TextFieldModel::Insert(const QString& text) {
  const bool typing = text.size() <= 2;  // one key (or one character beyond 16 bits)
  Apply(SelectionStart(), SelectionEnd(), text, typing);
}

void TextFieldModel::Backspace() {
  if (HasSelection()) return Apply(SelectionStart(), SelectionEnd(), {}, false);
  if (cursor_ == 0) return;
  // A cluster is deleted backwards one code point at a time, as typed.
  qsizetype from = cursor_ - 1;
  if (from > 0 && text_[from].isLowSurrogate() && text_[from - 1].isHighSurrogate()) --from;
  Apply(from, cursor_, {}, false);
}

void TextFieldModel::Delete() {
  if (HasSelection()) return Apply(SelectionStart(), SelectionEnd(), {}, false);
  Apply(cursor_, NextCharacter(cursor_), {}, false);
}

void TextFieldModel::DeleteWordBack() {
  if (HasSelection()) return Apply(SelectionStart(), SelectionEnd(), {}, false);
  Apply(PreviousWordBoundary(cursor_), cursor_, {}, false);
}

void TextFieldModel::DeleteWordForward() {
  if (HasSelection()) return Apply(SelectionStart(), SelectionEnd(), {}, false);
  Apply(cursor_, NextWordBoundary(cursor_), {}, false);
}

void TextFieldModel::Replace(qsizetype from, qsizetype to, const QString& text) { Apply(from, to, text, false); }

void TextFieldModel::MoveCursor(Move move, bool extend) {
  qsizetype target = cursor_;
  switch (move) {
    case Move::CharLeft:
      // Without Shift, a selection collapses to its start.
      target = HasSelection() && !extend ? SelectionStart() : PreviousCharacter(cursor_);
      break;
    case Move::CharRight:
      target = HasSelection() && !extend ? SelectionEnd() : NextCharacter(cursor_);
      break;
    case Move::WordLeft:
      target = PreviousWordBoundary(cursor_);
      break;
    case Move::WordRight:
      target = NextWordBoundary(cursor_);
      break;
    case Move::Home:
      target = 0;
      break;
    case Move::End:
      target = text_.size();
      break;
  }
  SetCursor(target, extend);
}

void TextFieldModel::SetCursor(qsizetype position, bool extend) {
  cursor_ = std::clamp<qsizetype>(position, 0, text_.size());
  if (!extend) anchor_ = cursor_;
}

void TextFieldModel::Select(qsizetype anchor, qsizetype cursor) {
  anchor_ = std::clamp<qsizetype>(anchor, 0, text_.size());
  cursor_ = std::clamp<qsizetype>(cursor, 0, text_.size());
}

void TextFieldModel::SelectAll() { Select(0, text_.size()); }

void TextFieldModel::SelectWordAt(qsizetype position) {
  if (text_.isEmpty()) return;
  qsizetype p = std::clamp<qsizetype>(position, 0, text_.size() - 1);
  const CharClass c = ClassOf(text_[p]);
  qsizetype from = p, to = p;
  while (from > 0 && ClassOf(text_[from - 1]) == c) --from;
  while (to < text_.size() && ClassOf(text_[to]) == c) ++to;
  Select(from, to);
}

void TextFieldModel::Undo() {
  if (undo_.empty()) return;
  Edit edit = std::move(undo_.back());
  undo_.pop_back();
  Splice(edit.inserted, edit.position, edit.inserted.size(), edit.removed);
  cursor_ = edit.cursor_before;
  anchor_ = edit.anchor_before;
  const Change change{edit.position, edit.inserted, edit.removed};
  edit.typing = false;  // what is redone stands on its own
  redo_.push_back(std::move(edit));
  if (on_change) on_change(change);
}

void TextFieldModel::Redo() {
  if (redo_.empty()) return;
  Edit edit = std::move(redo_.back());
  redo_.pop_back();
  Splice(edit.removed, edit.position, edit.removed.size(), edit.inserted);
  cursor_ = anchor_ = edit.position + edit.inserted.size();
  const Change change{edit.position, edit.removed, edit.inserted};
  undo_.push_back(std::move(edit));
  if (on_change) on_change(change);
}

void TextFieldModel::ScrollToCursor(int view_width, const std::function<int(qsizetype, qsizetype)>& width) {
  first_visible_ = std::min(first_visible_, text_.size());
  if (view_width <= 0) {
    first_visible_ = cursor_;
    return;
  }
  // Back from `end`, as far as `room` pixels of text reach: cluster by
  // cluster, adding up their widths.
  const auto reach_back = [&](qsizetype end, int room) {
    qsizetype first = end;
    int used = 0;
    while (first > 0) {
      const qsizetype previous = PreviousCharacter(first);
      used += width(previous, first);
      if (end - previous > kMeasureLimit || used > room) break;
      first = previous;
    }
    return first;
  };
  if (cursor_ < first_visible_) {
    // Moving left past the edge: show a third of the field before the caret.
    first_visible_ = reach_back(cursor_, view_width / 3);
  } else if (cursor_ - first_visible_ > kMeasureLimit || width(first_visible_, cursor_) > view_width) {
    // Moving right past the edge: the caret at the right edge.
    first_visible_ = reach_back(cursor_, view_width);
  } else if (first_visible_ > 0 && text_.size() - first_visible_ <= kMeasureLimit &&
             width(first_visible_, text_.size()) < view_width) {
    // Text removed at the end: fill the field again from the right.
    first_visible_ = std::min(reach_back(text_.size(), view_width), cursor_);
  }
}

}  // namespace soakmark::app
