// Start-up of Soakmark against the baseline program, side by side in one run
// under Xvfb: the time from starting the program until its window shows its
// painted panels, the program's resident memory at that moment, and the
// instructions it took to get there, counted by callgrind (which, unlike a
// time, does not change from run to run).
//   startup_bench SOAKMARK BASELINE [ROUNDS]
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/tests/x11_session.h"

using namespace std::chrono;
using soakmark::x11::XServer;

namespace {

long ResidentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

struct Sample {
  double ms;
  long kib;
};

// Starts the program and polls the screen until the top panel is painted.
Sample Measure(const XServer& server, const std::string& path, const std::string& title) {
  const auto start = steady_clock::now();
  const soakmark::x11::Program program(server, path);  // ended when it goes out of scope
  Sample sample{-1, -1};
  while (steady_clock::now() - start < seconds(20)) {
    for (soakmark::x11::Window w : server.WindowsTitled(title)) {
      const QImage shot = server.Screenshot(w);
      if (!shot.isNull() && shot.width() > 300 && shot.pixel(300, 150) == qRgb(0, 128, 128) &&
          shot.pixel(20, 300) == qRgb(240, 202, 166)) {
        sample = {duration<double, std::milli>(steady_clock::now() - start).count(), ResidentKiB(program.Pid())};
        break;
      }
    }
    if (sample.ms >= 0) break;
    std::this_thread::sleep_for(milliseconds(2));
  }
  return sample;
}

bool Painted(const XServer& server, const std::string& title) {
  for (soakmark::x11::Window w : server.WindowsTitled(title)) {
    const QImage shot = server.Screenshot(w);
    if (!shot.isNull() && shot.width() > 300 && shot.pixel(300, 150) == qRgb(0, 128, 128) &&
        shot.pixel(20, 300) == qRgb(240, 202, 166)) {
      return true;
    }
  }
  return false;
}

// The instructions from the program's start until its window shows its
// painted panels: the program runs under callgrind and is ended as soon as
// the panels show. Gives -1 when that fails.
long long Instructions(const XServer& server, const std::string& path, const std::string& title) {
  char out[] = "/tmp/soakmark-callgrind-XXXXXX";
  const int fd = mkstemp(out);
  if (fd < 0) return -1;
  close(fd);
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("DISPLAY", server.Name().c_str(), 1);
    unsetenv("QT_QPA_PLATFORM");
    setenv("LC_ALL", "C", 1);
    const std::string out_option = std::string("--callgrind-out-file=") + out;
    freopen("/dev/null", "w", stderr);
    execlp("valgrind", "valgrind", "--tool=callgrind", out_option.c_str(), path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  const auto start = steady_clock::now();
  bool painted = false;
  while (!painted && steady_clock::now() - start < seconds(120)) {
    std::this_thread::sleep_for(milliseconds(20));
    painted = Painted(server, title);
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  long long total = -1;
  std::ifstream file(out);
  for (std::string line; std::getline(file, line);) {
    if (line.rfind("summary:", 0) == 0) total = std::stoll(line.substr(8));
  }
  std::remove(out);
  return painted ? total : -1;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s SOAKMARK BASELINE [ROUNDS]\n", argv[0]);
    return 2;
  }
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 15;
  XServer server;
  if (!server.Ok()) {
    std::fprintf(stderr, "Xvfb did not start\n");
    return 1;
  }
  Measure(server, argv[1], "Soakmark");  // warm the file cache for both
  Measure(server, argv[2], "Baseline");
  std::vector<double> ours_ms, base_ms, ours_kib, base_kib;
  for (int i = 0; i < rounds; ++i) {  // alternate, so that both see the same machine
    const Sample ours = Measure(server, argv[1], "Soakmark");
    const Sample base = Measure(server, argv[2], "Baseline");
    if (ours.ms < 0 || base.ms < 0) {
      std::fprintf(stderr, "a program did not show its window\n");
      return 1;
    }
    ours_ms.push_back(ours.ms);
    base_ms.push_back(base.ms);
    ours_kib.push_back(static_cast<double>(ours.kib));
    base_kib.push_back(static_cast<double>(base.kib));
  }
  const double t = Median(ours_ms), tb = Median(base_ms), m = Median(ours_kib), mb = Median(base_kib);
  std::printf("start-up to first painted frame (median of %d): soakmark %.1f ms, baseline %.1f ms, ratio %.3f\n",
              rounds, t, tb, t / tb);
  std::printf("resident memory at that moment (median):      soakmark %.0f KiB, baseline %.0f KiB, ratio %.3f\n", m,
              mb, m / mb);
  const long long ours_ir = Instructions(server, argv[1], "Soakmark");
  const long long base_ir = Instructions(server, argv[2], "Baseline");
  if (ours_ir < 0 || base_ir < 0) {
    std::printf("instructions: callgrind did not give a count (is valgrind installed?)\n");
    return 0;
  }
  std::printf("instructions to that moment (callgrind):      soakmark %.1f M, baseline %.1f M, ratio %.3f\n",
              static_cast<double>(ours_ir) / 1e6, static_cast<double>(base_ir) / 1e6,
              static_cast<double>(ours_ir) / static_cast<double>(base_ir));
  return 0;
}
