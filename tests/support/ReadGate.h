#pragma once
// Holds back a background job's reading of a file until the test opens the gate, so
// that a test can act (cancel) while the job is surely in the middle of its work: every
// thread but the one that made the gate reads a file whose path contains `pathPart`
// `passes` times, and its next read waits for Open. Works through the platform's
// system-call table; installed until destruction, which opens the gate.
#include <string>

namespace corvane::test {

struct CGateState;

class CReadGate {
 public:
  CReadGate(std::string pathPart, int passes);
  ~CReadGate();
  CReadGate(const CReadGate&) = delete;
  CReadGate& operator=(const CReadGate&) = delete;

  void Open();
  // How many threads wait (or waited) at the gate.
  int Held() const;
  // Blocks until `threads` threads wait at the gate; false after a minute.
  bool WaitUntilHeld(int threads) const;

 private:
  CGateState* m_state;
};

}  // namespace corvane::test
