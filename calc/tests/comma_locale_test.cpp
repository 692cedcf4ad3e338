// The number rules must not lean on the process's locale: a window program
// runs with the C locale taken from the user's environment, where printf,
// strtod and the streams may use a comma.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <locale>
#include <string>

#include "calc/applied_water.h"
#include "calc/numbers.h"
#include "calc/wetting_front.h"

namespace soakmark::calc {
namespace {

class UnderACommaLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8"}) {
      if (std::setlocale(LC_ALL, name) != nullptr) {
        locale_ = name;
        break;
      }
    }
    ASSERT_FALSE(locale_.empty()) << "no locale with a comma decimal separator; the set-up script generates "
                                     "de_DE.UTF-8 (localedef -i de_DE -f UTF-8 de_DE.UTF-8)";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    std::locale::global(std::locale(locale_));
  }
  void TearDown() override {
    std::setlocale(LC_ALL, "C");
    std::locale::global(std::locale::classic());
  }
  std::string locale_;
};

TEST_F(UnderACommaLocale, ReadingAndWritingAreUnchanged) {
  const DecimalSeparator point;
  EXPECT_EQ(ParseNumber("1.5e-3", point), 1.5e-3);
  EXPECT_EQ(ParseNumber("20167224057012161.999999999", point), 20167224057012160.0);
  EXPECT_EQ(FormatNumber(NumberFormat::General, ExtendedConstant("133.33"), point), "1.3E002");
  EXPECT_EQ(FormatNumber(NumberFormat::Fixed, Extended(1e300), point), "1.00000000000000005E300");
  EXPECT_EQ(FormatNumber(NumberFormat::Fixed, Extended(123456789.0), point), "123456789");

  const Amounts a = ComputeAmounts({"2", "5", "0.5", "1.5e-3"}, point);
  ASSERT_TRUE(a.Completed());
  EXPECT_EQ(a.AppAmount, "10");
  EXPECT_EQ(a.appAmt, "13333");
  EXPECT_EQ(a.mlha, "1.3E002");
  EXPECT_NEAR(CalcFronts(10, SoilCondition::Moist)[0].Depth, 42.2931, 5e-5);
}

}  // namespace
}  // namespace soakmark::calc
