// The input field as a person and an assistive technology use it, on Qt's
// offscreen platform: keys, mouse, clipboard, input method and the
// accessibility interface, on short and on huge texts.
#include "app/text_field.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <functional>

namespace soakmark::app {
namespace {

constexpr qsizetype kEnd = -1;

class TextFieldTest : public ::testing::Test {
 protected:
  TextFieldTest() {
    field_.setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    field_.resize(161, 19);
    field_.show();
    field_.activateWindow();
    field_.setFocus();
  }
  // The field holding `text` (and a megabyte after it when `huge`), with
  // the given selection.
  void Start(const QString& text, bool huge, qsizetype anchor, qsizetype cursor) {
    field_.setText(huge ? text + Tail() : text);
    field_.Model().Select(anchor, cursor);
  }
  static QString Tail() { return QStringLiteral(" ") + QString(1'000'000, QLatin1Char('9')); }
  TextField field_;
};

struct KeyRow {
  const char* what;
  const char* text;
  qsizetype anchor, cursor;
  std::function<void(QWidget*)> keys;
  const char* expected;
  qsizetype new_anchor, new_cursor;
};

void Key(QWidget* w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(w, key, modifiers);
}

// Each key a person uses in a field, on a short text and before a megabyte.
TEST_F(TextFieldTest, KeysEditMoveAndSelect) {
  const KeyRow rows[] = {
      {"typing", "2", 1, 1, [](QWidget* w) { QTest::keyClicks(w, "0.5"); }, "20.5", 4, 4},
      {"typing over a selection", "2", 0, 1, [](QWidget* w) { QTest::keyClicks(w, "7"); }, "7", 1, 1},
      {"non-ASCII typing", "", 0, 0,
       [](QWidget* w) {
         for (const QString& c : {QString::fromUtf8("ü"), QString::fromUtf8("½")}) {
           QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, c);
           QApplication::sendEvent(w, &press);
         }
       },
       "ü½", 2, 2},
      {"Backspace", "12.5", 4, 4, [](QWidget* w) { Key(w, Qt::Key_Backspace); }, "12.", 3, 3},
      {"Delete", "12.5", 0, 0, [](QWidget* w) { Key(w, Qt::Key_Delete); }, "2.5", 0, 0},
      {"Left", "12", 2, 2, [](QWidget* w) { Key(w, Qt::Key_Left); }, "12", 1, 1},
      {"Right", "12", 0, 0, [](QWidget* w) { Key(w, Qt::Key_Right); }, "12", 1, 1},
      {"Shift+Left", "12", 2, 2, [](QWidget* w) { Key(w, Qt::Key_Left, Qt::ShiftModifier); }, "12", 2, 1},
      {"Shift+Right", "12", 0, 0, [](QWidget* w) { Key(w, Qt::Key_Right, Qt::ShiftModifier); }, "12", 0, 1},
      {"Ctrl+Right", "ab cd", 0, 0, [](QWidget* w) { Key(w, Qt::Key_Right, Qt::ControlModifier); }, "ab cd", 3, 3},
      {"Ctrl+Left", "ab cd", 4, 4, [](QWidget* w) { Key(w, Qt::Key_Left, Qt::ControlModifier); }, "ab cd", 3, 3},
      {"Home", "12", 2, 2, [](QWidget* w) { Key(w, Qt::Key_Home); }, "12", 0, 0},
      {"Shift+Home", "12", 2, 2, [](QWidget* w) { Key(w, Qt::Key_Home, Qt::ShiftModifier); }, "12", 2, 0},
      {"End", "12", 0, 0, [](QWidget* w) { Key(w, Qt::Key_End); }, "12", kEnd, kEnd},
      {"Shift+End", "12", 0, 0, [](QWidget* w) { Key(w, Qt::Key_End, Qt::ShiftModifier); }, "12", 0, kEnd},
      {"Ctrl+A", "12", 1, 1, [](QWidget* w) { Key(w, Qt::Key_A, Qt::ControlModifier); }, "12", 0, kEnd},
      {"Ctrl+Z", "2", 0, 1,
       [](QWidget* w) {
         QTest::keyClicks(w, "35");
         Key(w, Qt::Key_Z, Qt::ControlModifier);
       },
       "2", 0, 1},
      {"Ctrl+Shift+Z", "2", 0, 1,
       [](QWidget* w) {
         QTest::keyClicks(w, "35");
         Key(w, Qt::Key_Z, Qt::ControlModifier);
         Key(w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
       },
       "35", 2, 2},
      {"Ctrl+Y", "2", 0, 1,
       [](QWidget* w) {
         QTest::keyClicks(w, "35");
         Key(w, Qt::Key_Z, Qt::ControlModifier);
         Key(w, Qt::Key_Y, Qt::ControlModifier);
       },
       "35", 2, 2},
      {"Ctrl+X then Ctrl+V", "12.5", 0, 2,
       [](QWidget* w) {
         Key(w, Qt::Key_X, Qt::ControlModifier);
         Key(w, Qt::Key_End);
         Key(w, Qt::Key_V, Qt::ControlModifier);
       },
       ".512", kEnd, kEnd},
      {"Ctrl+C then Ctrl+V", "12", 0, 1,
       [](QWidget* w) {
         Key(w, Qt::Key_C, Qt::ControlModifier);
         Key(w, Qt::Key_Right);
         Key(w, Qt::Key_V, Qt::ControlModifier);
       },
       "112", 2, 2},
      {"Enter does nothing", "12", 2, 2, [](QWidget* w) { Key(w, Qt::Key_Return); }, "12", 2, 2},
  };
  for (const KeyRow& row : rows) {
    for (const bool huge : {false, true}) {
      SCOPED_TRACE(std::string(row.what) + (huge ? ", before a megabyte" : ""));
      const bool reaches_end = row.new_cursor == kEnd || row.new_anchor == kEnd ||
                               std::string(row.what).find("Ctrl+X") != std::string::npos;
      if (huge && reaches_end) continue;  // the end moves with the tail
      Start(QString::fromUtf8(row.text), huge, row.anchor, row.cursor);
      row.keys(&field_);
      const qsizetype length = field_.text().size();
      EXPECT_EQ(field_.text(), QString::fromUtf8(row.expected) + (huge ? Tail() : QString()));
      EXPECT_EQ(field_.Model().Cursor(), row.new_cursor == kEnd ? length : row.new_cursor);
      EXPECT_EQ(field_.Model().Anchor(), row.new_anchor == kEnd ? length : row.new_anchor);
    }
  }
}

TEST_F(TextFieldTest, MouseSelectsAndPlacesTheCaret) {
  Start(QStringLiteral("12.5 l/h"), false, 0, 0);
  const QRect content = field_.ContentRect();
  const QPoint left(content.left(), content.center().y());
  const QPoint far_right(content.right(), content.center().y());
  QTest::mouseClick(&field_, Qt::LeftButton, Qt::NoModifier, far_right);
  EXPECT_EQ(field_.cursorPosition(), 8) << "a click beyond the text: the end";
  QTest::mouseClick(&field_, Qt::LeftButton, Qt::NoModifier, left);
  EXPECT_EQ(field_.cursorPosition(), 0);
  QTest::mouseClick(&field_, Qt::LeftButton, Qt::ShiftModifier, far_right);
  EXPECT_EQ(field_.selectedText(), "12.5 l/h") << "Shift+click extends";
  // A drag selects from the press to the release.
  QTest::mousePress(&field_, Qt::LeftButton, Qt::NoModifier, left);
  QMouseEvent move(QEvent::MouseMove, QPointF(far_right), field_.mapToGlobal(QPointF(far_right)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&field_, &move);
  QTest::mouseRelease(&field_, Qt::LeftButton, Qt::NoModifier, far_right);
  EXPECT_EQ(field_.selectedText(), "12.5 l/h");
  // A double-click selects the word under the pointer.
  QTest::mouseDClick(&field_, Qt::LeftButton, Qt::NoModifier, QPoint(content.left() + 2, content.center().y()));
  EXPECT_EQ(field_.selectedText(), "12");
}

TEST_F(TextFieldTest, InputMethodsComposeAndCommit) {
  Start(QStringLiteral("2"), false, 1, 1);
  QInputMethodEvent preedit(QStringLiteral("\u304b"), {});
  QApplication::sendEvent(&field_, &preedit);
  EXPECT_EQ(field_.text(), "2") << "a preedit is shown, not yet entered";
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("\u6f11"));
  QApplication::sendEvent(&field_, &commit);
  EXPECT_EQ(field_.text(), QStringLiteral("2\u6f11"));
  EXPECT_EQ(field_.inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("2\u6f11"));
  EXPECT_EQ(field_.inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);
  // A huge text shows the input method only the text near the caret.
  Start(QString(1'000'000, QLatin1Char('7')), false, 500'000, 500'000);
  EXPECT_EQ(field_.inputMethodQuery(Qt::ImSurroundingText).toString().size(), 512);
  EXPECT_EQ(field_.inputMethodQuery(Qt::ImCursorPosition).toInt(), 256);
}

TEST_F(TextFieldTest, ContextMenuOffersTheEditingActions) {
  Start(QStringLiteral("12"), false, 0, 2);
  QApplication::clipboard()->setText(QStringLiteral("3"));
  QStringList seen;
  QTimer::singleShot(50, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    for (QAction* a : menu->actions()) {
      if (!a->isSeparator()) seen << a->text() + (a->isEnabled() ? "" : " (off)");
    }
    for (QAction* a : menu->actions()) {
      if (a->text() == "Cu&t") a->trigger();
    }
    menu->close();
  });
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), field_.mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(&field_, &event);
  EXPECT_EQ(seen.join(", ").toStdString(), "&Undo (off), &Redo (off), Cu&t, &Copy, &Paste, Delete, Select All");
  EXPECT_EQ(field_.text(), "");
  EXPECT_EQ(QApplication::clipboard()->text(), "12");
}

// The same edits through the accessibility interface, as a screen reader
// makes them, and the events it hears.
TEST_F(TextFieldTest, AccessibilityInterfaceReadsSetsAndFollows) {
  for (const bool huge : {false, true}) {
    SCOPED_TRACE(huge ? "before a megabyte" : "short");
    Start(QStringLiteral("12.5"), huge, 4, 4);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&field_);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::EditableText);
    QAccessibleTextInterface* text = a->textInterface();
    QAccessibleEditableTextInterface* edit = a->editableTextInterface();
    ASSERT_NE(text, nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(text->characterCount(), field_.text().size());
    EXPECT_EQ(text->text(0, 4), "12.5");
    text->setCursorPosition(2);
    EXPECT_EQ(field_.cursorPosition(), 2);
    EXPECT_EQ(text->cursorPosition(), 2);
    text->setSelection(0, 0, 2);
    EXPECT_EQ(field_.selectedText(), "12");
    int start = 0, end = 0;
    text->selection(0, &start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 2);
    edit->insertText(0, "1");
    EXPECT_TRUE(field_.text().startsWith("112.5"));
    edit->deleteText(0, 1);
    EXPECT_TRUE(field_.text().startsWith("12.5"));
    edit->replaceText(0, 2, "7");
    EXPECT_TRUE(field_.text().startsWith("7.5"));
    EXPECT_EQ(text->textAtOffset(0, QAccessible::WordBoundary, &start, &end), "7");
    EXPECT_EQ(text->textAtOffset(1, QAccessible::CharBoundary, &start, &end), ".");
  }
}

}  // namespace
}  // namespace soakmark::app
