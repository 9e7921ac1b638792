#pragma once
// A private scratch folder for one fuzzing process, and writing a fuzz input into it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace corvane::fuzz {

inline const std::string& ScratchFolder() {
  static const std::string folder = [] {
    // In memory where possible: every conversion syncs its output, which on a disk
    // would cost more than the work under test.
    std::string pattern =
        ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/corvane-fuzz-XXXXXX" : "/tmp/corvane-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
  }();
  return folder;
}

inline std::string WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = ScratchFolder() + "/" + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
  return path;
}

}  // namespace corvane::fuzz
