#pragma once
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/Result.h"

namespace corvane {

// A failed file operation thrown out of the line reader and writer, whose callers
// read and write line by line in loops where a result per call would only be noise.
// Jobs catch it at their edge and turn it into the message their failure path names,
// with Result().Reason() as the detail.
class CFileError : public std::runtime_error {
 public:
  explicit CFileError(CResult result) : std::runtime_error(result.Reason()), m_result(std::move(result)) {}
  CFileError(const std::string& reason, int cause) : CFileError(CResult::Failed(reason, cause)) {}
  int Cause() const noexcept { return m_result.Error(); }
  const CResult& Result() const noexcept { return m_result; }

 private:
  CResult m_result;
};

}  // namespace corvane
