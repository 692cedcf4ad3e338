// Fuzzes the number rules. The first byte picks the separator; the rest is
// split at newlines into up to four input texts.
//  - ParseNumber gives a finite double or throws one of its two messages.
//  - What FormatNumber writes contains only digits, a minus sign, the
//    separator and "E", and reads back as a number.
//  - The whole calculation ends with a result or one of its four messages.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calc/applied_water.h"
#include "calc/numbers.h"
#include "calc/wetting_front.h"

using namespace soakmark::calc;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool IsOwnMessage(const CalcError& e, std::string_view text) {
  const std::string_view what = e.message();
  switch (e.kind()) {
    case CalcError::Kind::Conversion:
      return what == "'" + std::string(text) + "' is not a valid floating point value";
    case CalcError::Kind::Overflow:
      return what == "Floating point overflow";
    default:
      return false;
  }
}

void CheckWritten(const std::string& written, const DecimalSeparator& separator) {
  Check(!written.empty());
  std::string_view rest = written;
  while (!rest.empty()) {
    if (rest.starts_with(separator.text())) {
      rest.remove_prefix(separator.text().size());
      continue;
    }
    const char c = rest.front();
    Check((c >= '0' && c <= '9') || c == '-' || c == 'E');
    rest.remove_prefix(1);
  }
  // Written texts read back (the largest ones may be beyond the double range).
  try {
    ParseNumber(written, separator);
  } catch (const CalcError& e) {
    Check(e.kind() == CalcError::Kind::Overflow);
  }
}

void CheckText(std::string_view text, const DecimalSeparator& separator) {
  double value = 0;
  try {
    value = ParseNumber(text, separator);
  } catch (const CalcError& e) {
    Check(IsOwnMessage(e, text));
    return;
  }
  Check(std::isfinite(value));
  CheckWritten(FormatNumber(NumberFormat::Fixed, Extended(value), separator), separator);
  CheckWritten(FormatNumber(NumberFormat::General, Extended(value), separator), separator);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const DecimalSeparator separator = (data[0] & 1) != 0 ? DecimalSeparator::FromSetting(",") : DecimalSeparator();
  const std::string_view all(reinterpret_cast<const char*>(data + 1), size - 1);
  CheckText(all, separator);

  std::string_view parts[4] = {"2", "5", "0.5", "1.5"};
  std::string_view rest = all;
  for (std::string_view& part : parts) {
    const std::size_t newline = rest.find('\n');
    part = rest.substr(0, newline);
    if (newline == std::string_view::npos) break;
    rest.remove_prefix(newline + 1);
  }
  const Amounts amounts = ComputeAmounts({parts[0], parts[1], parts[2], parts[3]}, separator);
  if (amounts.EmitterVolume) {
    Check(std::isfinite(*amounts.EmitterVolume));
    for (int c = 0; c < 3; ++c) {
      try {
        for (const TWettingFront& f : CalcFronts(*amounts.EmitterVolume, static_cast<SoilCondition>(c))) {
          Check(std::isfinite(f.Depth) && std::isfinite(f.Radius) && f.Depth >= 0 && f.Radius >= 0);
        }
      } catch (const CalcError& e) {
        Check(*amounts.EmitterVolume < 0 && e.kind() == CalcError::Kind::InvalidOperation);
      }
    }
  }
  if (amounts.failure) Check(!amounts.failure->message().empty());
  return 0;
}
