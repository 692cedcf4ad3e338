// How a failure reaches the user: one modal message box for the whole program.
#pragma once

#include <QString>

class QWidget;

namespace soakmark::app {

// The program's title, from the path of its file: the name after the last
// "/", cut at its first ".", the first character upper case and the rest
// lower case. "/opt/Apps/MYPROG.EXE" gives "Myprog", "my.prog.old.exe" "My".
QString ApplicationTitle(const QString& program_path);

// The message as the box shows it: a full stop is appended when the message
// is not empty and its last character comes after "." in character-code
// order: "Invalid floating point operation" and "Why?" get one, "Done.",
// "Stop!" and "(see above)" do not.
QString MessageWithFullStop(const QString& message);

// Messages longer than this are shortened in the middle in the box itself,
// which also offers the whole text under "Show Details...".
inline constexpr int kLongestShownMessage = 400;
// Runs of more characters without a space are broken into lines in the box.
inline constexpr int kLongestShownLine = 80;
// Details longer than this are broken into lines as the text is.
inline constexpr int kLongestUnbrokenDetails = 100'000;

// Shows the message in a modal box with the error icon and one OK button,
// titled with the application title, and returns when the user has closed it.
void ReportError(QWidget* parent, const QString& title, const QString& message);

}  // namespace soakmark::app
