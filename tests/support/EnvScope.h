#pragma once
// Sets (or, with nullptr, removes) one environment variable for a scope and restores it after.
#include <cstdlib>
#include <optional>
#include <string>

class EnvScope {
public:
  EnvScope(const char* name, const char* value) : name_(name)
  {
    if (const char* old = std::getenv(name))
      saved_ = old;
    Set(value);
  }
  ~EnvScope() { Set(saved_ ? saved_->c_str() : nullptr); }
  EnvScope(const EnvScope&) = delete;
  EnvScope& operator=(const EnvScope&) = delete;

private:
  void Set(const char* value)
  {
    if (value)
      setenv(name_.c_str(), value, 1);
    else
      unsetenv(name_.c_str());
  }

  std::string name_;
  std::optional<std::string> saved_;
};
