// The extended-precision number type of the calculations.
//
// Every intermediate result is formed in the 80-bit extended format: a 64-bit
// significand, a 15-bit exponent, rounding to nearest with ties to even. On
// x86-64 with GCC or Clang `long double` is exactly that format and the
// hardware does the work. Everywhere else (MSVC, where `long double` is a
// double; AArch64, where it has 113 bits) a software type with the same
// significand and exponent range stands in, so that every build shows the same
// digits. Defining SOAKMARK_PORTABLE_EXTENDED selects the software type on any
// machine; the test suite runs against both.
#pragma once

#include <cfloat>
#include <cstdint>

#if defined(SOAKMARK_PORTABLE_EXTENDED) || LDBL_MANT_DIG != 64 || LDBL_MAX_EXP != 16384
#define SOAKMARK_EXTENDED_IS_LONG_DOUBLE 0
#include <boost/multiprecision/cpp_bin_float.hpp>
#else
#define SOAKMARK_EXTENDED_IS_LONG_DOUBLE 1
#endif

namespace soakmark::calc {

#if SOAKMARK_EXTENDED_IS_LONG_DOUBLE
using Extended = long double;
#else
using Extended = boost::multiprecision::cpp_bin_float_double_extended;
#endif

// Which implementation this build uses: "long double" or "cpp_bin_float".
const char* ExtendedImplementation();

// An extended value taken apart: (-1)^negative × significand × 2^exponent.
// For a nonzero value the significand has its top bit set; zero has a zero
// significand (and keeps its sign).
struct ExtendedParts {
  bool negative = false;
  std::uint64_t significand = 0;
  int exponent = 0;

  friend bool operator==(const ExtendedParts&, const ExtendedParts&) = default;
};

ExtendedParts Decompose(const Extended& x);

// The value of the parts, exactly; the parts must lie within the extended
// range (the top bit of the significand at most at 2^16383).
Extended Compose(const ExtendedParts& parts);

// The double nearest to the value of the parts, ties to even, with subnormal
// results where the value is below the normal range and an infinity where it
// rounds beyond the largest double.
double RoundToDouble(const ExtendedParts& parts);

inline double ToDouble(const Extended& x) { return RoundToDouble(Decompose(x)); }

Extended Log(const Extended& x);
Extended Exp(const Extended& x);

// The top-bit position of the largest finite extended value: it is below 2^16384.
inline constexpr int kExtendedMaxTopBit = 16383;

}  // namespace soakmark::calc
