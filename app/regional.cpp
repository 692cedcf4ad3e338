#include "app/regional.h"

#include <QLocale>
#include <QtGlobal>

namespace soakmark::app {

QString NumericLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty()) return value;
  }
  return QStringLiteral("C");
}

RegionalNumbers ReadRegionalNumbers() {
#if defined(Q_OS_WIN)
  const QLocale locale = QLocale::system();
#else
  const QLocale locale(NumericLocaleName());  // an unknown name gives the C locale
#endif
  RegionalNumbers numbers;
  numbers.decimal = calc::DecimalSeparator::FromSetting(locale.decimalPoint().toStdString());
  numbers.group = locale.groupSeparator();
  return numbers;
}

}  // namespace soakmark::app
