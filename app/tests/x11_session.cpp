#include "app/tests/x11_session.h"

#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <thread>

namespace soakmark::x11 {

namespace {

void Sleep(std::chrono::milliseconds ms) { std::this_thread::sleep_for(ms); }

}  // namespace

XServer::XServer(QSize screen) {
  int fds[2];
  if (pipe(fds) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    close(fds[0]);
    const int devnull = open("/dev/null", O_WRONLY);
    dup2(devnull, 1);
    dup2(devnull, 2);
    const std::string fd = std::to_string(fds[1]);
    const std::string size = std::to_string(screen.width()) + "x" + std::to_string(screen.height()) + "x24";
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", size.c_str(), "-nolisten", "tcp", "-noreset",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  char buffer[32] = {};
  std::size_t used = 0;
  while (used + 1 < sizeof buffer) {
    const ssize_t n = read(fds[0], buffer + used, sizeof buffer - 1 - used);
    if (n <= 0) break;
    used += static_cast<std::size_t>(n);
    if (std::memchr(buffer, '\n', used) != nullptr) break;
  }
  close(fds[0]);
  if (used == 0) return;
  name_.assign(1, ':').append(buffer, std::strcspn(buffer, "\n"));
  display_ = XOpenDisplay(name_.c_str());
}

XServer::~XServer() {
  if (display_ != nullptr) XCloseDisplay(display_);
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
}

std::string XServer::Title(Window w) const {
  XTextProperty property;
  std::string title;
  const Atom net_wm_name = XInternAtom(display_, "_NET_WM_NAME", False);
  if (XGetTextProperty(display_, w, &property, net_wm_name) != 0 && property.value != nullptr) {
    title.assign(reinterpret_cast<char*>(property.value), property.nitems);
    XFree(property.value);
  } else if (XGetWMName(display_, w, &property) != 0 && property.value != nullptr) {
    title.assign(reinterpret_cast<char*>(property.value), property.nitems);
    XFree(property.value);
  }
  return title;
}

std::vector<Window> XServer::WindowsTitled(const std::string& title) const {
  std::vector<Window> found;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  XSync(display_, False);
  if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count) == 0) return found;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, children[i], &attributes) == 0 || attributes.map_state != IsViewable) continue;
    if (Title(children[i]) == title) found.push_back(children[i]);
  }
  if (children != nullptr) XFree(children);
  return found;
}

std::optional<Window> XServer::WaitForWindow(const std::string& title, std::chrono::milliseconds timeout) const {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    const std::vector<Window> windows = WindowsTitled(title);
    if (!windows.empty()) return windows.front();
    Sleep(std::chrono::milliseconds(50));
  }
  return std::nullopt;
}

QRect XServer::Geometry(Window w) const {
  XWindowAttributes a;
  XGetWindowAttributes(display_, w, &a);
  int x = 0, y = 0;
  Window child = 0;
  XTranslateCoordinates(display_, w, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
  return {x, y, a.width, a.height};
}

std::optional<std::pair<QSize, QSize>> XServer::SizeLimits(Window w) const {
  XSizeHints hints;
  long supplied = 0;
  if (XGetWMNormalHints(display_, w, &hints, &supplied) == 0) return std::nullopt;
  if ((hints.flags & PMinSize) == 0 || (hints.flags & PMaxSize) == 0) return std::nullopt;
  return std::make_pair(QSize(hints.min_width, hints.min_height), QSize(hints.max_width, hints.max_height));
}

QImage XServer::Screenshot(Window w) const {
  XWindowAttributes a;
  XGetWindowAttributes(display_, w, &a);
  return Screenshot(w, QRect(0, 0, a.width, a.height));
}

QImage XServer::Screenshot(Window w, const QRect& area) const {
  XSync(display_, False);
  XImage* image = XGetImage(display_, w, area.x(), area.y(), area.width(), area.height(), AllPlanes, ZPixmap);
  if (image == nullptr) return {};
  QImage shot(area.width(), area.height(), QImage::Format_RGB32);
  for (int y = 0; y < area.height(); ++y) {
    for (int x = 0; x < area.width(); ++x) shot.setPixel(x, y, static_cast<QRgb>(XGetPixel(image, x, y)) | 0xFF000000u);
  }
  XDestroyImage(image);
  return shot;
}

QImage XServer::ScreenshotOfScreen() const { return Screenshot(DefaultRootWindow(display_)); }

void XServer::RequestClose(Window w) const {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = w;
  event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, w, False, NoEventMask, &event);
  XFlush(display_);
}

int XServer::Xdotool(const std::string& arguments) const {
  const std::string command = "DISPLAY=" + name_ + " xdotool " + arguments + " >/dev/null 2>&1";
  return std::system(command.c_str());
}

std::optional<std::chrono::milliseconds> XServer::Ping(Window w, std::chrono::milliseconds timeout) const {
  static long stamp = 1000;
  const long sent = ++stamp;
  const Window root = DefaultRootWindow(display_);
  const Atom protocols = XInternAtom(display_, "WM_PROTOCOLS", False);
  const Atom ping = XInternAtom(display_, "_NET_WM_PING", False);
  XSelectInput(display_, root, StructureNotifyMask);  // where the answer is sent
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = w;
  event.xclient.message_type = protocols;
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(ping);
  event.xclient.data.l[1] = sent;
  event.xclient.data.l[2] = static_cast<long>(w);
  const auto start = std::chrono::steady_clock::now();
  XSendEvent(display_, w, False, NoEventMask, &event);
  XFlush(display_);
  // The program sends the message back to the root window.
  while (std::chrono::steady_clock::now() - start < timeout) {
    while (XPending(display_) > 0) {
      XEvent reply;
      XNextEvent(display_, &reply);
      if (reply.type == ClientMessage && reply.xclient.message_type == protocols &&
          static_cast<Atom>(reply.xclient.data.l[0]) == ping && reply.xclient.data.l[1] == sent) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
      }
    }
    Sleep(std::chrono::milliseconds(1));
  }
  return std::nullopt;
}

Program::Program(const XServer& server, const std::string& path, const std::map<std::string, std::string>& env,
                 const std::string& error_log) {
  pid_ = fork();
  if (pid_ == 0) {
    if (!error_log.empty()) {
      const int fd = open(error_log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (fd >= 0) dup2(fd, 2);
    }
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("QT_QPA_PLATFORM");
    setenv("LC_ALL", "C", 1);
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
}

Program::~Program() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

std::optional<int> Program::WaitForExit(std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  do {  // at least once, so that a timeout of zero asks whether it has ended
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (std::chrono::steady_clock::now() >= end) break;
    Sleep(std::chrono::milliseconds(20));
  } while (true);
  return std::nullopt;
}

void Settle(const XServer& server, std::chrono::milliseconds time) {
  XSync(server.Connection(), False);
  Sleep(time);
}

}  // namespace soakmark::x11
