#pragma once
// What a command run inside the test program writes to standard output and standard
// error, caught at the descriptors (so that std::cout, stdio and write() all count).
#include <string>

namespace corvane::test {

class CCapturedOutput {
 public:
  CCapturedOutput();
  ~CCapturedOutput();  // puts the streams back
  CCapturedOutput(const CCapturedOutput&) = delete;
  CCapturedOutput& operator=(const CCapturedOutput&) = delete;

  // Puts the streams back (once) and keeps what was written.
  void End();
  const std::string& Out() const noexcept { return m_out; }
  const std::string& Err() const noexcept { return m_err; }

 private:
  int m_savedOut = -1;
  int m_savedErr = -1;
  std::string m_outPath;
  std::string m_errPath;
  std::string m_out;
  std::string m_err;
};

}  // namespace corvane::test
