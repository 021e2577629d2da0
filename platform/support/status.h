// How a platform function says it could not do what was asked: a Status
// (done, or the message that says why not) or a Result<T> (the value, or that
// message). The message is ready for the transcript; callers add context at
// most. For the cold paths: the readers in db/ and dxf/ keep their own.
#pragma once
#include <string>
#include <utility>
#include <variant>

namespace support {

class [[nodiscard]] Status {
 public:
  // Done.
  Status() = default;
  // Not done, for the reason `message` gives.
  static Status failure(std::string message) { return Status(std::move(message)); }

  bool ok() const { return !m_failed; }
  // "" when done.
  const std::string& message() const { return m_message; }

 private:
  explicit Status(std::string message) : m_failed(true), m_message(std::move(message)) {}

  bool m_failed = false;
  std::string m_message;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : m_outcome(std::move(value)) {}
  // `failed` must be a failure: a Result holds a value or says why not.
  Result(Status failed) : m_outcome(std::move(failed)) {}

  bool ok() const { return std::holds_alternative<T>(m_outcome); }
  // Only when ok().
  T& value() { return std::get<T>(m_outcome); }
  const T& value() const { return std::get<T>(m_outcome); }
  // The failure, or a done Status.
  Status status() const { return ok() ? Status() : std::get<Status>(m_outcome); }

 private:
  std::variant<T, Status> m_outcome;
};

}  // namespace support
