#pragma once
// Holds off the signals that cancel a run (SIGINT, SIGTERM, SIGHUP) for the few steps
// that must not stop half way, such as copying a finished file over an old one in
// place. A signal that comes meanwhile is noted and sent again to the process when the
// last hold ends, so that it then does what it would have done (a cancel, or the end of
// the program). Holds may overlap, on any threads.
namespace corvane {

class CCancelSignalsHeld {
 public:
  CCancelSignalsHeld();
  ~CCancelSignalsHeld();
  CCancelSignalsHeld(const CCancelSignalsHeld&) = delete;
  CCancelSignalsHeld& operator=(const CCancelSignalsHeld&) = delete;
};

}  // namespace corvane
