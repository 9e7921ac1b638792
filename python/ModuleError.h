#pragma once
// The failures the module reports to Python, each raised there as the corvane.Error
// subclass of its kind, with the message, the file concerned and the system's reason.
#include <stdexcept>
#include <string>
#include <utility>

namespace corvane::python {

enum class ErrorKind {
  File,           // a file cannot be opened, read or written
  Format,         // a LAS file without the curves or the data section to read
  Curve,          // a curve asked for that the file does not have
  Configuration,  // a configuration file that cannot be used
  Conversion,     // a conversion that failed
  Batch,          // a batch refused before it started
  Cancelled,      // stopped on request; nothing was put in place
};

class CModuleError : public std::runtime_error {
 public:
  CModuleError(ErrorKind kind, const std::string& message, std::string path, std::string reason)
      : std::runtime_error(message), m_kind(kind), m_path(std::move(path)), m_reason(std::move(reason)) {}
  ErrorKind Kind() const noexcept { return m_kind; }
  const std::string& Path() const noexcept { return m_path; }
  const std::string& Reason() const noexcept { return m_reason; }

 private:
  ErrorKind m_kind;
  std::string m_path;
  std::string m_reason;
};

}  // namespace corvane::python
