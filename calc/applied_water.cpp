#include "calc/applied_water.h"

#include <cmath>

namespace soakmark::calc {

namespace {

void Compute(const AmountsInput& input, const DecimalSeparator& separator, Amounts& out) {
  const double rate = ParseNumber(input.AppRate, separator);
  const double duration = ParseNumber(input.Duration, separator);
  const double emitter_spacing = ParseNumber(input.onL, separator);
  const double lateral_spacing = ParseNumber(input.btwL, separator);

  const double volume = ToDouble(Extended(rate) * Extended(duration));
  if (std::isinf(volume)) throw CalcError::Overflow();
  out.AppAmount = FormatNumber(NumberFormat::Fixed, Extended(volume), separator);
  out.EmitterVolume = volume;

  // The product of two nonzero doubles never vanishes at extended precision,
  // so the area is zero exactly when a spacing is.
  if (emitter_spacing == 0 || lateral_spacing == 0) {
    throw volume == 0 ? CalcError::InvalidOperation() : CalcError::DivisionByZero();
  }
  const Extended area = Extended(emitter_spacing) * Extended(lateral_spacing);
  const Extended depth = Extended(volume) / area;  // millimetres: litres per square metre
  out.appAmt = FormatNumber(NumberFormat::Fixed, depth, separator);

  static const Extended kHectareFactor = ExtendedConstant("0.01");  // mm to Ml/ha
  out.mlha = FormatNumber(NumberFormat::General, depth * kHectareFactor, separator);
}

}  // namespace

Amounts ComputeAmounts(const AmountsInput& input, const DecimalSeparator& separator) {
  Amounts out;
  try {
    Compute(input, separator, out);
  } catch (const CalcError& error) {
    out.failure = error;
  }
  return out;
}

}  // namespace soakmark::calc
