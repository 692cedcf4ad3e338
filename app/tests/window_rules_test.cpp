#include <gtest/gtest.h>

#include "app/design.h"
#include "app/error_reporting.h"

namespace soakmark::app {
namespace {

TEST(ApplicationTitle, FollowsTheProgramFileName) {
  const struct {
    const char* path;
    const char* title;
  } cases[] = {
      {"/opt/Apps/MYPROG.EXE", "Myprog"},
      {"my.prog.old.exe", "My"},
      {"/usr/local/bin/soakmark", "Soakmark"},
      {"build/release/app/soakmark", "Soakmark"},
      {"/home/user/.hidden", ""},
      {"/x/ÄPFEL.bin", "Äpfel"},
      {"soakMARK", "Soakmark"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ApplicationTitle(QString::fromUtf8(c.path)), QString::fromUtf8(c.title));
  }
}

TEST(MessageWithFullStop, AppendsAfterCharactersThatComeAfterThePoint) {
  const struct {
    const char* message;
    const char* shown;
  } cases[] = {
      {"Invalid floating point operation", "Invalid floating point operation."},
      {"'0.5' is not a valid floating point value", "'0.5' is not a valid floating point value."},
      {"Done.", "Done."},
      {"", ""},
      {"Why?", "Why?."},
      {"Note:", "Note:."},
      {"list]", "list]."},
      {"Number 7", "Number 7."},
      {"Stop!", "Stop!"},
      {"(see above)", "(see above)"},
      {"quoted'", "quoted'"},
      {"a, b,", "a, b,"},
      {"a-", "a-"},
      {"trailing ", "trailing "},
      {"/", "/."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(MessageWithFullStop(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown));
  }
}

TEST(Design, RadioItemsAndCaptionsByTheirRules) {
  // The group of 193 × 129 with a 16-pixel font: items of 183 × 36.
  EXPECT_EQ(design::RadioItemGeometry({193, 129}, 16, 0, 3), QRect(8, 17, 183, 36));
  EXPECT_EQ(design::RadioItemGeometry({193, 129}, 16, 1, 3), QRect(8, 53, 183, 36));
  EXPECT_EQ(design::RadioItemGeometry({193, 129}, 16, 2, 3), QRect(8, 89, 183, 36));
  // 130 high: usable 109, 36 each and the one left over shared out above.
  EXPECT_EQ(design::RadioItemGeometry({193, 130}, 16, 0, 3), QRect(8, 17, 183, 36));
  EXPECT_EQ(design::RadioItemGeometry({193, 131}, 16, 0, 3), QRect(8, 18, 183, 36));
  // Captions 16 high stand 3 pixels above their field; a taller one moves up.
  EXPECT_EQ(design::CaptionGeometry({208, 24, 161, 19}, {210, 16}), QRect(208, 5, 210, 16));
  EXPECT_EQ(design::CaptionGeometry({208, 72, 161, 19}, {239, 16}), QRect(208, 53, 239, 16));
  EXPECT_EQ(design::CaptionGeometry({464, 24, 161, 19}, {217, 30}), QRect(464, -9, 217, 30));
}

}  // namespace
}  // namespace soakmark::app
