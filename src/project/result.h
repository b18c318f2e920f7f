// A value or the reason why there is none. Loaders and writers return this so that the caller
// (a window or the command line) decides how to show the reason; the core never shows it.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace brenvale {

struct Error {
  std::string message;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(Error error) : state_(std::move(error)) {}

  bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }

  T& value() & { return std::get<T>(state_); }
  const T& value() const& { return std::get<T>(state_); }
  T&& value() && { return std::get<T>(std::move(state_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }

  const Error& error() const { return std::get<Error>(state_); }

 private:
  std::variant<T, Error> state_;
};

// Success without a value.
struct Done {};
using Status = Result<Done>;
inline Status ok_status() { return Done{}; }

}  // namespace brenvale
