// The user's regional settings for numbers.
#pragma once

#include <QString>

#include "calc/numbers.h"

namespace soakmark::app {

struct RegionalNumbers {
  calc::DecimalSeparator decimal;  // "." when the setting cannot be had
  QString group;                   // the thousands separator of the axis labels
};

// The name of the locale the environment selects for numbers: the first set
// of LC_ALL, LC_NUMERIC and LANG, or "C".
QString NumericLocaleName();

// Read afresh on every call. On Windows this is where the user's decimal
// symbol from the regional settings comes in (QLocale::system() reads it).
RegionalNumbers ReadRegionalNumbers();

}  // namespace soakmark::app
