#include "calc/numbers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <boost/multiprecision/cpp_int.hpp>
#include <cmath>
#include <limits>

namespace soakmark::calc {

namespace {

using BigInt = boost::multiprecision::cpp_int;

#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 U128;
#else
using U128 = boost::multiprecision::uint128_t;
#endif

// Decimal digits of the largest extended value (about 1.19e4932): an integer
// with more digits lies beyond the extended range.
constexpr std::int64_t kExtendedMaxDigits = 4933;
// Below 10^-4960 a value lies under the smallest extended value (about
// 3.6e-4951) whatever its digits.
constexpr std::int64_t kNegligibleDecimalExponent = -4960;
// Exponents in a text are read up to this size; anything larger is far beyond
// every range already and only has to keep its sign.
constexpr std::int64_t kExponentSaturation = std::int64_t{1} << 40;

// ---------------------------------------------------------------------------
// Rounding an integer to the 64-bit significand of the extended format.

int BitLength(std::uint64_t v) { return 64 - std::countl_zero(v); }

int BitLength(U128 v) {
  const auto high = static_cast<std::uint64_t>(v >> 64);
  return high != 0 ? 64 + BitLength(high) : BitLength(static_cast<std::uint64_t>(v));
}

int BitLength(const BigInt& v) { return v == 0 ? 0 : static_cast<int>(boost::multiprecision::msb(v)) + 1; }

// The extended value nearest to (x + a fraction) × 2^exponent, where `sticky`
// says that a nonzero fraction below the lowest bit of x was cut off. x has
// more than 64 bits whenever sticky is set, so the cut-off bits decide alone.
template <typename Int>
ExtendedParts RoundToSignificand(const Int& x, bool sticky, std::int64_t exponent) {
  ExtendedParts parts;
  const int bits = BitLength(x);
  if (bits == 0) return parts;
  if (bits <= 64) {
    parts.significand = static_cast<std::uint64_t>(x) << (64 - bits);
    parts.exponent = static_cast<int>(exponent - (64 - bits));
    return parts;
  }
  const int dropped = bits - 64;
  auto kept = static_cast<std::uint64_t>(x >> dropped);
  const Int rest = x & ((Int(1) << dropped) - 1);
  const Int half = Int(1) << (dropped - 1);
  if (rest > half || (rest == half && (sticky || (kept & 1) != 0))) {
    ++kept;
    if (kept == 0) {  // carried out of the top bit
      kept = std::uint64_t{1} << 63;
      ++exponent;
    }
  }
  parts.significand = kept;
  parts.exponent = static_cast<int>(exponent + dropped);
  return parts;
}

bool WithinExtendedRange(const ExtendedParts& parts) {
  return parts.significand == 0 || parts.exponent + 63 <= kExtendedMaxTopBit;
}

std::uint64_t PowerOfFive(int n) {  // n <= 27
  std::uint64_t p = 1;
  for (int i = 0; i < n; ++i) p *= 5;
  return p;
}

// (significand × 2^exponent) × 10^power, rounded once.
ExtendedParts ScaleByPowerOfTen(const ExtendedParts& n, std::int64_t power) {
  constexpr int kSmallPower = 27;  // 5^27 still fits in 63 bits
  if (power >= 0 && power <= kSmallPower) {
    const U128 x = U128(n.significand) * PowerOfFive(static_cast<int>(power));
    return RoundToSignificand(x, false, n.exponent + power);
  }
  if (power < 0 && power >= -kSmallPower) {
    // The dividend's top bit is 2^127 and the divisor is below 2^63, so the
    // quotient has more than 64 bits and the remainder only adds the sticky bit.
    const std::uint64_t divisor = PowerOfFive(static_cast<int>(-power));
    const U128 dividend = U128(n.significand) << 64;
    const U128 quotient = dividend / divisor;
    const bool sticky = dividend % divisor != 0;
    return RoundToSignificand(quotient, sticky, n.exponent - 64 + power);
  }
  BigInt five = boost::multiprecision::pow(BigInt(5), static_cast<unsigned>(power >= 0 ? power : -power));
  if (power > 0) return RoundToSignificand(BigInt(n.significand) * five, false, n.exponent + power);
  const int shift = BitLength(five) + 1;
  const BigInt dividend = BigInt(n.significand) << shift;
  BigInt quotient;
  BigInt remainder;
  boost::multiprecision::divide_qr(dividend, five, quotient, remainder);
  return RoundToSignificand(quotient, remainder != 0, std::int64_t{n.exponent} - shift + power);
}

// ---------------------------------------------------------------------------
// Reading a text.

struct ScannedNumber {
  bool negative = false;
  std::string_view integer_digits;
  std::string_view fraction_digits;
  std::int64_t exponent = 0;  // saturated
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TakeDigits(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return text.substr(start, pos - start);
}

void SkipSpaces(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
}

std::optional<ScannedNumber> Scan(std::string_view text, std::string_view separator) {
  ScannedNumber number;
  std::size_t pos = 0;
  SkipSpaces(text, pos);
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    number.negative = text[pos] == '-';
    ++pos;
  }
  const std::size_t mantissa_start = pos;
  number.integer_digits = TakeDigits(text, pos);
  if (text.substr(pos).starts_with(separator)) {
    pos += separator.size();
    number.fraction_digits = TakeDigits(text, pos);
  }
  if (pos == mantissa_start) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    bool negative_exponent = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
      negative_exponent = text[pos] == '-';
      ++pos;
    }
    std::int64_t exponent = 0;
    for (char c : TakeDigits(text, pos)) {
      exponent = std::min(exponent * 10 + (c - '0'), kExponentSaturation);
    }
    number.exponent = negative_exponent ? -exponent : exponent;
  }
  SkipSpaces(text, pos);
  if (pos != text.size()) return std::nullopt;
  return number;
}

std::string_view StripLeadingZeros(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view{} : digits.substr(first);
}

// The significant digits of integer and fraction digits taken together. The
// two runs are separated by the separator in the text, so when both hold
// significant digits they are copied into `storage`.
std::string_view JoinMantissa(std::string_view integer, std::string_view fraction, std::string& storage) {
  const std::string_view int_part = StripLeadingZeros(integer);
  if (int_part.empty()) return StripLeadingZeros(fraction);
  if (fraction.empty()) return int_part;
  storage.reserve(int_part.size() + fraction.size());
  storage.append(int_part);
  storage.append(fraction);
  return storage;
}

// ---------------------------------------------------------------------------
// Writing a number.

// A decimal value 0.d1 d2 ... dn × 10^exponent, d1 not zero; no digits is zero.
struct DecimalDigits {
  bool negative = false;
  std::array<char, 20> digit{};  // values 0 to 9
  int count = 0;
  int exponent = 0;
};

constexpr int kSignificantDigits = 18;

// Collects the first 19 significant digits of a decimal expansion and whether
// any nonzero digit follows them.
class DigitCollector {
 public:
  void Push(int d) {
    if (d == 0 && !started_) return;  // leading zeros
    started_ = true;
    if (result_.count < kSignificantDigits + 1) {
      result_.digit[result_.count++] = static_cast<char>(d);
    } else if (d != 0) {
      sticky_ = true;
    }
  }
  bool Full() const { return result_.count == kSignificantDigits + 1; }
  void SetSticky() { sticky_ = true; }
  bool Started() const { return started_; }

  // The value rounded to 18 significant digits, ties to even.
  DecimalDigits Rounded(bool negative, int exponent) {
    result_.negative = negative;
    result_.exponent = exponent;
    if (result_.count > kSignificantDigits) {
      const int next = result_.digit[kSignificantDigits];
      result_.count = kSignificantDigits;
      const bool odd = (result_.digit[kSignificantDigits - 1] & 1) != 0;
      if (next > 5 || (next == 5 && (sticky_ || odd))) RoundUp(result_);
    }
    return result_;
  }

  static void RoundUp(DecimalDigits& d) {
    int i = d.count - 1;
    while (i >= 0 && d.digit[i] == 9) d.digit[i--] = 0;
    if (i >= 0) {
      ++d.digit[i];
    } else {  // 99...9 became 100...0
      d.digit[0] = 1;
      d.count = std::max(d.count, 1);
      std::fill(d.digit.begin() + 1, d.digit.begin() + d.count, 0);
      ++d.exponent;
    }
  }

 private:
  DecimalDigits result_;
  bool started_ = false;
  bool sticky_ = false;
};

void PushDecimal(DigitCollector& out, std::string_view text) {
  for (char c : text) out.Push(c - '0');
}

// Digits of an integer below 2^128, most significant first, into buf; returns
// how many.
int IntegerDigits(U128 v, std::array<char, 40>& buf) {
  int n = 0;
  while (v > U128(UINT64_MAX)) {  // 128-bit division only while it is needed
    buf[n++] = static_cast<char>(static_cast<int>(v % 10));
    v /= 10;
  }
  auto small = static_cast<std::uint64_t>(v);
  do {
    buf[n++] = static_cast<char>(small % 10);
    small /= 10;
  } while (small != 0);
  std::reverse(buf.begin(), buf.begin() + n);
  return n;
}

DecimalDigits ExactDigits(const ExtendedParts& parts) {
  DigitCollector out;
  if (parts.significand == 0) return out.Rounded(parts.negative, 0);
  const int e = parts.exponent;
  int integer_digit_count = 0;
  if (e >= 0 && e <= 64) {
    std::array<char, 40> buf{};
    integer_digit_count = IntegerDigits(U128(parts.significand) << e, buf);
    for (int i = 0; i < integer_digit_count; ++i) out.Push(buf[i]);
    return out.Rounded(parts.negative, integer_digit_count);
  }
  if (e < 0 && e >= -124) {
    // Integer part, then the fraction f / 2^-e one digit at a time; each step
    // keeps f below 2^-e, so f × 10 stays below 2^128.
    const int shift = -e;
    const U128 one = U128(1) << shift;
    const U128 whole = shift >= 64 ? U128(0) : U128(parts.significand >> shift);
    U128 fraction = U128(parts.significand) & (one - 1);
    int exponent = 0;
    if (whole != 0) {
      std::array<char, 40> buf{};
      integer_digit_count = IntegerDigits(whole, buf);
      for (int i = 0; i < integer_digit_count; ++i) out.Push(buf[i]);
      exponent = integer_digit_count;
    }
    while (fraction != 0 && !out.Full()) {
      fraction *= 10;
      const int d = static_cast<int>(fraction >> shift);
      fraction &= one - 1;
      if (!out.Started() && d == 0) --exponent;
      out.Push(d);
    }
    if (fraction != 0) out.SetSticky();
    return out.Rounded(parts.negative, exponent);
  }
  // Far from 1: exact big-integer arithmetic.
  if (e > 0) {
    const std::string text = (BigInt(parts.significand) << e).str();
    PushDecimal(out, text);
    return out.Rounded(parts.negative, static_cast<int>(text.size()));
  }
  // m × 2^e = m × 5^-e / 10^-e: the digits of m × 5^-e with the point -e
  // places from the right.
  const std::string text =
      (BigInt(parts.significand) * boost::multiprecision::pow(BigInt(5), static_cast<unsigned>(-e))).str();
  PushDecimal(out, text);
  return out.Rounded(parts.negative, static_cast<int>(text.size()) + e);
}

// Rounds to `shown` digits, halves away from zero; fewer than one shown digit
// leaves zero or a single 1 one place up.
void RoundToShown(DecimalDigits& d, int shown) {
  if (d.count <= shown) return;
  if (shown < 0) {
    d.count = 0;
    return;
  }
  const bool up = d.digit[shown] >= 5;
  d.count = shown;
  if (!up) return;
  if (shown == 0) {
    d.digit[0] = 1;
    d.count = 1;
    ++d.exponent;
    return;
  }
  DigitCollector::RoundUp(d);
}

void DropTrailingZeros(DecimalDigits& d) {
  while (d.count > 0 && d.digit[d.count - 1] == 0) --d.count;
}

void AppendDigits(std::string& out, const DecimalDigits& d, int from, int to) {
  for (int i = from; i < to; ++i) out.push_back(static_cast<char>('0' + (i < d.count ? d.digit[i] : 0)));
}

void AppendExponent(std::string& out, int exponent, int min_width) {
  if (exponent < 0) out.push_back('-');
  std::string digits = std::to_string(exponent < 0 ? -static_cast<long>(exponent) : exponent);
  if (static_cast<int>(digits.size()) < min_width) out.append(min_width - digits.size(), '0');
  out.append(digits);
}

// d1, then the separator and the other digits when there are any, then "E".
void AppendScientificMantissa(std::string& out, const DecimalDigits& d, std::string_view separator) {
  AppendDigits(out, d, 0, 1);
  if (d.count > 1) {
    out.append(separator);
    AppendDigits(out, d, 1, d.count);
  }
  out.push_back('E');
}

}  // namespace

// ---------------------------------------------------------------------------

CalcError CalcError::Conversion(std::string_view text) {
  std::string message;
  message.reserve(text.size() + 40);
  message.append("'").append(text).append("' is not a valid floating point value");
  return {Kind::Conversion, message};
}
CalcError CalcError::Overflow() { return {Kind::Overflow, "Floating point overflow"}; }
CalcError CalcError::DivisionByZero() { return {Kind::DivisionByZero, "Floating point division by zero"}; }
CalcError CalcError::InvalidOperation() { return {Kind::InvalidOperation, "Invalid floating point operation"}; }

DecimalSeparator DecimalSeparator::FromSetting(std::string_view utf8) {
  DecimalSeparator separator;
  if (utf8.empty() || utf8.size() > 4) return separator;
  const auto lead = static_cast<unsigned char>(utf8[0]);
  const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
  if (length != utf8.size()) return separator;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) return separator;
  }
  if (length == 1) {
    const char c = utf8[0];
    if (lead < 0x21 || lead == 0x7F || IsDigit(c) || c == '+' || c == '-' || c == 'e' || c == 'E') {
      return separator;
    }
  }
  std::copy(utf8.begin(), utf8.end(), separator.bytes_);
  separator.length_ = length;
  return separator;
}

std::optional<ExtendedParts> DecimalToExtended(std::string_view digits, std::int64_t power) {
  const auto count = static_cast<std::int64_t>(digits.size());
  if (count > kExtendedMaxDigits) return std::nullopt;
  ExtendedParts integer;
  if (count <= 19) {
    std::uint64_t n = 0;
    for (char c : digits) n = n * 10 + static_cast<std::uint64_t>(c - '0');
    integer = RoundToSignificand(n, false, 0);
  } else {
    integer = RoundToSignificand(BigInt(std::string(digits)), false, 0);
    if (!WithinExtendedRange(integer)) return std::nullopt;
  }
  // The value lies in [10^(count - 1 + power), 10^(count + power)).
  if (count - 1 + power >= kExtendedMaxDigits) return std::nullopt;
  if (count + power < kNegligibleDecimalExponent) return ExtendedParts{};
  const ExtendedParts scaled = ScaleByPowerOfTen(integer, power);
  if (!WithinExtendedRange(scaled)) return std::nullopt;
  return scaled;
}

double ParseNumber(std::string_view text, const DecimalSeparator& separator) {
  const std::optional<ScannedNumber> scanned = Scan(text, separator.text());
  if (!scanned) throw CalcError::Conversion(text);
  std::string storage;
  const std::string_view digits = JoinMantissa(scanned->integer_digits, scanned->fraction_digits, storage);
  const double sign = scanned->negative ? -1.0 : 1.0;
  if (digits.empty()) return sign * 0.0;
  const std::int64_t power = scanned->exponent - static_cast<std::int64_t>(scanned->fraction_digits.size());
  std::optional<ExtendedParts> value = DecimalToExtended(digits, power);
  if (!value) throw CalcError::Conversion(text);
  value->negative = scanned->negative;
  const double result = RoundToDouble(*value);
  if (std::isinf(result)) throw CalcError::Overflow();
  return result;
}

std::string FormatNumber(NumberFormat format, const Extended& value, const DecimalSeparator& separator) {
  DecimalDigits d = ExactDigits(Decompose(value));
  if (format == NumberFormat::Fixed) {
    RoundToShown(d, std::min(d.exponent, kSignificantDigits));
  } else {
    RoundToShown(d, 2);
  }
  DropTrailingZeros(d);
  if (d.count == 0) return "0";

  std::string out;
  if (d.negative) out.push_back('-');
  if (format == NumberFormat::Fixed) {
    if (d.exponent <= kSignificantDigits) {
      AppendDigits(out, d, 0, d.exponent);
    } else {
      AppendScientificMantissa(out, d, separator.text());
      AppendExponent(out, d.exponent - 1, 1);
    }
    return out;
  }
  if (d.exponent >= -3 && d.exponent <= 0) {
    out.push_back('0');
    out.append(separator.text());
    out.append(static_cast<std::size_t>(-d.exponent), '0');
    AppendDigits(out, d, 0, d.count);
  } else if (d.exponent == 1) {
    AppendDigits(out, d, 0, 1);
    if (d.count > 1) {
      out.append(separator.text());
      AppendDigits(out, d, 1, 2);
    }
  } else if (d.exponent == 2) {
    AppendDigits(out, d, 0, 2);
  } else {
    AppendScientificMantissa(out, d, separator.text());
    AppendExponent(out, d.exponent - 1, 3);
  }
  return out;
}

Extended ExtendedConstant(std::string_view decimal) {
  const std::optional<ScannedNumber> scanned = Scan(decimal, ".");
  if (!scanned) throw std::invalid_argument("not a decimal constant: " + std::string(decimal));
  std::string storage;
  const std::string_view digits = JoinMantissa(scanned->integer_digits, scanned->fraction_digits, storage);
  ExtendedParts parts;
  if (!digits.empty()) {
    const std::int64_t power = scanned->exponent - static_cast<std::int64_t>(scanned->fraction_digits.size());
    const std::optional<ExtendedParts> value = DecimalToExtended(digits, power);
    if (!value) throw std::invalid_argument("beyond the extended range: " + std::string(decimal));
    parts = *value;
  }
  parts.negative = scanned->negative;
  return Compose(parts);
}

}  // namespace soakmark::calc
