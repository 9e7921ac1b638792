#include "platform/Result.h"

#include <cstring>
#include <utility>

namespace corvane {

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
  return Failed(path + ": " + std::strerror(error), error);
}

}  // namespace corvane
