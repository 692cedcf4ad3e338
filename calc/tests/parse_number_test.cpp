#include <gtest/gtest.h>

#include <cerrno>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "calc/numbers.h"
#include "calc/tests/test_support.h"

namespace soakmark::calc {
namespace {

using testing::Bits;
using testing::ThrowsCalcError;
using Kind = CalcError::Kind;

// Texts that read as a number, with the double they give.
struct Accepted {
  const char* text;
  double value;
};

const Accepted kAccepted[] = {
    {"2", 2.0},
    {"0.5", 0.5},
    {" 0.5 ", 0.5},
    {"   1.5", 1.5},
    {".", 0.0},
    {"-.", -0.0},
    {".e5", 0.0},
    {"5.", 5.0},
    {".5", 0.5},
    {"+5", 5.0},
    {"-0", -0.0},
    {"-2.5", -2.5},
    {"1e", 1.0},
    {"1e+", 1.0},
    {"1E-", 1.0},
    {"1e5", 1e5},
    {"1.5e-3", 1.5e-3},
    {"1.5E+20", 1.5e20},
    {"007", 7.0},
    {"0.1", 0.1},
    {"0.3", 0.3},
    {"1e-400", 0.0},
    {"-1e-400", -0.0},
    {"0e999999999999999999999", 0.0},
    {"4.9406564584124654e-324", 4.9406564584124654e-324},  // the smallest subnormal
    {"2.2250738585072014e-308", 2.2250738585072014e-308},  // the smallest normal
    {"1.7976931348623157e308", 1.7976931348623157e308},    // the largest double
    {"1.7976931348623158e308", 1.7976931348623157e308},    // rounds to the largest double: no overflow
    {"1e-5000", 0.0},
    {"18446744073709551615", 18446744073709551615.0},  // 2^64 - 1: exact at extended, 2^64 as a double
    {"18446744073709551617", 18446744073709551616.0},  // 2^64 + 1: a tie at extended, to even
    {"9007199254740993", 9007199254740992.0},          // 2^53 + 1: a double tie, to even
    {"0.000000000000000000000000000001", 1e-30},
    {"3.14159265358979323846264338327950288419716939937510", 3.141592653589793},
};

TEST(ParseNumber, AcceptedTexts) {
  for (const Accepted& c : kAccepted) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Bits(ParseNumber(c.text, DecimalSeparator())), Bits(c.value)) << ParseNumber(c.text, DecimalSeparator());
  }
}

// Texts that do not read as a number, and the overflows.
struct Rejected {
  const char* text;
  Kind kind;
};

const Rejected kRejected[] = {
    {"", Kind::Conversion},
    {" ", Kind::Conversion},
    {"   ", Kind::Conversion},
    {"+", Kind::Conversion},
    {"-", Kind::Conversion},
    {"e5", Kind::Conversion},
    {"- 5", Kind::Conversion},
    {"+-5", Kind::Conversion},
    {"1,000", Kind::Conversion},
    {"1.2.3", Kind::Conversion},
    {"0x10", Kind::Conversion},
    {"\t1", Kind::Conversion},
    {"1\t", Kind::Conversion},
    {"1e5x", Kind::Conversion},
    {"1 2", Kind::Conversion},
    {"1e 5", Kind::Conversion},
    {"1e5.5", Kind::Conversion},
    {"inf", Kind::Conversion},
    {"nan", Kind::Conversion},
    {"1e4933", Kind::Conversion},
    {"-1e4933", Kind::Conversion},
    {"1.2e4932", Kind::Conversion},  // beyond the largest extended value, about 1.19e4932
    {"1e99999999999999999999", Kind::Conversion},
    {"1e500", Kind::Overflow},
    {"-1e500", Kind::Overflow},
    {"1e4000", Kind::Overflow},
    {"1e4932", Kind::Overflow},  // still within the extended range
    {"1.8e308", Kind::Overflow},
    {"1.7976931348623159e308", Kind::Overflow},
};

TEST(ParseNumber, RejectedTexts) {
  for (const Rejected& c : kRejected) {
    SCOPED_TRACE(c.text);
    const std::string message = c.kind == Kind::Conversion
                                    ? "'" + std::string(c.text) + "' is not a valid floating point value"
                                    : "Floating point overflow";
    EXPECT_TRUE(ThrowsCalcError([&] { ParseNumber(c.text, DecimalSeparator()); }, c.kind, message));
  }
}

TEST(ParseNumber, UsesTheSeparatorItIsGiven) {
  const DecimalSeparator comma = testing::Comma();
  EXPECT_EQ(ParseNumber("0,5", comma), 0.5);
  EXPECT_EQ(ParseNumber(",", comma), 0.0);
  EXPECT_EQ(ParseNumber("1,5e2", comma), 150.0);
  EXPECT_TRUE(ThrowsCalcError([&] { ParseNumber("0.5", comma); }, Kind::Conversion,
                              "'0.5' is not a valid floating point value"));
  const DecimalSeparator arabic = DecimalSeparator::FromSetting("\xD9\xAB");  // U+066B, two bytes
  EXPECT_EQ(arabic.text(), "\xD9\xAB");
  EXPECT_EQ(ParseNumber("2\xD9\xAB" "5", arabic), 2.5);
  EXPECT_TRUE(ThrowsCalcError([&] { ParseNumber("2\xD9" "5", arabic); }, Kind::Conversion,
                              "'2\xD9" "5' is not a valid floating point value"));
}

TEST(DecimalSeparator, FallsBackToAPointForUnusableSettings) {
  const char* unusable[] = {"", ",,", "5", "-", "+", "e", "E", " ", "\t", "\xD9", "\xD9\xAB\xAB", "\x80"};
  for (const char* setting : unusable) {
    SCOPED_TRACE(setting);
    EXPECT_EQ(DecimalSeparator::FromSetting(setting).text(), ".");
  }
  EXPECT_EQ(DecimalSeparator::FromSetting(",").text(), ",");
  EXPECT_EQ(DecimalSeparator::FromSetting("\xE2\x8E\x96").text(), "\xE2\x8E\x96");  // U+2396
}

// The value of a correctly rounded strtold rounded to the extended format's
// 64-bit significand, to nearest with ties to even. Where long double is that
// format this is the value itself; where it is wider (the 113-bit format of
// AArch64, say) the rounding is done here.
long double RoundToExtended(long double v) {
  if (LDBL_MANT_DIG == 64 || v == 0 || !std::isfinite(v)) return v;
  int exponent = 0;
  const long double fraction = std::frexp(v, &exponent);  // in [0.5, 1)
  return std::ldexp(std::nearbyint(std::ldexp(fraction, 64)), exponent - 64);
}

// With at most 19 digits the integer of the digits is exact, so the rule is a
// single correct rounding to extended and then to double: the C library's
// correctly rounded strtold, in the C locale, rounded to extended, is the
// reference.
TEST(ParseNumber, AgreesWithACorrectlyRoundedReferenceOnShortMantissas) {
  std::mt19937_64 random(42);
  for (int i = 0; i < 100000; ++i) {
    const int digits = 1 + static_cast<int>(random() % 19);
    std::string mantissa;
    for (int d = 0; d < digits; ++d) mantissa.push_back(static_cast<char>('0' + random() % 10));
    const int point = static_cast<int>(random() % (digits + 1));
    mantissa.insert(mantissa.begin() + point, '.');
    // Mostly moderate exponents (the fast path), sometimes far ones.
    const int exponent = i % 10 == 0 ? static_cast<int>(random() % 9000) - 4700 : static_cast<int>(random() % 80) - 40;
    const std::string text = mantissa + "e" + std::to_string(exponent);
    errno = 0;
    const long double reference = RoundToExtended(std::strtold(text.c_str(), nullptr));
    const double expected = static_cast<double>(reference);
    if (std::isinf(expected) || errno == ERANGE) continue;
    ASSERT_EQ(Bits(ParseNumber(text, DecimalSeparator())), Bits(expected)) << text;
  }
}

TEST(ParseNumber, MessageQuotesTheWholeTextEvenWithANul) {
  const std::string text("1\0" "2", 3);
  EXPECT_TRUE(ThrowsCalcError([&] { ParseNumber(text, DecimalSeparator()); }, Kind::Conversion,
                              "'" + text + "' is not a valid floating point value"));
}

TEST(ParseNumber, LongTextsGetTheirResultQuickly) {
  const auto start = std::chrono::steady_clock::now();
  // A million leading zeros and one digit is an ordinary number.
  EXPECT_EQ(ParseNumber(std::string(1'000'000, '0') + "2.5", DecimalSeparator()), 2.5);
  // A million zeros after the point and then a digit is far below the smallest double.
  EXPECT_EQ(ParseNumber("0." + std::string(1'000'000, '0') + "1", DecimalSeparator()), 0.0);
  // The integer of all mantissa digits must fit the extended range.
  const std::string many_digits(100'000, '7');
  EXPECT_TRUE(ThrowsCalcError([&] { ParseNumber(many_digits, DecimalSeparator()); }, Kind::Conversion,
                              "'" + many_digits + "' is not a valid floating point value"));
  const std::string scaled_down = "1" + std::string(4000, '0') + "e-4000";
  EXPECT_EQ(ParseNumber(scaled_down, DecimalSeparator()), 1.0);
  const std::string junk(1'000'000, 'x');
  EXPECT_TRUE(ThrowsCalcError([&] { ParseNumber(junk, DecimalSeparator()); }, Kind::Conversion,
                              "'" + junk + "' is not a valid floating point value"));
  const std::string spaces = std::string(500'000, ' ') + "3" + std::string(500'000, ' ');
  EXPECT_EQ(ParseNumber(spaces, DecimalSeparator()), 3.0);
  EXPECT_EQ(ParseNumber("1e-" + std::string(100'000, '9'), DecimalSeparator()), 0.0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(DecimalToExtended, HoldsConstantsAsTheNearestExtendedValue) {
  if (LDBL_MANT_DIG != 64) GTEST_SKIP() << "needs an 80-bit long double as reference";
  // The compiler rounds decimal literals correctly to long double.
  const struct {
    const char* text;
    long double nearest;
  } cases[] = {{"0.01", 0.01L}, {"18.957", 18.957L}, {"0.3485", 0.3485L}, {"0.2052", 0.2052L}, {"12.244", 12.244L}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const ExtendedParts parts = Decompose(ExtendedConstant(c.text));
    EXPECT_EQ(std::ldexp(static_cast<long double>(parts.significand), parts.exponent), c.nearest);
  }
}

}  // namespace
}  // namespace soakmark::calc
