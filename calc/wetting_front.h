// The wetting-front model: how far the water of one emitter spreads.
#pragma once

#include <array>

namespace soakmark::calc {

// The initial soil water condition, in the order the user picks from.
enum class SoilCondition { Moist = 0, Dry = 1, VeryDry = 2 };

struct TWettingFront {
  double Depth = 0;   // below the emitter, centimetres
  double Radius = 0;  // around the emitter, centimetres

  friend bool operator==(const TWettingFront&, const TWettingFront&) = default;
};

// The fronts of the wide pattern (first) and the narrow pattern (second).
using WettingFronts = std::array<TWettingFront, 2>;

// Each depth and radius is c × V^e, V the applied volume per emitter in
// litres, with the coefficients of the condition; evaluated at extended
// precision as exp(e × ln V) and rounded once to a double. A volume of zero
// (of either sign) gives zero fronts; a negative volume fails with "Invalid
// floating point operation".
WettingFronts CalcFronts(double volume, SoilCondition condition);

// The box of a front in millimetres, centred on the emitter: X across the
// radius, Y down the depth.
struct ShapeBounds {
  double X0 = 0;
  double X1 = 0;
  double Y0 = 0;
  double Y1 = 0;

  friend bool operator==(const ShapeBounds&, const ShapeBounds&) = default;
};

ShapeBounds FrontBounds(const TWettingFront& front);

}  // namespace soakmark::calc
