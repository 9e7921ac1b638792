#pragma once
// Small helpers shared by the core test programs.
#include <string>

namespace corvane::test {

// A fresh directory under the temp directory, removed with everything in it when
// the object goes away.
class CScratchDir {
 public:
  CScratchDir();
  ~CScratchDir();
  CScratchDir(const CScratchDir&) = delete;
  CScratchDir& operator=(const CScratchDir&) = delete;
  const std::string& Path() const { return m_path; }
  // Path of a file inside the directory.
  std::string File(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

// Sets an environment variable for one test and puts the old value back.
class CEnvOverride {
 public:
  CEnvOverride(const char* name, const std::string& value);
  ~CEnvOverride();
  CEnvOverride(const CEnvOverride&) = delete;
  CEnvOverride& operator=(const CEnvOverride&) = delete;

 private:
  const char* m_name;
  bool m_had = false;
  std::string m_old;
};

// Writes bytes exactly as given (no line-end translation).
void WriteBytes(const std::string& path, const std::string& bytes);
// Reads a whole file; throws when it cannot be read.
std::string ReadBytes(const std::string& path);
// Path of a file under tests/data.
std::string DataFile(const std::string& name);
// Path of a file relative to the source tree (for example "examples/...").
std::string SourceFile(const std::string& relative);

}  // namespace corvane::test
