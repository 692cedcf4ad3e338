// A real X server (Xvfb) with the real program in it, for tests that look
// at the program as a user does: windows found by their titles, screenshots,
// input through xdotool, closing through the window manager protocol.
#pragma once

#include <sys/types.h>

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct _XDisplay;

namespace soakmark::x11 {

// Xlib's own names clash with Qt's; the session speaks of them as these.
using Display = _XDisplay;
using Window = unsigned long;

class XServer {
 public:
  explicit XServer(QSize screen = {1280, 800});  // starts Xvfb on a free display
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  bool Ok() const { return display_ != nullptr; }
  const std::string& Name() const { return name_; }
  Display* Connection() const { return display_; }

  // Top-level windows that are mapped, with the given title.
  std::vector<Window> WindowsTitled(const std::string& title) const;
  std::optional<Window> WaitForWindow(const std::string& title, std::chrono::milliseconds timeout) const;
  std::string Title(Window w) const;
  QRect Geometry(Window w) const;  // in root coordinates
  // The minimum and maximum size the window asks the window manager for.
  std::optional<std::pair<QSize, QSize>> SizeLimits(Window w) const;
  QImage Screenshot(Window w) const;
  QImage Screenshot(Window w, const QRect& area) const;  // a part of the window
  QImage ScreenshotOfScreen() const;
  // Asks the window to close, as a window manager's close box does.
  void RequestClose(Window w) const;
  // Runs xdotool with the arguments on this display; returns its status.
  int Xdotool(const std::string& arguments) const;
  // Asks the window's program for a sign of life (_NET_WM_PING) and waits for
  // the answer: the time it took, or nothing when none came in time.
  std::optional<std::chrono::milliseconds> Ping(Window w, std::chrono::milliseconds timeout) const;

 private:
  pid_t pid_ = -1;
  std::string name_;
  Display* display_ = nullptr;
};

class Program {
 public:
  // Starts the program on the server's display, with extra environment.
  // Its standard error goes to `error_log` when one is given.
  Program(const XServer& server, const std::string& path, const std::map<std::string, std::string>& env = {},
          const std::string& error_log = {});
  ~Program();
  // Waits for the program to end; gives its exit status, or nothing after the timeout.
  std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
};

// Waits a moment for the X server and the program to settle.
void Settle(const XServer& server, std::chrono::milliseconds time = std::chrono::milliseconds(300));

}  // namespace soakmark::x11
