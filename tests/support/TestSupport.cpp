#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace corvane::test {

CScratchDir::CScratchDir() {
  std::string templ = (std::filesystem::temp_directory_path() / "corvane-test-XXXXXX").string();
  if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
  m_path = templ;
}

CScratchDir::~CScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

CEnvOverride::CEnvOverride(const char* name, const std::string& value) : m_name(name) {
  if (const char* old = std::getenv(name)) {
    m_had = true;
    m_old = old;
  }
  ::setenv(name, value.c_str(), 1);
}

CEnvOverride::~CEnvOverride() {
  if (m_had)
    ::setenv(m_name, m_old.c_str(), 1);
  else
    ::unsetenv(m_name);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + path);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string DataFile(const std::string& name) { return std::string(CORVANE_TEST_DATA) + "/" + name; }

std::string SourceFile(const std::string& relative) {
  return std::string(CORVANE_SOURCE_DIR) + "/" + relative;
}

}  // namespace corvane::test
