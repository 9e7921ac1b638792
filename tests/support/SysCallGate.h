#pragma once
// Holds a job inside its input until the test lets it go, through the platform's call
// table: the test knows the job is mid-way, does what it wants to happen there (a
// cancel, an interrupt), then opens the gate. No sleeping, no racing the job.
#include <cstdint>
#include <string>

namespace corvane::test {

class CReadGate {
 public:
  // A read of a file whose path holds `pathPart` waits once `after` bytes have been
  // read through that descriptor, until Open(). Installed until destruction, which
  // opens the gate first.
  CReadGate(std::string pathPart, std::uint64_t after);
  ~CReadGate();
  CReadGate(const CReadGate&) = delete;
  CReadGate& operator=(const CReadGate&) = delete;

  // Blocks until `count` descriptors are held at the gate; false when they have not
  // come after minutes (the job went another way: a failed test, not a slow one).
  bool WaitForArrivals(int count);
  // Lets every held read, and every later one, through.
  void Open();
};

}  // namespace corvane::test
