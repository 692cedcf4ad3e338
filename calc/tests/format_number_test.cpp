#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/numbers.h"
#include "calc/tests/test_support.h"

namespace soakmark::calc {
namespace {

using F = NumberFormat;

// Each case: the format, the value (as the extended value nearest to the
// decimal text), and the text written with the separator ".".
struct Case {
  F format;
  const char* value;
  const char* expected;
};

Extended Value(std::string_view text) { return ExtendedConstant(text); }

const Case kCases[] = {
    // "%.0f": whole numbers, halves away from zero.
    {F::Fixed, "0", "0"},
    {F::Fixed, "10", "10"},
    {F::Fixed, "13.3333", "13"},
    {F::Fixed, "12.5", "13"},
    {F::Fixed, "2.5", "3"},
    {F::Fixed, "-2.5", "-3"},
    {F::Fixed, "0.5", "1"},
    {F::Fixed, "0.49", "0"},
    {F::Fixed, "-0.4", "0"},
    {F::Fixed, "-0.5", "-1"},
    {F::Fixed, "0.0001", "0"},
    {F::Fixed, "9.5", "10"},
    {F::Fixed, "99.5", "100"},
    {F::Fixed, "9950", "9950"},
    {F::Fixed, "100000000000000000", "100000000000000000"},
    {F::Fixed, "999999999999999999", "999999999999999999"},
    // 19 significant digits: the first rounding, to 18 digits and ties to
    // even, decides before the halves are rounded away from zero.
    {F::Fixed, "123456789012345678.5", "123456789012345678"},
    {F::Fixed, "123456789012345677.5", "123456789012345678"},
    {F::Fixed, "999999999999999999.5", "1E18"},
    {F::Fixed, "1000000000000000000", "1E18"},
    {F::Fixed, "150000000000000000000", "1.5E20"},
    {F::Fixed, "-150000000000000000000", "-1.5E20"},
    {F::Fixed, "123456789012345678912345", "1.23456789012345679E23"},
    {F::Fixed, "7.4e954", "7.4E954"},
    // "%.0g": two significant digits.
    {F::General, "0", "0"},
    {F::General, "0.13333", "0.13"},
    {F::General, "0.125", "0.13"},
    {F::General, "0.025", "0.025"},
    {F::General, "-0.025", "-0.025"},
    {F::General, "-0.004", "-0.004"},
    {F::General, "0.003", "0.003"},
    {F::General, "5", "5"},
    {F::General, "5.04", "5"},
    {F::General, "1.25", "1.3"},
    {F::General, "10", "10"},
    {F::General, "13", "13"},
    {F::General, "99", "99"},
    {F::General, "99.49", "99"},
    {F::General, "99.5", "1E002"},
    {F::General, "100", "1E002"},
    {F::General, "133.33", "1.3E002"},
    {F::General, "200", "2E002"},
    {F::General, "-250", "-2.5E002"},
    {F::General, "0.0001", "0.0001"},
    {F::General, "0.0000999", "0.0001"},
    {F::General, "0.000099", "9.9E-005"},
    {F::General, "0.00001", "1E-005"},
    {F::General, "0.000001", "1E-006"},
    {F::General, "1e16", "1E016"},
    {F::General, "1.5e18", "1.5E018"},
    {F::General, "1e-300", "1E-300"},
    {F::General, "3.3e-4000", "3.3E-4000"},
    {F::General, "7.4e954", "7.4E954"},
};

TEST(FormatNumber, WritesByItsRules) {
  const DecimalSeparator point;
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.format == F::Fixed ? "%.0f " : "%.0g ") + c.value);
    EXPECT_EQ(FormatNumber(c.format, Value(c.value), point), c.expected);
  }
}

TEST(FormatNumber, NegativeZeroIsWrittenWithoutASign) {
  EXPECT_EQ(FormatNumber(F::Fixed, Extended(-0.0), DecimalSeparator()), "0");
  EXPECT_EQ(FormatNumber(F::General, Extended(-0.0), DecimalSeparator()), "0");
  EXPECT_EQ(FormatNumber(F::Fixed, Extended(-1e-300), DecimalSeparator()), "0");
}

TEST(FormatNumber, WritesTheSeparatorItIsGiven) {
  const DecimalSeparator comma = testing::Comma();
  EXPECT_EQ(FormatNumber(F::General, Value("0.13333"), comma), "0,13");
  EXPECT_EQ(FormatNumber(F::General, Value("133.33"), comma), "1,3E002");
  EXPECT_EQ(FormatNumber(F::Fixed, Value("1.5e20"), comma), "1,5E20");
  EXPECT_EQ(FormatNumber(F::Fixed, Value("12345.6"), comma), "12346");  // no grouping
}

// Doubles straight from the hardware, including values whose exact binary
// expansion is long, so that every path of the digit generation is taken.
TEST(FormatNumber, WritesDoublesAtAllMagnitudes) {
  const struct {
    F format;
    double value;
    const char* expected;
  } cases[] = {
      {F::Fixed, 0.1, "0"},
      {F::Fixed, 1e300, "1.00000000000000005E300"},
      {F::Fixed, 1.7976931348623157e308, "1.79769313486231571E308"},
      {F::General, 4.9406564584124654e-324, "4.9E-324"},
      {F::General, 2.2250738585072014e-308, "2.2E-308"},
      {F::Fixed, 18446744073709551616.0, "1.84467440737095516E19"},
      {F::Fixed, 123456789.0, "123456789"},
      {F::General, 0.3 * 0.01, "0.003"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(FormatNumber(c.format, Extended(c.value), DecimalSeparator()), c.expected);
  }
}

}  // namespace
}  // namespace soakmark::calc
