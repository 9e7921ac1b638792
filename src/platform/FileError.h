#pragma once
#include <stdexcept>
#include <string>

namespace corvane {

// A failed file operation (open, lock, read, write, seek, create). Jobs turn it
// into the message their own failure path names; `cause` keeps errno for logs and tests.
class CFileError : public std::runtime_error {
 public:
  CFileError(const std::string& what, int cause) : std::runtime_error(what), m_cause(cause) {}
  int Cause() const noexcept { return m_cause; }

 private:
  int m_cause;
};

}  // namespace corvane
