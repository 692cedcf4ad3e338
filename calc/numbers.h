// The number rules: how an input text becomes a number, how a result becomes
// a text, and the errors of the calculations.
//
// Nothing here reads global or locale state. The decimal separator is an
// argument; where it comes from (the user's regional settings) is the
// window's business.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "calc/extended.h"

namespace soakmark::calc {

// Every failure of a calculation. message() is the text the user is shown,
// whole: an input text may hold any character, a NUL among them, where
// what() as a C string would end early.
class CalcError : public std::runtime_error {
 public:
  enum class Kind {
    Conversion,        // "'<text>' is not a valid floating point value"
    Overflow,          // "Floating point overflow"
    DivisionByZero,    // "Floating point division by zero"
    InvalidOperation,  // "Invalid floating point operation"
  };

  static CalcError Conversion(std::string_view text);
  static CalcError Overflow();
  static CalcError DivisionByZero();
  static CalcError InvalidOperation();

  Kind kind() const { return kind_; }
  const std::string& message() const { return message_; }

 private:
  CalcError(Kind kind, std::string message)
      : std::runtime_error(message), kind_(kind), message_(std::move(message)) {}
  Kind kind_;
  std::string message_;
};

// The decimal separator: one character, "." unless told otherwise.
class DecimalSeparator {
 public:
  DecimalSeparator() = default;

  // The separator from a regional setting given as UTF-8. Anything that is
  // not one usable character (empty, several characters, a digit, a sign, a
  // space, "e" or "E", a control character, malformed UTF-8) gives ".".
  static DecimalSeparator FromSetting(std::string_view utf8);

  // The separator's UTF-8 bytes.
  std::string_view text() const { return {bytes_, length_}; }

  friend bool operator==(const DecimalSeparator& a, const DecimalSeparator& b) {
    return a.text() == b.text();
  }

 private:
  char bytes_[4] = {'.', 0, 0, 0};
  std::size_t length_ = 1;
};

// Reads a number from an input text:
//   spaces, an optional sign, digits, optionally the separator and digits
//   (at least one digit or the separator in all), optionally "e" or "E" with
//   an optional sign and digits, spaces, and nothing else.
// Only the space character counts as space. The decimal value is formed at
// extended precision (all mantissa digits as one integer, rounded once, then
// scaled by the exact power of ten with one more rounding) and then rounded to
// a double.
//   ParseNumber(" 0.5 ", ".")  -> 0.5
//   ParseNumber(".", ".")      -> 0
//   ParseNumber("1e", ".")     -> 1
//   ParseNumber("-0", ".")     -> -0 (negative zero)
//   ParseNumber("1e-400", ".") -> 0
//   ParseNumber("1,000", ".")  -> CalcError "'1,000' is not a valid floating point value"
//   ParseNumber("1e500", ".")  -> CalcError "Floating point overflow"
//   ParseNumber("1e4933", ".") -> CalcError "'1e4933' is not a valid floating point value"
double ParseNumber(std::string_view text, const DecimalSeparator& separator);

// The two ways a result is written.
enum class NumberFormat {
  Fixed,    // "%.0f": rounded to a whole number
  General,  // "%.0g": rounded to two significant digits
};

// Writes a number. The value is first rounded to 18 significant decimal
// digits (ties to even), then at the last digit shown (halves away from zero).
//   Fixed:   12.5 -> "13", -2.5 -> "-3", -0.4 -> "0", 1e17 -> "100000000000000000",
//            1e18 -> "1E18", 1.5e20 -> "1.5E20"
//   General: 0.13 -> "0.13", 99.49 -> "99", 99.5 -> "1E002", 0.0000999 -> "0.0001",
//            0.000099 -> "9.9E-005", 0 -> "0"
// The value must be finite.
std::string FormatNumber(NumberFormat format, const Extended& value, const DecimalSeparator& separator);

// The extended value nearest to digits × 10^power, by the same two roundings
// as ParseNumber: the integer of the digits first, then the scaled value.
// digits holds decimal digits only, without leading zeros, and is not empty.
// Gives nothing when either step lies beyond the extended range; a magnitude
// below the smallest extended value (under 10^-4960) comes back as zero.
std::optional<ExtendedParts> DecimalToExtended(std::string_view digits, std::int64_t power);

// The extended value nearest to a decimal constant written as ParseNumber
// reads it with the separator ".", such as "0.01", "18.957" or "-1.5e20".
// Throws std::invalid_argument for anything else.
Extended ExtendedConstant(std::string_view decimal);

}  // namespace soakmark::calc
