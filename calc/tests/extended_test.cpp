// The extended type against the machine's 80-bit hardware, which serves as the
// reference for both implementations on x86-64.
#include "calc/extended.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <random>

namespace soakmark::calc {
namespace {

constexpr bool kHardwareReference = LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384;

ExtendedParts HardwareParts(long double x) {
  ExtendedParts parts;
  parts.negative = std::signbit(x);
  if (x == 0) return parts;
  int e = 0;
  const long double f = std::frexp(std::fabs(x), &e);
  parts.significand = static_cast<std::uint64_t>(std::ldexp(f, 64));
  parts.exponent = e - 64;
  return parts;
}

std::uint64_t Bits(double d) { return std::bit_cast<std::uint64_t>(d); }

TEST(Extended, ImplementationIsTheOneTheBuildAskedFor) {
#if defined(SOAKMARK_PORTABLE_EXTENDED)
  EXPECT_STREQ(ExtendedImplementation(), "cpp_bin_float");
#else
  EXPECT_STREQ(ExtendedImplementation(), kHardwareReference ? "long double" : "cpp_bin_float");
#endif
}

TEST(Extended, DecomposeAndComposeAreExactInverses) {
  const ExtendedParts cases[] = {
      {false, 0, 0},
      {true, 0, 0},
      {false, std::uint64_t{1} << 63, -63},            // 1
      {true, 0xFFFFFFFFFFFFFFFFull, 16383 - 63},        // the largest extended value, negated
      {false, 0xCCCCCCCCCCCCCCCDull, -70},              // 0.1 rounded
      {false, std::uint64_t{1} << 63, -16382 - 63},    // the smallest normal extended value
  };
  for (const ExtendedParts& parts : cases) {
    SCOPED_TRACE(parts.significand);
    EXPECT_EQ(Decompose(Compose(parts)), parts);
  }
}

// Rounding an extended value to a double, against the hardware conversion,
// across the normal, subnormal, underflow and overflow ranges.
TEST(Extended, RoundToDoubleMatchesTheHardwareConversion) {
  if (!kHardwareReference) GTEST_SKIP() << "needs an 80-bit long double as reference";
  std::mt19937_64 random(20261211);
  std::uniform_int_distribution<int> exponent(-1200, 1100);
  for (int i = 0; i < 200000; ++i) {
    ExtendedParts parts;
    parts.negative = (random() & 1) != 0;
    parts.significand = random() | (std::uint64_t{1} << 63);
    // Exercise ties and near-ties: clear some low bits now and then.
    if (i % 3 == 0) parts.significand &= ~((std::uint64_t{1} << (random() % 63)) - 1);
    if (i % 7 == 0) parts.significand |= std::uint64_t{1} << 10;
    parts.exponent = exponent(random) - 63;
    long double x = std::ldexp(static_cast<long double>(parts.significand), parts.exponent);
    if (parts.negative) x = -x;
    ASSERT_EQ(Bits(RoundToDouble(parts)), Bits(static_cast<double>(x)))
        << parts.significand << " * 2^" << parts.exponent;
  }
}

TEST(Extended, RoundToDoubleAtTheEdgesOfTheDoubleRange) {
  const std::uint64_t top = std::uint64_t{1} << 63;
  struct Case {
    const char* name;
    ExtendedParts parts;
    double expected;
  } cases[] = {
      {"largest double", {false, 0xFFFFFFFFFFFFF800ull, 1023 - 63}, DBL_MAX},
      {"just below the halfway point to 2^1024", {false, 0xFFFFFFFFFFFFFBFFull, 1023 - 63}, DBL_MAX},
      {"halfway to 2^1024 rounds to infinity", {false, 0xFFFFFFFFFFFFFC00ull, 1023 - 63}, INFINITY},
      {"smallest subnormal", {false, top, -1074 - 63}, 4.9406564584124654e-324},
      {"half the smallest subnormal ties to zero", {false, top, -1075 - 63}, 0.0},
      {"just over half the smallest subnormal", {false, top + 1, -1075 - 63}, 4.9406564584124654e-324},
      {"a quarter of the smallest subnormal", {false, top, -1076 - 63}, 0.0},
      {"negative tiny value keeps its sign", {true, top, -1200}, -0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Bits(RoundToDouble(c.parts)), Bits(c.expected));
  }
}

// Products, quotients, exp and log of the software type against the hardware.
TEST(Extended, ArithmeticRoundsLikeTheHardware) {
  if (!kHardwareReference) GTEST_SKIP() << "needs an 80-bit long double as reference";
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-2.0, 2.0);
  std::uniform_int_distribution<int> exponent(-300, 300);
  for (int i = 0; i < 20000; ++i) {
    const double a = std::ldexp(mantissa(random), exponent(random));
    const double b = std::ldexp(mantissa(random), exponent(random));
    if (b == 0) continue;
    ASSERT_EQ(Decompose(Extended(a) * Extended(b)), HardwareParts(static_cast<long double>(a) * b)) << a << " * " << b;
    ASSERT_EQ(Decompose(Extended(a) / Extended(b)), HardwareParts(static_cast<long double>(a) / b)) << a << " / " << b;
  }
  std::uniform_real_distribution<double> volume(1e-6, 1e6);
  for (int i = 0; i < 2000; ++i) {
    const double v = volume(random);
    const long double reference = std::exp(0.3485L * std::log(static_cast<long double>(v)));
    const Extended ours = Exp(Extended(0.3485L) * Log(Extended(v)));
    const long double difference = std::fabs(static_cast<long double>(ToDouble(ours)) - static_cast<double>(reference));
    ASSERT_LE(difference, 4 * std::ldexp(1.0L, std::ilogb(static_cast<double>(reference)) - 52)) << v;
  }
}

}  // namespace
}  // namespace soakmark::calc
