// Sets an environment variable for the life of a test, then puts back what
// was there.
#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace soakmark::app {

class EnvironmentVariable {
 public:
  EnvironmentVariable(const char* name, const char* value)
      : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
    qputenv(name, value);
  }
  ~EnvironmentVariable() {
    if (had_) qputenv(name_, old_); else qunsetenv(name_);
  }
  EnvironmentVariable(const EnvironmentVariable&) = delete;
  EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

 private:
  const char* name_;
  QByteArray old_;
  bool had_;
};

}  // namespace soakmark::app
