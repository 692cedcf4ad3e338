#include "app/error_reporting.h"

#include <QAbstractButton>
#include <QIcon>
#include <QMessageBox>

namespace soakmark::app {

QString ApplicationTitle(const QString& program_path) {
  QString name = program_path.mid(program_path.lastIndexOf(QLatin1Char('/')) + 1);
#if defined(Q_OS_WIN)
  name = name.mid(name.lastIndexOf(QLatin1Char('\\')) + 1);
#endif
  const qsizetype dot = name.indexOf(QLatin1Char('.'));
  if (dot >= 0) name.truncate(dot);
  if (name.isEmpty()) return name;
  return name.left(1).toUpper() + name.mid(1).toLower();
}

QString MessageWithFullStop(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
  return message;
}

namespace {

// Breaks runs without spaces (a pasted number, say) into lines the box can
// wrap; words are left whole.
QString BreakLongRuns(const QString& text) {
  QString out;
  out.reserve(text.size() + text.size() / kLongestShownLine);
  int run = 0;
  for (const QChar c : text) {
    run = c.isSpace() ? 0 : run + 1;
    if (run > kLongestShownLine) {
      out.append(QLatin1Char('\n'));
      run = 1;
    }
    out.append(c);
  }
  return out;
}

}  // namespace

void ReportError(QWidget* parent, const QString& title, const QString& message) {
  const QString full = MessageWithFullStop(message);
  QString shown = full;
  if (full.size() > kLongestShownMessage) {
    const int half = kLongestShownMessage / 2;
    shown = full.left(half) + QStringLiteral(" \u2026 ") + full.right(half);
  }
  shown = BreakLongRuns(shown);
  QMessageBox box(QMessageBox::Critical, title, shown, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);  // the message quotes what the user typed: never markup
  box.setWindowModality(Qt::ApplicationModal);
  // The details keep the whole message as it is; a very long one is broken
  // into lines like the text above, or showing the details would lay out
  // megabytes on one line and freeze the window.
  if (shown != full) box.setDetailedText(full.size() > kLongestUnbrokenDetails ? BreakLongRuns(full) : full);
  box.button(QMessageBox::Ok)->setIcon(QIcon());  // a plain OK, whatever the style's habit
  box.setEscapeButton(QMessageBox::Ok);
  box.exec();
}

}  // namespace soakmark::app
