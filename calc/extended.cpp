#include "calc/extended.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace soakmark::calc {

const char* ExtendedImplementation() {
#if SOAKMARK_EXTENDED_IS_LONG_DOUBLE
  return "long double";
#else
  return "cpp_bin_float";
#endif
}

#if SOAKMARK_EXTENDED_IS_LONG_DOUBLE

ExtendedParts Decompose(const Extended& x) {
  ExtendedParts parts;
  parts.negative = std::signbit(x);
  if (x == 0) return parts;
  int exp2 = 0;
  const long double fraction = std::frexp(std::fabs(x), &exp2);  // in [0.5, 1)
  parts.significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
  parts.exponent = exp2 - 64;
  return parts;
}

Extended Compose(const ExtendedParts& parts) {
  const long double magnitude =
      std::ldexp(static_cast<long double>(parts.significand), parts.exponent);
  return parts.negative ? -magnitude : magnitude;
}

Extended Log(const Extended& x) { return std::log(x); }
Extended Exp(const Extended& x) { return std::exp(x); }

#else

ExtendedParts Decompose(const Extended& x) {
  ExtendedParts parts;
  parts.negative = boost::multiprecision::signbit(x) != 0;
  if (x == 0) return parts;
  int exp2 = 0;
  const Extended fraction = boost::multiprecision::frexp(boost::multiprecision::abs(x), &exp2);
  parts.significand = boost::multiprecision::ldexp(fraction, 64).convert_to<std::uint64_t>();
  parts.exponent = exp2 - 64;
  return parts;
}

Extended Compose(const ExtendedParts& parts) {
  const Extended magnitude = boost::multiprecision::ldexp(Extended(parts.significand), parts.exponent);
  return parts.negative ? Extended(-magnitude) : magnitude;
}

Extended Log(const Extended& x) { return boost::multiprecision::log(x); }
Extended Exp(const Extended& x) { return boost::multiprecision::exp(x); }

#endif

double RoundToDouble(const ExtendedParts& parts) {
  const double sign = parts.negative ? -1.0 : 1.0;
  if (parts.significand == 0) return sign * 0.0;
  // The value is m × 2^e with the top bit of m at 2^63, so it lies in
  // [2^top, 2^(top + 1)). A double keeps 53 bits down to 2^-1022 and fewer
  // below, its lowest bit never under 2^-1074.
  const int top = parts.exponent + 63;
  const int lowest_kept = std::max(top - 52, -1074);
  const int dropped = lowest_kept - parts.exponent;  // bits of m below the kept ones, 11 or more
  if (dropped > 64) return sign * 0.0;               // less than half the smallest subnormal
  std::uint64_t kept = dropped == 64 ? 0 : parts.significand >> dropped;
  const std::uint64_t rest = dropped == 64 ? parts.significand
                                           : parts.significand & ((std::uint64_t{1} << dropped) - 1);
  const std::uint64_t half = std::uint64_t{1} << (dropped - 1);
  if (rest > half || (rest == half && (kept & 1) != 0)) ++kept;
  // kept has at most 54 bits here, so the conversion is exact; ldexp is exact
  // or overflows to an infinity.
  return sign * std::ldexp(static_cast<double>(kept), lowest_kept);
}

}  // namespace soakmark::calc
