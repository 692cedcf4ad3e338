// The real program in a real X server, seen and driven as a user does.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <fstream>
#include <sstream>
#include <optional>
#include <string>
#include <vector>

#include "app/tests/x11_session.h"
#include "calc/wetting_front.h"

namespace soakmark::x11 {
namespace {

using namespace std::chrono_literals;

// The charts' places in the window: Panel2 starts 161 pixels down.
constexpr int kPanel2Top = 161;
const QRect kChart1(64, kPanel2Top + 36, 265, 337);
const QRect kChart2(432, kPanel2Top + 36, 265, 337);

QString ShotPath(const char* name) {
  const QByteArray dir = qgetenv("SOAKMARK_SHOTS");
  return QDir(dir.isEmpty() ? QString::fromUtf8(SOAKMARK_SHOTS_DIR) : QString::fromUtf8(dir)).filePath(name);
}

bool IsBlack(QRgb p) { return qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60; }
bool IsNavy(QRgb p) { return qBlue(p) > 100 && qRed(p) < 40 && qGreen(p) < 40; }

// The plot area of a chart in a screenshot, found from its black frame, and
// the navy figure inside it.
struct ChartReading {
  int left = 0, top = 0, right = 0, bottom = 0;  // the frame
  std::optional<QRect> figure;                   // the figure's pixels

  double X(double mm) const { return left + (mm + 1000) / 2000 * (right - left); }
  double Y(double mm) const { return top + mm / 1000 * (bottom - top); }
};

ChartReading Read(const QImage& shot, const QRect& chart) {
  ChartReading r;
  const int cx = chart.center().x();
  // Down the middle: the title is blue, the first black line is the frame's top.
  int y = chart.top() + 5;
  while (y < chart.bottom() && !IsBlack(shot.pixel(cx, y))) ++y;
  r.top = y;
  int x = cx;
  while (x > chart.left() && IsBlack(shot.pixel(x - 1, r.top))) --x;
  r.left = x + 1;  // the axis line stands one pixel outside the frame
  x = cx;
  while (x < chart.right() && IsBlack(shot.pixel(x + 1, r.top))) ++x;
  r.right = x;
  // The left axis line runs down the frame's left side to its bottom.
  y = r.top;
  while (y < chart.bottom() && IsBlack(shot.pixel(r.left - 1, y + 1))) ++y;
  r.bottom = y;
  // Inside the frame only the figure (navy, outlined in black) and the gray
  // dotted grid are drawn.
  for (int yy = r.top + 1; yy < r.bottom; ++yy) {
    for (int xx = r.left + 1; xx < r.right; ++xx) {
      if (!IsNavy(shot.pixel(xx, yy)) && !IsBlack(shot.pixel(xx, yy))) continue;
      r.figure = r.figure ? r.figure->united(QRect(xx, yy, 1, 1)) : QRect(xx, yy, 1, 1);
    }
  }
  return r;
}

// The figure of a front hangs from the top of the frame, centred on radius 0,
// as wide and as deep as the front (to within the outline and a pixel).
void ExpectFront(const ChartReading& r, const calc::TWettingFront& front) {
  ASSERT_TRUE(r.figure) << "no figure";
  const double radius = 10 * front.Radius;
  const double depth = std::min(10 * front.Depth, 1000.0);
  EXPECT_EQ(r.figure->top(), r.top + 1);
  EXPECT_NEAR(r.figure->left(), std::max(r.X(-radius), r.left + 1.0), 2.5);
  EXPECT_NEAR(r.figure->right(), std::min(r.X(radius), r.right - 1.0), 2.5);
  EXPECT_NEAR(r.figure->bottom(), std::min(r.Y(depth), r.bottom - 1.0), 2.5);
}

class RealProgram : public ::testing::Test {
 protected:
  explicit RealProgram(QSize screen = {1280, 800}) : server(screen) {}
  void SetUp() override { ASSERT_TRUE(server.Ok()) << "Xvfb did not start"; }

  // Starts the program and waits for its main window.
  Window StartMainWindow(std::map<std::string, std::string> env = {}) {
    program.emplace(server, SOAKMARK_PROGRAM, env);
    const std::optional<Window> w = server.WaitForWindow("Soakmark", 20s);
    if (!w) ADD_FAILURE() << "no window titled Soakmark";
    Settle(server);
    return w.value_or(0);
  }
  void Click(Window w, int x, int y, int button = 1) {
    const QRect g = server.Geometry(w);
    server.Xdotool("mousemove " + std::to_string(g.x() + x) + " " + std::to_string(g.y() + y) + " click " +
                   std::to_string(button));
    Settle(server, 150ms);
  }
  void Type(const std::string& text) {
    server.Xdotool("key ctrl+a");
    server.Xdotool("type --delay 20 '" + text + "'");
  }
  void CloseAndExpectCleanExit(Window w) {
    server.RequestClose(w);
    const std::optional<int> status = program->WaitForExit(10s);
    ASSERT_TRUE(status) << "the program did not end";
    EXPECT_EQ(*status, 0);
  }

  XServer server;
  std::optional<Program> program;
};

TEST_F(RealProgram, StartsShowsItsWindowAndEndsWhenClosed) {
  const Window w = StartMainWindow();
  ASSERT_NE(w, 0u);
  EXPECT_EQ(server.Geometry(w).size(), QSize(862, 606));
  const auto limits = server.SizeLimits(w);
  ASSERT_TRUE(limits) << "the window does not tell the window manager its fixed size";
  EXPECT_EQ(limits->first, QSize(862, 606));
  EXPECT_EQ(limits->second, QSize(862, 606));
  // Centred on the 1280 × 800 screen.
  EXPECT_NEAR(server.Geometry(w).x(), (1280 - 862) / 2, 2);
  EXPECT_NEAR(server.Geometry(w).y(), (800 - 606) / 2, 2);

  const QImage shot = server.Screenshot(w);
  ASSERT_TRUE(shot.save(ShotPath("soakmark.png")));
  EXPECT_EQ(shot.pixel(300, 150), qRgb(0, 128, 128));    // Panel1
  EXPECT_EQ(shot.pixel(20, 300), qRgb(240, 202, 166));   // Panel2
  EXPECT_EQ(shot.pixel(150, 60), qRgb(192, 192, 192));   // the soil water choice
  ExpectFront(Read(shot, kChart1), calc::CalcFronts(10, calc::SoilCondition::Moist)[0]);
  ExpectFront(Read(shot, kChart2), calc::CalcFronts(10, calc::SoilCondition::Moist)[1]);
  CloseAndExpectCleanExit(w);
}

TEST_F(RealProgram, FollowsTheUserThroughInputsConditionsAndZoom) {
  const Window w = StartMainWindow();
  ASSERT_NE(w, 0u);
  // Rate 20 l/h for 5 h: 100 litres per emitter.
  Click(w, 464 + 80, 24 + 9);
  Type("20");
  Click(w, 688 + 80, 24 + 12);
  QImage shot = server.Screenshot(w);
  shot.save(ShotPath("hundred-litres.png"));
  ExpectFront(Read(shot, kChart1), calc::CalcFronts(100, calc::SoilCondition::Moist)[0]);
  ExpectFront(Read(shot, kChart2), calc::CalcFronts(100, calc::SoilCondition::Moist)[1]);  // cut at 1000 mm

  // "dry", the second item of the group at 8, 8.
  Click(w, 8 + 8 + 20, 8 + 53 + 18);
  shot = server.Screenshot(w);
  shot.save(ShotPath("dry.png"));
  ExpectFront(Read(shot, kChart1), calc::CalcFronts(100, calc::SoilCondition::Dry)[0]);
  ExpectFront(Read(shot, kChart2), calc::CalcFronts(100, calc::SoilCondition::Dry)[1]);

  // Zoom the wide chart to radius 0 to 800 and depth 0 to 900.
  ChartReading before = Read(shot, kChart1);
  const QRect g = server.Geometry(w);
  const int x0 = g.x() + static_cast<int>(std::lround(before.X(0)));
  const int y0 = g.y() + static_cast<int>(std::lround(before.Y(0)));
  const int x1 = g.x() + static_cast<int>(std::lround(before.X(800)));
  const int y1 = g.y() + static_cast<int>(std::lround(before.Y(900)));
  server.Xdotool("mousemove " + std::to_string(x0) + " " + std::to_string(y0) + " mousedown 1 mousemove " +
                 std::to_string((x0 + x1) / 2) + " " + std::to_string((y0 + y1) / 2) + " mousemove " +
                 std::to_string(x1) + " " + std::to_string(y1) + " mouseup 1");
  Settle(server);
  shot = server.Screenshot(w);
  shot.save(ShotPath("zoomed.png"));
  const ChartReading zoomed = Read(shot, kChart1);
  ASSERT_TRUE(zoomed.figure);
  // Radius 0 is now on the left edge, and the front fills the new ranges.
  const calc::TWettingFront dry = calc::CalcFronts(100, calc::SoilCondition::Dry)[0];
  EXPECT_LE(zoomed.figure->left(), zoomed.left + 3);
  EXPECT_NEAR(zoomed.figure->right(), zoomed.left + 10 * dry.Radius / 800 * (zoomed.right - zoomed.left), 4);
  EXPECT_NEAR(zoomed.figure->bottom(), zoomed.top + 10 * dry.Depth / 900 * (zoomed.bottom - zoomed.top), 4);
  // A drag up and to the left brings the designed ranges back.
  server.Xdotool("mousemove " + std::to_string(x1) + " " + std::to_string(y1) + " mousedown 1 mousemove " +
                 std::to_string(x0) + " " + std::to_string(y0) + " mouseup 1");
  Settle(server);
  shot = server.Screenshot(w);
  ExpectFront(Read(shot, kChart1), calc::CalcFronts(100, calc::SoilCondition::Dry)[0]);
  CloseAndExpectCleanExit(w);
}

TEST_F(RealProgram, StartUpFailureUnderACommaLocaleShowsItsMessageThenTheWindow) {
  program.emplace(server, SOAKMARK_PROGRAM, std::map<std::string, std::string>{{"LC_ALL", "de_DE.UTF-8"}});
  // The box comes first, titled like the program; the window is not shown yet.
  const std::optional<Window> box = server.WaitForWindow("Soakmark", 20s);
  ASSERT_TRUE(box);
  Settle(server);
  EXPECT_LT(server.Geometry(*box).width(), 862);
  server.Screenshot(*box).save(ShotPath("comma-message.png"));
  server.Xdotool("windowfocus --sync " + std::to_string(*box) + " key Return");

  std::optional<Window> main;
  for (int i = 0; i < 100 && !main; ++i) {
    for (Window w : server.WindowsTitled("Soakmark")) {
      if (server.Geometry(w).size() == QSize(862, 606)) main = w;
    }
    Settle(server, 100ms);
  }
  ASSERT_TRUE(main) << "the window did not follow the message";
  Settle(server);
  const QImage shot = server.Screenshot(*main);
  shot.save(ShotPath("comma-window.png"));
  // The initial shapes: a sliver 30 to 70 mm right of the centre down to
  // 300 mm, and an ellipse from 0 to 100 mm across and down.
  const ChartReading wide = Read(shot, kChart1);
  ASSERT_TRUE(wide.figure);
  EXPECT_NEAR(wide.figure->left(), wide.X(30), 2.5);
  EXPECT_NEAR(wide.figure->right(), wide.X(70), 2.5);
  EXPECT_NEAR(wide.figure->bottom(), wide.Y(300), 2.5);
  const ChartReading narrow = Read(shot, kChart2);
  ASSERT_TRUE(narrow.figure);
  EXPECT_NEAR(narrow.figure->left(), narrow.X(0), 2.5);
  EXPECT_NEAR(narrow.figure->right(), narrow.X(100), 2.5);
  EXPECT_NEAR(narrow.figure->bottom(), narrow.Y(100), 2.5);
  CloseAndExpectCleanExit(*main);
}

// The widths of the runs of gray grid pixels across one direction of a
// chart's plot area: rows (or columns) where at least a fifth of the pixels
// are the grid's gray, grouped where they touch.
std::vector<int> GridLineWidths(const QImage& shot, const QRect& plot, bool horizontal_lines) {
  const int lines = horizontal_lines ? plot.height() : plot.width();
  const int along = horizontal_lines ? plot.width() : plot.height();
  std::vector<int> widths;
  int run = 0;
  for (int i = 0; i < lines; ++i) {
    int gray = 0;
    for (int j = 0; j < along; ++j) {
      const QRgb p = horizontal_lines ? shot.pixel(plot.left() + j, plot.top() + i) : shot.pixel(plot.left() + i, plot.top() + j);
      if (p == qRgb(128, 128, 128)) ++gray;
    }
    if (gray * 5 >= along) {
      ++run;
    } else if (run > 0) {
      widths.push_back(run);
      run = 0;
    }
  }
  if (run > 0) widths.push_back(run);
  return widths;
}

// A screen large enough for the window at 175 %.
class LargeScreen : public RealProgram {
 protected:
  LargeScreen() : RealProgram({1600, 1100}) {}
};

// On a scaled screen every grid line of a chart has the same width, the
// scale rounded to whole pixels, and so does the frame.
TEST_F(LargeScreen, ScaledScreensKeepEvenLineWidths) {
  for (const char* factor : {"1.25", "1.5", "1.75"}) {
    SCOPED_TRACE(factor);
    const double scale = std::stod(factor);
    const int width = static_cast<int>(std::lround(std::max(1.0, std::round(scale))));
    const Window w = StartMainWindow({{"QT_SCALE_FACTOR", factor}});
    ASSERT_NE(w, 0u);
    const QImage shot = server.Screenshot(w);
    shot.save(ShotPath((std::string("scaled-") + factor + ".png").c_str()));
    const QRect chart(static_cast<int>(kChart1.x() * scale), static_cast<int>(kChart1.y() * scale),
                      static_cast<int>(kChart1.width() * scale), static_cast<int>(kChart1.height() * scale));
    const ChartReading r = Read(shot, chart);
    // The plot area's interior, right of the figure, where only the grid is drawn.
    const QRect right_half(static_cast<int>(r.X(450)), r.top + 3 * width, r.right - 3 * width - static_cast<int>(r.X(450)),
                           r.bottom - r.top - 6 * width);
    const QRect interior(r.left + 3 * width, static_cast<int>(r.Y(460)), r.right - r.left - 6 * width,
                         r.bottom - 3 * width - static_cast<int>(r.Y(460)));
    const std::vector<int> rows = GridLineWidths(shot, right_half, true);
    const std::vector<int> columns = GridLineWidths(shot, interior, false);
    EXPECT_GE(rows.size(), 5u);
    EXPECT_GE(columns.size(), 3u);
    for (int v : rows) EXPECT_EQ(v, width) << "a horizontal grid line";
    for (int v : columns) EXPECT_EQ(v, width) << "a vertical grid line";
    // The frame: its top side is `width` rows of black below the title.
    int top_rows = 0;
    const int x = static_cast<int>(r.X(700));
    for (int y = r.top; y < shot.height() && IsBlack(shot.pixel(x, y)); ++y) ++top_rows;
    EXPECT_EQ(top_rows, width) << "the frame's top side";
    CloseAndExpectCleanExit(w);
  }
}

// Relative luminance contrast of two pixels, as for text on its background.
double Contrast(QRgb a, QRgb b) {
  const auto lum = [](QRgb p) {
    const auto lin = [](int c) {
      const double v = c / 255.0;
      return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(qRed(p)) + 0.7152 * lin(qGreen(p)) + 0.0722 * lin(qBlue(p));
  };
  const double la = lum(a), lb = lum(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The strongest contrast between any pixel of an area and a background colour:
// a text's core pixels carry its full colour.
double StrongestContrast(const QImage& shot, const QRect& area, QRgb background) {
  double best = 1;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) best = std::max(best, Contrast(shot.pixel(x, y), background));
  }
  return best;
}

// A dark GTK desktop: the soil water choice keeps black text on its silver
// and a clearly marked selection; the button's text reads on its face.
TEST_F(RealProgram, DarkDesktopKeepsEveryTextLegible) {
  const Window w = StartMainWindow({{"QT_QPA_PLATFORMTHEME", "gtk3"}, {"GTK_THEME", "Adwaita:dark"}});
  ASSERT_NE(w, 0u);
  const QImage shot = server.Screenshot(w);
  shot.save(ShotPath("dark-desktop.png"));
  const QRgb silver = qRgb(192, 192, 192);
  // The desktop really is dark: the button's face.
  const QRgb face = shot.pixel(688 + 20, 24 + 12);
  EXPECT_LT(qGray(face), 100) << "the dark palette did not take effect";
  EXPECT_GE(StrongestContrast(shot, QRect(8 + 12, 8, 170, 14), silver), 4.5) << "the group's caption";
  for (int item = 0; item < 3; ++item) {
    SCOPED_TRACE(item);
    EXPECT_GE(StrongestContrast(shot, QRect(8 + 26, 8 + 17 + 36 * item + 10, 60, 16), silver), 4.5) << "an item";
  }
  // The selected item's indicator: a dark mark on a light disc.
  const QRect indicator(8 + 8, 8 + 17 + 10, 16, 16);
  EXPECT_GE(StrongestContrast(shot, indicator, qRgb(255, 255, 255)), 4.5);
  EXPECT_GE(StrongestContrast(shot, QRect(688 + 40, 24 + 5, 80, 15), face), 4.5) << "the button's text";
  CloseAndExpectCleanExit(w);
}

// Resident memory and CPU time (user and system) of a process, from /proc.
struct Usage {
  long rss_kb = 0;
  double cpu_seconds = 0;
};
Usage UsageOf(pid_t pid) {
  Usage u;
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) u.rss_kb = std::stol(line.substr(6));
  }
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string all((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::istringstream fields(all.substr(all.rfind(')') + 2));
  std::string field;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) u.cpu_seconds += std::stod(field);
    if (i == 15) u.cpu_seconds += std::stod(field);
  }
  u.cpu_seconds /= static_cast<double>(sysconf(_SC_CLK_TCK));
  return u;
}

// Puts a file's text on the clipboard, as a person's copy elsewhere does.
void ToClipboard(const XServer& server, const QString& path) {
  const std::string command =
      "DISPLAY=" + server.Name() + " xclip -selection clipboard -i '" + path.toStdString() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
}

QString WriteText(const QTemporaryDir& dir, const char* name, const QString& text) {
  const QString path = dir.filePath(QString::fromUtf8(name));
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(text.toUtf8());
  return path;
}

// A megabyte of text in several scripts: Latin, Arabic, Devanagari, CJK.
QString MixedScripts(qsizetype bytes) {
  const QString piece = QString::fromUtf8("Drip 12,5 l/h ماء الري "
                                          "सिंचाई 灌溉水 ");
  QString text;
  while (text.toUtf8().size() < bytes) text += piece.repeated(1000);
  return text;
}

class HugeTexts : public RealProgram {
 protected:
  // Sends keys and waits until the area of the window changes: the time
  // from the keys to the new pixels.
  std::chrono::milliseconds KeysUntilChange(Window w, const std::string& keys, const QRect& area,
                                            std::chrono::milliseconds limit = 10s) {
    const QImage before = server.Screenshot(w, area);
    const auto start = std::chrono::steady_clock::now();
    server.Xdotool("key " + keys);
    while (std::chrono::steady_clock::now() - start < limit) {
      if (server.Screenshot(w, area) != before) break;
      Settle(server, 1ms);
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  }
  // Waits until the window has painted everything it was asked to.
  void Quiet(Window w, const QRect& area) {
    QImage last = server.Screenshot(w, area);
    for (int i = 0; i < 100; ++i) {
      Settle(server, 30ms);
      const QImage now = server.Screenshot(w, area);
      if (now == last) return;
      last = now;
    }
  }
};

// A person pastes ten megabytes into a field, types, deletes, recalculates
// and clears: every step answers at once, the idle program uses no CPU, and
// pasting a megabyte and clearing it again and again does not pile up memory.
TEST_F(HugeTexts, PastedMegabytesStayInstant) {
  QTemporaryDir dir;
  const QString digits = WriteText(dir, "digits", QString(10'000'000, QLatin1Char('7')));
  const QString mixed = WriteText(dir, "mixed", MixedScripts(1'000'000));
  const Window w = StartMainWindow();
  ASSERT_NE(w, 0u);
  const QRect rate(464, 24, 161, 19);
  Click(w, rate.x() + 80, rate.y() + 9);

  ToClipboard(server, digits);
  KeysUntilChange(w, "ctrl+a", rate);
  Quiet(w, rate);
  const auto paste = KeysUntilChange(w, "ctrl+v", rate);
  Quiet(w, rate);
  const auto key = KeysUntilChange(w, "8", rate);
  Quiet(w, rate);
  server.Screenshot(w).save(ShotPath("ten-megabytes.png"));
  const auto home = KeysUntilChange(w, "Home", rate);
  Quiet(w, rate);
  // Into the middle: Ctrl+Right jumps over the run of digits, then back.
  for (int i = 0; i < 40; ++i) server.Xdotool("key Right");
  Quiet(w, rate);
  server.Screenshot(w).save(ShotPath("scrolled-into-the-text.png"));
  KeysUntilChange(w, "ctrl+a", rate);
  Quiet(w, rate);
  const auto clear = KeysUntilChange(w, "BackSpace", rate);
  Quiet(w, rate);
  std::printf("10 MB of digits: paste %lld ms, key %lld ms, Home %lld ms, select all and delete %lld ms\n",
              static_cast<long long>(paste.count()), static_cast<long long>(key.count()),
              static_cast<long long>(home.count()), static_cast<long long>(clear.count()));
  EXPECT_LT(paste.count(), 3000);
  EXPECT_LT(key.count(), 250);
  EXPECT_LT(home.count(), 250);
  EXPECT_LT(clear.count(), 500);

  // Recalculate with the ten megabytes in the field: the message comes at once.
  ToClipboard(server, digits);
  KeysUntilChange(w, "ctrl+v", rate);
  Quiet(w, rate);
  const auto start = std::chrono::steady_clock::now();
  Click(w, 688 + 80, 24 + 12);
  std::optional<Window> box;
  while (!box && std::chrono::steady_clock::now() - start < 10s) {
    for (Window candidate : server.WindowsTitled("Soakmark")) {
      if (candidate != w) box = candidate;
    }
  }
  const auto message = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  ASSERT_TRUE(box) << "no message";
  std::printf("Recalculate to its message: %lld ms\n", static_cast<long long>(message.count()));
  EXPECT_LT(message.count(), 3000);
  Settle(server);
  // "Show Details..." lays out the whole message at once, too.
  const int closed_height = server.Geometry(*box).height();
  server.Xdotool("windowfocus --sync " + std::to_string(*box));
  const auto details_start = std::chrono::steady_clock::now();
  server.Xdotool("key Tab space");
  // The program answers a ping only when it has done the work.
  server.Ping(w, 10s);
  const auto details = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                              details_start);
  Settle(server);
  std::printf("Show Details: %lld ms\n", static_cast<long long>(details.count()));
  EXPECT_GT(server.Geometry(*box).height(), closed_height) << "the details did not open";
  EXPECT_LT(details.count(), 1000);
  server.Screenshot(*box).save(ShotPath("ten-megabyte-details.png"));
  server.Xdotool("key Escape");
  Settle(server);

  // Idle: no CPU.
  const Usage idle_start = UsageOf(program->Pid());
  Settle(server, 1000ms);
  const Usage idle_end = UsageOf(program->Pid());
  std::printf("idle CPU: %.1f %%\n", 100 * (idle_end.cpu_seconds - idle_start.cpu_seconds));
  EXPECT_LT(idle_end.cpu_seconds - idle_start.cpu_seconds, 0.05);

  // A megabyte of mixed scripts, pasted and cleared ten times.
  Click(w, rate.x() + 80, rate.y() + 9);
  KeysUntilChange(w, "ctrl+a", rate);
  KeysUntilChange(w, "BackSpace", rate);
  ToClipboard(server, mixed);
  long after_first = 0;
  for (int cycle = 0; cycle < 10; ++cycle) {
    const auto pasted = KeysUntilChange(w, "ctrl+v", rate);
    Quiet(w, rate);
    if (cycle == 0) {
      std::printf("1 MB of mixed scripts: paste %lld ms\n", static_cast<long long>(pasted.count()));
      EXPECT_LT(pasted.count(), 3000);
      server.Screenshot(w).save(ShotPath("mixed-scripts.png"));
      const auto typed = KeysUntilChange(w, "x", rate);
      std::printf("1 MB of mixed scripts: key %lld ms\n", static_cast<long long>(typed.count()));
      EXPECT_LT(typed.count(), 250);
      Quiet(w, rate);
    }
    KeysUntilChange(w, "ctrl+a", rate);
    Quiet(w, rate);
    KeysUntilChange(w, "BackSpace", rate);
    Quiet(w, rate);
    if (cycle == 0) after_first = UsageOf(program->Pid()).rss_kb;
  }
  const long after_ten = UsageOf(program->Pid()).rss_kb;
  std::printf("memory after the first cycle %ld kB, after ten %ld kB\n", after_first, after_ten);
#if !defined(__SANITIZE_ADDRESS__)
  // Under AddressSanitizer freed memory waits in quarantine and the resident
  // size grows whatever the program keeps: the bound is the release build's.
  EXPECT_LT(after_ten - after_first, 30 * 1024);
#endif

  // Everything still works: a normal calculation.
  server.Xdotool("type 2");
  Click(w, 688 + 80, 24 + 12);
  const QImage shot = server.Screenshot(w);
  ExpectFront(Read(shot, kChart1), calc::CalcFronts(10, calc::SoilCondition::Moist)[0]);
  CloseAndExpectCleanExit(w);
}

}  // namespace
}  // namespace soakmark::x11
