// Start-up of Soakmark against the baseline program, side by side in one run
// under Xvfb: the time from starting the program until its window shows its
// painted top panel, and the program's resident memory at that moment.
//   startup_bench SOAKMARK BASELINE [ROUNDS]
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
  return 0;
}
