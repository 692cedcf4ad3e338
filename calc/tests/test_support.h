// Helpers shared by the calculation tests.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <string>

#include "calc/numbers.h"

namespace soakmark::calc::testing {

inline std::uint64_t Bits(double d) { return std::bit_cast<std::uint64_t>(d); }

// Checks that `action` throws a CalcError of the kind with exactly the message.
inline ::testing::AssertionResult ThrowsCalcError(const std::function<void()>& action, CalcError::Kind kind,
                                                  const std::string& message) {
  try {
    action();
  } catch (const CalcError& error) {
    if (error.kind() == kind && error.message() == message) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "threw kind " << static_cast<int>(error.kind()) << " with \""
                                         << error.message() << "\"";
  }
  return ::testing::AssertionFailure() << "threw nothing";
}

inline DecimalSeparator Comma() { return DecimalSeparator::FromSetting(","); }

}  // namespace soakmark::calc::testing
