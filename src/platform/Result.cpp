#include "platform/Result.h"

#include <string.h>

#include <string>
#include <utility>

namespace corvane {
namespace {

// strerror may share one buffer between threads; strerror_r comes in a GNU form (the
// text is the result) and an XSI form (the text is in the buffer).
[[maybe_unused]] std::string ErrorText(const char* result, const char*) { return result; }
[[maybe_unused]] std::string ErrorText(int result, const char* buffer) {
  return result == 0 ? std::string(buffer) : std::string("Unknown error");
}

std::string SystemText(int error) {
  char buffer[256] = {};
  return ErrorText(strerror_r(error, buffer, sizeof buffer), buffer);
}

}  // namespace

CResult CResult::Cancelled(std::string reason) {
  CResult result;
  result.m_status = Status::Cancelled;
  result.m_reason = std::move(reason);
  return result;
}

CResult CResult::Incomplete(std::string reason) {
  CResult result;
  result.m_status = Status::Incomplete;
  result.m_reason = std::move(reason);
  return result;
}

CResult CResult::Failed(std::string reason, int error) {
  CResult result;
  result.m_status = Status::Failed;
  result.m_error = error;
  result.m_reason = std::move(reason);
  return result;
}

CResult CResult::SystemError(const std::string& path, int error) {
  return Failed(path + ": " + SystemText(error), error);
}

}  // namespace corvane
