#include "calc/wetting_front.h"

#include "calc/extended.h"
#include "calc/numbers.h"

namespace soakmark::calc {

namespace {

struct PowerLaw {
  Extended coefficient;
  Extended exponent;
};

struct ConditionLaws {
  PowerLaw wide_depth, wide_radius, narrow_depth, narrow_radius;
};

PowerLaw Law(const char* coefficient, const char* exponent) {
  return {ExtendedConstant(coefficient), ExtendedConstant(exponent)};
}

const ConditionLaws& LawsFor(SoilCondition condition) {
  static const std::array<ConditionLaws, 3> kLaws = {{
      // moist
      {Law("18.957", "0.3485"), Law("17.947", "0.3155"), Law("26.589", "0.4487"), Law("13.129", "0.2052")},
      // dry
      {Law("16.633", "0.3523"), Law("16.136", "0.3085"), Law("23.982", "0.4542"), Law("13.554", "0.2168")},
      // very dry
      {Law("15.728", "0.3469"), Law("14.979", "0.3091"), Law("23.022", "0.4486"), Law("12.244", "0.2111")},
  }};
  const auto index = static_cast<std::size_t>(condition);
  return kLaws.at(index);  // an index beyond the three conditions throws std::out_of_range
}

// c × V^e for V > 0, given ln V.
double Evaluate(const PowerLaw& law, const Extended& log_volume) {
  return ToDouble(law.coefficient * Exp(law.exponent * log_volume));
}

}  // namespace

WettingFronts CalcFronts(double volume, SoilCondition condition) {
  const ConditionLaws& laws = LawsFor(condition);
  if (volume < 0) throw CalcError::InvalidOperation();  // the logarithm of a negative volume
  if (volume == 0) return {};                          // 0^e = 0 for every exponent of the model
  const Extended log_volume = Log(Extended(volume));
  WettingFronts fronts;
  fronts[0].Depth = Evaluate(laws.wide_depth, log_volume);
  fronts[0].Radius = Evaluate(laws.wide_radius, log_volume);
  fronts[1].Depth = Evaluate(laws.narrow_depth, log_volume);
  fronts[1].Radius = Evaluate(laws.narrow_radius, log_volume);
  return fronts;
}

ShapeBounds FrontBounds(const TWettingFront& front) {
  const double radius_mm = 10 * front.Radius;
  const double depth_mm = 10 * front.Depth;
  return {-radius_mm, radius_mm, -depth_mm, depth_mm};
}

}  // namespace soakmark::calc
