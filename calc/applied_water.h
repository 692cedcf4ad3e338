// The applied-water calculation: four input texts in, the applied amounts out.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calc/numbers.h"

namespace soakmark::calc {

// The four input texts exactly as the user left them.
struct AmountsInput {
  std::string_view AppRate;   // emitter application rate, litres per hour
  std::string_view Duration;  // duration of the irrigation, hours
  std::string_view onL;       // emitter spacing along the laterals, metres
  std::string_view btwL;      // distance between laterals, metres
};

// What one calculation writes, in the order it writes it. A member without a
// value was not reached: the calculation stopped before it with `failure`.
//
// The inputs are read in the order AppRate, Duration, onL, btwL, so the first
// bad one decides the error, and nothing is written before all four are read
// and their product formed. A zero spacing stops the calculation after the
// volume has been written and before the depth.
struct Amounts {
  std::optional<std::string> AppAmount;  // litres per emitter, "%.0f"
  std::optional<double> EmitterVolume;   // litres per emitter, the exact volume
  std::optional<std::string> appAmt;     // applied depth in millimetres, "%.0f"
  std::optional<std::string> mlha;       // megalitres per hectare, "%.0g"
  std::optional<CalcError> failure;      // the error that ended the calculation

  bool Completed() const { return !failure; }
};

Amounts ComputeAmounts(const AmountsInput& input, const DecimalSeparator& separator);

}  // namespace soakmark::calc
