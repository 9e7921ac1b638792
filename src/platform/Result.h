#pragma once
// How a job or a file operation ended, and why when it did not end well: the path
// concerned and the system's reason, in words a user can read
// ("/data/out/well.las: No such file or directory").
#include <string>

namespace corvane {

class [[nodiscard]] CResult {
 public:
  // Incomplete: the input ended before the job could do its work (a file without
  // the part the job needs); nothing failed.
  enum class Status { Done, Cancelled, Failed, Incomplete };

  CResult() = default;  // done
  static CResult Done() { return CResult(); }
  static CResult Cancelled(std::string reason = "cancelled");
  static CResult Incomplete(std::string reason);
  // A failure with its reason already in words; `error` keeps the errno behind it, if any.
  static CResult Failed(std::string reason, int error = 0);
  // "<path>: <the system's text for error>"
  static CResult SystemError(const std::string& path, int error);

  bool Ok() const noexcept { return m_status == Status::Done; }
  explicit operator bool() const noexcept { return Ok(); }
  bool IsCancelled() const noexcept { return m_status == Status::Cancelled; }
  bool IsFailed() const noexcept { return m_status == Status::Failed; }
  bool IsIncomplete() const noexcept { return m_status == Status::Incomplete; }
  Status GetStatus() const noexcept { return m_status; }
  // The errno of a system failure, 0 otherwise.
  int Error() const noexcept { return m_error; }
  // Empty when done.
  const std::string& Reason() const noexcept { return m_reason; }

 private:
  Status m_status = Status::Done;
  int m_error = 0;
  std::string m_reason;
};

}  // namespace corvane
