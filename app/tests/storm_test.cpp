// A storm of random user events on the real program: clicks anywhere, drags
// in both charts with both buttons (tiny, huge, reversed, out of the window),
// keys, non-ASCII typing and pastes of up to a megabyte, message boxes
// dismissed as they come. The program must not crash, report nothing under
// the sanitizers, never freeze for more than a second, stay within its
// memory bound, and at the end calculate as on the first day.
//
// The seed is printed; SOAKMARK_STORM_SEED replays a storm, and
// SOAKMARK_STORM_EVENTS sets its length.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "app/tests/x11_session.h"

namespace soakmark::x11 {
namespace {

using namespace std::chrono_literals;

// The resident memory the program may reach in the storm, sanitizers
// included (they keep freed memory in quarantine and shadow all of it).
constexpr long kMemoryBoundKb = 1024 * 1024;
constexpr std::chrono::milliseconds kLongestFreeze = 1000ms;

// The window's areas, as designed.
const QRect kWindow(0, 0, 862, 606);
const QRect kChart1(64, 161 + 36, 265, 337);
const QRect kChart2(432, 161 + 36, 265, 337);
const QRect kResultLine(232, 120, 450, 17);
const QPoint kRecalculate(688 + 80, 24 + 12);
struct FieldPlace {
  QPoint at;
  const char* normal;
};
const FieldPlace kFields[] = {
    {{208 + 80, 24 + 9}, "1.5"}, {{208 + 80, 72 + 9}, "0.5"}, {{464 + 80, 24 + 9}, "2"}, {{464 + 80, 72 + 9}, "5"}};

long ResidentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

std::string Read(const QString& path) {
  QFile file(path);
  file.open(QIODevice::ReadOnly);
  return file.readAll().toStdString();
}

class Storm {
 public:
  Storm(XServer& server, Window main, pid_t pid, std::uint64_t seed, const QTemporaryDir& dir)
      : server_(server), main_(main), pid_(pid), random_(seed), dir_(dir) {}

  int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  // Screen coordinates of a point of the window.
  std::string At(QPoint p) const {
    const QRect g = server_.Geometry(main_);
    return std::to_string(g.x() + p.x()) + " " + std::to_string(g.y() + p.y());
  }

  QPoint Anywhere() { return {Int(-20, kWindow.width() + 20), Int(-20, kWindow.height() + 20)}; }
  QPoint In(const QRect& r) { return {Int(r.left(), r.right()), Int(r.top(), r.bottom())}; }

  void Click() {
    const int button = Int(0, 9) < 7 ? 1 : (Int(0, 1) != 0 ? 3 : 2);
    const std::string repeat = Int(0, 9) == 0 ? " --repeat 2" : "";
    server_.Xdotool("mousemove " + At(Anywhere()) + " click" + repeat + " " + std::to_string(button));
  }

  void Drag() {
    const QRect chart = Int(0, 1) != 0 ? kChart1 : kChart2;
    const int button = Int(0, 1) != 0 ? 1 : 3;
    const QPoint from = In(chart);
    QPoint to;
    switch (Int(0, 3)) {
      case 0:  // tiny
        to = from + QPoint(Int(-16, 16), Int(-16, 16));
        break;
      case 1:  // huge, out of the window
        to = from + QPoint(Int(-2000, 2000), Int(-2000, 2000));
        break;
      case 2:  // reversed: up and to the left
        to = from - QPoint(Int(17, 200), Int(17, 200));
        break;
      default:
        to = In(chart);
    }
    const QPoint middle = (from + to) / 2;
    server_.Xdotool("mousemove " + At(from) + " mousedown " + std::to_string(button) + " mousemove " + At(middle) +
                    " mousemove " + At(to) + " mouseup " + std::to_string(button));
  }

  void Keys() {
    static const char* const keys[] = {
        "Tab",    "shift+Tab", "Return", "space",  "BackSpace", "Delete",       "Left",   "Right",  "Home",
        "End",    "ctrl+a",    "ctrl+z", "ctrl+y", "ctrl+shift+z", "ctrl+c",    "ctrl+x", "ctrl+v", "Up",
        "Down",   "Escape",    "1",      "0",      "period",    "comma",        "minus",  "e",      "E",
        "shift+Left", "shift+End", "ctrl+Left", "ctrl+Right", "ctrl+BackSpace", "Menu", "alt+F4"};
    std::string sequence;
    const int count = Int(1, 4);
    for (int i = 0; i < count; ++i) {
      std::string key = keys[Int(0, static_cast<int>(std::size(keys)) - 1)];
      if (key == "alt+F4") key = "F4";  // closing the window would end the storm
      sequence += " " + key;
    }
    server_.Xdotool("key" + sequence);
  }

  void TypeNonAscii() {
    static const char* const texts[] = {"\xc3\xbc", "\xc3\xa9", "\xe4\xb8\xad\xe6\x96\x87", "\xe2\x88\x9e",
                                        "\xf0\x9f\x92\xa7", "\xd9\x85\xd8\xa7\xd8\xa1", "\xe0\xa4\xb8\xe0\xa4\xbf",
                                        "1,5", "-0.5e3", "<b>x</b>"};
    server_.Xdotool(std::string("type --delay 1 '") + texts[Int(0, static_cast<int>(std::size(texts)) - 1)] + "'");
  }

  void Paste() {
    // A text of up to a megabyte: digits, a number, or mixed scripts.
    static const std::string pieces[] = {"7", "12.5", " ", "\xd9\x85\xd8\xa7\xd8\xa1", "\xe6\xb0\xb4", "e9", "\n"};
    const int size = Int(0, 9) == 0 ? Int(100'000, 1'000'000) : Int(1, 2'000);
    std::string text;
    text.reserve(static_cast<std::size_t>(size) + 8);
    while (static_cast<int>(text.size()) < size) text += pieces[Int(0, static_cast<int>(std::size(pieces)) - 1)];
    const QString path = dir_.filePath(QStringLiteral("paste"));
    std::ofstream(path.toStdString(), std::ios::binary) << text;
    const std::string command = "DISPLAY=" + server_.Name() + " xclip -selection " +
                                (Int(0, 3) == 0 ? "primary" : "clipboard") + " -i '" + path.toStdString() +
                                "' >/dev/null 2>&1";
    std::system(command.c_str());
    if (Int(0, 3) == 0) {
      server_.Xdotool("mousemove " + At(kFields[Int(0, 3)].at) + " click 2");
    } else {
      server_.Xdotool("key ctrl+v");
    }
  }

  void One() {
    const int kind = Int(0, 99);
    if (kind < 30) Click();
    else if (kind < 50) Drag();
    else if (kind < 80) Keys();
    else if (kind < 92) TypeNonAscii();
    else Paste();
  }

  // Message boxes are titled like the program; each is dismissed.
  int DismissBoxes() {
    int dismissed = 0;
    for (int round = 0; round < 5; ++round) {
      bool any = false;
      for (Window w : server_.WindowsTitled("Soakmark")) {
        if (w == main_) continue;
        server_.Xdotool("windowfocus --sync " + std::to_string(w) + " key Return");
        any = true;
        ++dismissed;
      }
      if (!any) break;
      Settle(server_, 50ms);
    }
    return dismissed;
  }

 private:
  XServer& server_;
  Window main_;
  pid_t pid_;
  std::mt19937_64 random_;
  const QTemporaryDir& dir_;
};

TEST(Storm, TheWholeProgramSurvivesRandomUserEvents) {
  std::uint64_t seed = std::random_device{}();
  if (const char* s = std::getenv("SOAKMARK_STORM_SEED")) seed = std::stoull(s);
  int events = 2000;
  if (const char* n = std::getenv("SOAKMARK_STORM_EVENTS")) events = std::stoi(n);
  std::printf("storm seed: %llu (replay with SOAKMARK_STORM_SEED=%llu), %d events\n",
              static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed), events);
  std::fflush(stdout);

  XServer server;
  ASSERT_TRUE(server.Ok());
  QTemporaryDir dir;
  const QString log = dir.filePath(QStringLiteral("stderr"));
  Program program(server, SOAKMARK_PROGRAM, {}, log.toStdString());
  const std::optional<Window> found = server.WaitForWindow("Soakmark", 30s);
  ASSERT_TRUE(found) << "no window";
  const Window main = *found;
  Settle(server, 500ms);
  const QImage normal_results = server.Screenshot(main, kResultLine);  // 13, 10, 0.13 at start

  Storm storm(server, main, program.Pid(), seed, dir);
  std::chrono::milliseconds slowest{0};
  long peak_kb = 0;
  int boxes = 0;
  for (int i = 0; i < events; ++i) {
    storm.One();
    boxes += storm.DismissBoxes();
    const std::optional<int> ended = program.WaitForExit(0ms);
    ASSERT_FALSE(ended) << "the program ended with status " << ended.value_or(0) << " at event " << i << "\n"
                        << Read(log);
    if (i % 10 == 9) {
      const std::optional<std::chrono::milliseconds> answer = server.Ping(main, 5 * kLongestFreeze);
      ASSERT_TRUE(answer) << "no answer for 5 s at event " << i;
      slowest = std::max(slowest, *answer);
      EXPECT_LE(answer->count(), kLongestFreeze.count()) << "frozen at event " << i;
      peak_kb = std::max(peak_kb, ResidentKb(program.Pid()));
    }
  }
  std::printf("storm: %d events, %d message boxes, slowest answer %lld ms, peak memory %ld MB\n", events, boxes,
              static_cast<long long>(slowest.count()), peak_kb / 1024);
  EXPECT_LE(peak_kb, kMemoryBoundKb);

  // Calm again: close menus and boxes, then a normal calculation.
  server.Xdotool("key Escape Escape");
  storm.DismissBoxes();
  for (const FieldPlace& field : kFields) {
    server.Xdotool("mousemove " + storm.At(field.at) + " click 1 key ctrl+a BackSpace type '" + field.normal + "'");
  }
  server.Xdotool("mousemove " + storm.At(kRecalculate) + " click 1");
  Settle(server, 500ms);
  storm.DismissBoxes();
  EXPECT_EQ(server.Screenshot(main, kResultLine), normal_results) << "the result line does not read 13, 10, 0.13";

  server.RequestClose(main);
  const std::optional<int> status = program.WaitForExit(60s);
  ASSERT_TRUE(status) << "the program did not end";
  EXPECT_EQ(*status, 0);
  const std::string errors = Read(log);
  for (const char* report : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:"}) {
    EXPECT_EQ(errors.find(report), std::string::npos) << errors;
  }
}

}  // namespace
}  // namespace soakmark::x11
