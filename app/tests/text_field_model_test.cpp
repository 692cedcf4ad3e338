// The input fields' text model without a widget: edits, caret and selection,
// words and clusters, undo with bounded memory, and which part shows.
#include "app/text_field_model.h"

#include <gtest/gtest.h>

#include <functional>

namespace soakmark::app {
namespace {

using Move = TextFieldModel::Move;

constexpr qsizetype kEnd = -1;  // in a row: the end of the text

struct Row {
  const char* what;
  const char* text;
  qsizetype anchor, cursor;  // before
  std::function<void(TextFieldModel&)> operation;
  const char* expected;    // the text after, the huge tail left out
  qsizetype new_anchor, new_cursor;
};

// Every row runs on its short text and again with a megabyte after it, and
// gives the same text, caret and selection (where the row does not reach the
// end of the text).
TEST(TextFieldModel, EditsMovesAndSelections) {
  const Row rows[] = {
      {"typing", "12", 2, 2, [](auto& m) { m.Insert("3"); }, "123", 3, 3},
      {"typing over the selection", "12.5", 0, 2, [](auto& m) { m.Insert("7"); }, "7.5", 1, 1},
      {"Backspace", "12.5", 4, 4, [](auto& m) { m.Backspace(); }, "12.", 3, 3},
      {"Backspace at the start", "12", 0, 0, [](auto& m) { m.Backspace(); }, "12", 0, 0},
      {"Backspace deletes the selection", "12.5", 1, 3, [](auto& m) { m.Backspace(); }, "15", 1, 1},
      {"Delete", "12.5", 0, 0, [](auto& m) { m.Delete(); }, "2.5", 0, 0},
      {"Delete a cluster with its mark", "e\u0301x", 0, 0, [](auto& m) { m.Delete(); }, "x", 0, 0},
      {"Delete a character beyond 16 bits", "\U0001F4A7x", 0, 0, [](auto& m) { m.Delete(); }, "x", 0, 0},
      {"Backspace a character beyond 16 bits", "a\U0001F4A7", 3, 3, [](auto& m) { m.Backspace(); }, "a", 1, 1},
      {"Left", "12", 2, 2, [](auto& m) { m.MoveCursor(Move::CharLeft, false); }, "12", 1, 1},
      {"Left collapses a selection to its start", "1234", 1, 3, [](auto& m) { m.MoveCursor(Move::CharLeft, false); },
       "1234", 1, 1},
      {"Right over a cluster", "e\u0301x", 0, 0, [](auto& m) { m.MoveCursor(Move::CharRight, false); }, "e\u0301x",
       2, 2},
      {"Shift+Left", "1234", 4, 4, [](auto& m) { m.MoveCursor(Move::CharLeft, true); }, "1234", 4, 3},
      {"Shift+Right twice", "1234", 0, 0,
       [](auto& m) {
         m.MoveCursor(Move::CharRight, true);
         m.MoveCursor(Move::CharRight, true);
       },
       "1234", 0, 2},
      {"Ctrl+Right to the next word", "12 l/h x", 0, 0, [](auto& m) { m.MoveCursor(Move::WordRight, false); },
       "12 l/h x", 3, 3},
      {"Ctrl+Right over punctuation", "12 l/h x", 4, 4, [](auto& m) { m.MoveCursor(Move::WordRight, false); },
       "12 l/h x", 5, 5},
      {"Ctrl+Left to the word's start", "12 l/h", 2, 2, [](auto& m) { m.MoveCursor(Move::WordLeft, false); },
       "12 l/h", 0, 0},
      {"Ctrl+Left over spaces", "ab   cd", 5, 5, [](auto& m) { m.MoveCursor(Move::WordLeft, false); }, "ab   cd", 0,
       0},
      {"Ctrl+Shift+Left", "ab cd", 5, 5, [](auto& m) { m.MoveCursor(Move::WordLeft, true); }, "ab cd", 5, 3},
      {"Home", "1234", 3, 3, [](auto& m) { m.MoveCursor(Move::Home, false); }, "1234", 0, 0},
      {"Shift+Home", "1234", 3, 3, [](auto& m) { m.MoveCursor(Move::Home, true); }, "1234", 3, 0},
      {"End", "1234", 1, 1, [](auto& m) { m.MoveCursor(Move::End, false); }, "1234", kEnd, kEnd},
      {"Shift+End", "1234", 1, 1, [](auto& m) { m.MoveCursor(Move::End, true); }, "1234", 1, kEnd},
      {"Ctrl+A", "1234", 2, 2, [](auto& m) { m.SelectAll(); }, "1234", 0, kEnd},
      {"Ctrl+Backspace", "12 l/h", 6, 6, [](auto& m) { m.DeleteWordBack(); }, "12 l/", 5, 5},
      {"Ctrl+Delete", "ab cd", 0, 0, [](auto& m) { m.DeleteWordForward(); }, "cd", 0, 0},
      {"double-click selects a word", "ab cd ef", 4, 4, [](auto& m) { m.SelectWordAt(4); }, "ab cd ef", 3, 5},
      {"click places the caret", "ab cd", 0, 5, [](auto& m) { m.SetCursor(2); }, "ab cd", 2, 2},
      {"Shift+click extends", "ab cd", 1, 1, [](auto& m) { m.SetCursor(4, true); }, "ab cd", 1, 4},
      {"a paste replaces the selection", "2", 0, 1, [](auto& m) { m.Insert("20 litres"); }, "20 litres", 9, 9},
      {"undo takes a paste back", "2", 0, 1,
       [](auto& m) {
         m.Insert("20 litres");
         m.Undo();
       },
       "2", 0, 1},
      {"redo brings it again", "2", 0, 1,
       [](auto& m) {
         m.Insert("20 litres");
         m.Undo();
         m.Redo();
       },
       "20 litres", 9, 9},
      {"typed characters undo together", "1", 1, 1,
       [](auto& m) {
         m.Insert("2");
         m.Insert("3");
         m.Undo();
       },
       "1", 1, 1},
      {"a new edit forgets what could be redone", "1", 1, 1,
       [](auto& m) {
         m.Insert("2");
         m.Undo();
         m.Insert("5");
         m.Redo();
       },
       "15", 2, 2},
  };
  const QString tail = QStringLiteral(" ") + QString(1'000'000, QLatin1Char('9'));
  for (const Row& row : rows) {
    for (const bool huge : {false, true}) {
      SCOPED_TRACE(std::string(row.what) + (huge ? ", before a megabyte" : ""));
      const QString text = QString::fromUtf8(row.text);
      if (huge && (row.new_cursor == kEnd || row.new_anchor == kEnd)) continue;  // the end moves with the tail
      TextFieldModel m;
      m.SetText(huge ? text + tail : text);
      m.Select(row.anchor, row.cursor);
      row.operation(m);
      const qsizetype length = m.Length();
      EXPECT_EQ(m.Text(), QString::fromUtf8(row.expected) + (huge ? tail : QString()));
      EXPECT_EQ(m.Cursor(), row.new_cursor == kEnd ? length : row.new_cursor);
      EXPECT_EQ(m.Anchor(), row.new_anchor == kEnd ? length : row.new_anchor);
    }
  }
}

TEST(TextFieldModel, UndoMemoryIsBoundedButKeepsTheLastPaste) {
  TextFieldModel m;
  const QString megabyte(1'000'000, QLatin1Char('7'));
  for (int i = 0; i < 10; ++i) {
    m.SelectAll();
    m.Insert(megabyte);
    m.SelectAll();
    m.Backspace();
  }
  EXPECT_LE(m.UndoBytes(), TextFieldModel::kUndoBytes);
  // The last paste can still be taken back, and the one before it too.
  m.Insert(QString(3'000'000, QLatin1Char('5')));  // larger than the limit by itself
  EXPECT_TRUE(m.CanUndo());
  m.Undo();
  EXPECT_TRUE(m.Text().isEmpty());
  EXPECT_GT(m.UndoBytes(), 0u);
}

TEST(TextFieldModel, ReportsEveryChangeWithWhatWasRemovedAndInserted) {
  TextFieldModel m;
  m.SetText("12.5");
  std::vector<TextFieldModel::Change> seen;
  m.on_change = [&](const TextFieldModel::Change& c) { seen.push_back(c); };
  m.Select(1, 3);
  m.Insert("x");
  m.Undo();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].position, 1);
  EXPECT_EQ(seen[0].removed, "2.");
  EXPECT_EQ(seen[0].inserted, "x");
  EXPECT_EQ(seen[1].removed, "x");
  EXPECT_EQ(seen[1].inserted, "2.");
}

// Which part shows, with every character 7 pixels wide in a 70-pixel field.
TEST(TextFieldModel, ShowsThePartAroundTheCaretMeasuringOnlyThat) {
  qsizetype measured = 0;
  const auto width = [&](qsizetype from, qsizetype to) {
    measured += to - from;
    return static_cast<int>(7 * (to - from));
  };
  TextFieldModel m;
  m.SetText(QString(10'000'000, QLatin1Char('1')));
  m.SetCursor(0);
  m.ScrollToCursor(70, width);
  EXPECT_EQ(m.FirstVisible(), 0);
  m.MoveCursor(Move::End, false);
  m.ScrollToCursor(70, width);
  EXPECT_EQ(m.FirstVisible(), m.Length() - 10) << "the caret at the right edge";
  m.SetCursor(5'000'000);
  measured = 0;
  m.ScrollToCursor(70, width);
  EXPECT_EQ(m.FirstVisible(), 5'000'000 - 3) << "a third of the field before the caret";
  EXPECT_LT(measured, 1000) << "only the text near the caret is measured";
  // Deleting the end pulls the text back to fill the field.
  m.SetText("12345678901234");
  m.ScrollToCursor(70, width);
  EXPECT_EQ(m.FirstVisible(), 4);
  m.SelectAll();
  m.Backspace();
  m.ScrollToCursor(70, width);
  EXPECT_EQ(m.FirstVisible(), 0);
}

}  // namespace
}  // namespace soakmark::app
