#include "calc/applied_water.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "calc/tests/test_support.h"

namespace soakmark::calc {
namespace {

using Kind = CalcError::Kind;

struct Worked {
  const char* AppRate;
  const char* Duration;
  const char* onL;
  const char* btwL;
  const char* AppAmount;
  const char* appAmt;
  const char* mlha;
};

// The four input texts and the three texts shown, character for character.
const Worked kWorked[] = {
    {"2", "5", "0.5", "1.5", "10", "13", "0.13"},
    {"4", "2.5", "0.4", "1", "10", "25", "0.25"},
    // 0.5 × 1.6 at extended precision is a little above 0.8, so the depth is
    // just below 12.5; in double arithmetic it would be 12.5 exactly.
    {"1", "10", "0.5", "1.6", "10", "12", "0.12"},
    {"2", "5", "0.5", "1.5e-3", "10", "13333", "1.3E002"},
    {"1000", "10", "0.5", "1", "10000", "20000", "2E002"},
    {"9950", "1", "1", "1", "9950", "9950", "1E002"},
    {"9949", "1", "1", "1", "9949", "9949", "99"},
    {"0.3", "1", "1", "1", "0", "0", "0.003"},
    {"2.5", "1", "1", "1", "3", "3", "0.025"},
    {"-2.5", "1", "1", "1", "-3", "-3", "-0.025"},
    {"-0.4", "1", "1", "1", "0", "0", "-0.004"},
    {"1", "1", "10000", "1", "1", "0", "1E-006"},
    {"1e18", "1", "1", "1", "1E18", "1E18", "1E016"},
    {"1.5e20", "1", "1", "1", "1.5E20", "1.5E20", "1.5E018"},
    {"-0", "5", "0.5", "1.5", "0", "0", "0"},
    {"0.5", "1", "1", "1", "1", "1", "0.005"},
    {"0.49", "1", "1", "1", "0", "0", "0.0049"},
    {" 2 ", " 5", "0.5 ", "  1.5", "10", "13", "0.13"},
    {"2", "5", "-0.5", "1.5", "10", "-13", "-0.13"},
    // The mantissa's 26 digits are rounded to 64 bits before they are scaled.
    {"20167224057012161.999999999", "5", "1", "1", "100836120285060800", "100836120285060800", "1E015"},
    {"1e-200", "1e-200", "1", "1", "0", "0", "0"},
};

TEST(ComputeAmounts, WorkedExamples) {
  for (const Worked& w : kWorked) {
    SCOPED_TRACE(std::string(w.AppRate) + " | " + w.Duration + " | " + w.onL + " | " + w.btwL);
    const Amounts a = ComputeAmounts({w.AppRate, w.Duration, w.onL, w.btwL}, DecimalSeparator());
    ASSERT_TRUE(a.Completed()) << a.failure->what();
    EXPECT_EQ(a.AppAmount, w.AppAmount);
    EXPECT_EQ(a.appAmt, w.appAmt);
    EXPECT_EQ(a.mlha, w.mlha);
  }
}

TEST(ComputeAmounts, StoresTheExactVolume) {
  EXPECT_EQ(ComputeAmounts({"2", "5", "0.5", "1.5"}, DecimalSeparator()).EmitterVolume, 10.0);
  // 0.1 × 3 is formed at extended precision and rounded once.
  EXPECT_EQ(ComputeAmounts({"0.1", "3", "1", "1"}, DecimalSeparator()).EmitterVolume,
            static_cast<double>(static_cast<long double>(0.1) * 3));
  const auto negative_zero = ComputeAmounts({"-0", "5", "1", "1"}, DecimalSeparator()).EmitterVolume;
  ASSERT_TRUE(negative_zero);
  EXPECT_EQ(*negative_zero, 0.0);
}

TEST(ComputeAmounts, CommaSeparatorReadsAndWritesWithComma) {
  const DecimalSeparator comma = testing::Comma();
  const Amounts ok = ComputeAmounts({"2", "5", "0,5", "1,5"}, comma);
  ASSERT_TRUE(ok.Completed());
  EXPECT_EQ(ok.AppAmount, "10");
  EXPECT_EQ(ok.appAmt, "13");
  EXPECT_EQ(ok.mlha, "0,13");
  // The texts of a fresh window do not read with a comma: the third input
  // fails first, before anything is written.
  const Amounts failed = ComputeAmounts({"2", "5", "0.5", "1.5"}, comma);
  ASSERT_FALSE(failed.Completed());
  EXPECT_STREQ(failed.failure->what(), "'0.5' is not a valid floating point value");
  EXPECT_FALSE(failed.AppAmount || failed.EmitterVolume || failed.appAmt || failed.mlha);
}

// Every failure, the message it carries and what was written before it.
struct Failure {
  const char* name;
  AmountsInput input;
  Kind kind;
  const char* message;
  std::optional<std::string> AppAmount;  // written before the failure, or not
  std::optional<double> EmitterVolume;
};

const Failure kFailures[] = {
    {"rate not a number", {"abc", "5", "0.5", "1.5"}, Kind::Conversion, "'abc' is not a valid floating point value", {}, {}},
    {"empty rate", {"", "5", "0.5", "1.5"}, Kind::Conversion, "'' is not a valid floating point value", {}, {}},
    {"duration quoted with its spaces", {"2", " 5 x ", "0.5", "1.5"}, Kind::Conversion,
     "' 5 x ' is not a valid floating point value", {}, {}},
    {"first bad input decides", {"2", "5", "x", "y"}, Kind::Conversion, "'x' is not a valid floating point value", {}, {}},
    {"lateral spacing", {"2", "5", "0.5", "1,5"}, Kind::Conversion, "'1,5' is not a valid floating point value", {}, {}},
    {"rate beyond the double range", {"1e500", "5", "0.5", "1.5"}, Kind::Overflow, "Floating point overflow", {}, {}},
    {"bad text before an overflow", {"1e500", "z", "0.5", "1.5"}, Kind::Overflow, "Floating point overflow", {}, {}},
    {"overflow before a bad text", {"2", "x", "0.5", "1e999"}, Kind::Conversion, "'x' is not a valid floating point value", {}, {}},
    {"volume beyond the double range", {"1e200", "1e200", "0.5", "1.5"}, Kind::Overflow, "Floating point overflow", {}, {}},
    {"zero emitter spacing", {"2", "5", "0", "1.5"}, Kind::DivisionByZero, "Floating point division by zero", "10", 10.0},
    {"zero lateral spacing", {"2", "5", "0.5", "0"}, Kind::DivisionByZero, "Floating point division by zero", "10", 10.0},
    {"lone separator as spacing", {"2", "5", ".", "1.5"}, Kind::DivisionByZero, "Floating point division by zero", "10", 10.0},
    {"negative zero spacing", {"2", "5", "0.5", "-0"}, Kind::DivisionByZero, "Floating point division by zero", "10", 10.0},
    {"spacing below the smallest double", {"2", "5", "1e-400", "1.5"}, Kind::DivisionByZero,
     "Floating point division by zero", "10", 10.0},
    {"zero spacing, negative volume", {"-2", "5", "0", "1.5"}, Kind::DivisionByZero, "Floating point division by zero", "-10",
     -10.0},
    {"zero spacing and zero volume", {"0", "5", "0", "1.5"}, Kind::InvalidOperation, "Invalid floating point operation", "0",
     0.0},
    {"zero spacing, volume underflowing to zero", {"1e-200", "1e-200", ".", "1"}, Kind::InvalidOperation,
     "Invalid floating point operation", "0", 0.0},
};

TEST(ComputeAmounts, FailuresAndWhatTheyLeaveWritten) {
  for (const Failure& f : kFailures) {
    SCOPED_TRACE(f.name);
    const Amounts a = ComputeAmounts(f.input, DecimalSeparator());
    ASSERT_FALSE(a.Completed());
    EXPECT_EQ(a.failure->kind(), f.kind);
    EXPECT_STREQ(a.failure->what(), f.message);
    EXPECT_EQ(a.AppAmount, f.AppAmount);
    EXPECT_EQ(a.EmitterVolume, f.EmitterVolume);
    EXPECT_FALSE(a.appAmt);
    EXPECT_FALSE(a.mlha);
  }
}

}  // namespace
}  // namespace soakmark::calc
