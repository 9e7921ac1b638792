#include "CapturedOutput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "TestSupport.h"

namespace corvane::test {
namespace {

// Points `stream` at a new temporary file; returns the descriptor it had.
int Redirect(int stream, std::string& path) {
  path = (std::filesystem::temp_directory_path() / "corvane-output-XXXXXX").string();
  const int fd = ::mkstemp(path.data());
  if (fd < 0) throw std::runtime_error("mkstemp failed");
  const int saved = ::dup(stream);
  ::dup2(fd, stream);
  ::close(fd);
  return saved;
}

void Restore(int stream, int saved) {
  ::dup2(saved, stream);
  ::close(saved);
}

}  // namespace

CCapturedOutput::CCapturedOutput() {
  std::cout.flush();
  std::cerr.flush();
  std::fflush(stdout);
  std::fflush(stderr);
  m_savedOut = Redirect(STDOUT_FILENO, m_outPath);
  m_savedErr = Redirect(STDERR_FILENO, m_errPath);
}

CCapturedOutput::~CCapturedOutput() { End(); }

void CCapturedOutput::End() {
  if (m_savedOut < 0) return;
  std::cout.flush();
  std::cerr.flush();
  std::fflush(stdout);
  std::fflush(stderr);
  Restore(STDOUT_FILENO, m_savedOut);
  Restore(STDERR_FILENO, m_savedErr);
  m_savedOut = m_savedErr = -1;
  m_out = ReadBytes(m_outPath);
  m_err = ReadBytes(m_errPath);
  ::unlink(m_outPath.c_str());
  ::unlink(m_errPath.c_str());
}

}  // namespace corvane::test
