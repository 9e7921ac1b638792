#include "platform/SignalHold.h"

#include <unistd.h>

#include <array>
#include <csignal>
#include <mutex>

namespace corvane {
namespace {

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};

std::mutex g_mutex;
int g_holds = 0;
std::array<struct sigaction, kSignals.size()> g_saved{};
std::array<volatile std::sig_atomic_t, kSignals.size()> g_pending{};

extern "C" void NoteSignal(int signal) {
  for (std::size_t i = 0; i < kSignals.size(); ++i)
    if (kSignals[i] == signal) g_pending[i] = 1;
}

}  // namespace

CCancelSignalsHeld::CCancelSignalsHeld() {
  const std::lock_guard lock(g_mutex);
  if (g_holds++ > 0) return;
  struct sigaction note {};
  note.sa_handler = NoteSignal;
  sigfillset(&note.sa_mask);
  // Calls the hold protects go on rather than fail with EINTR.
  note.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kSignals.size(); ++i) {
    g_pending[i] = 0;
    sigaction(kSignals[i], &note, &g_saved[i]);
  }
}

CCancelSignalsHeld::~CCancelSignalsHeld() {
  const std::lock_guard lock(g_mutex);
  if (--g_holds > 0) return;
  for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &g_saved[i], nullptr);
  // To the process, not this thread: a worker thread may keep these signals blocked for
  // the thread that watches for them.
  for (std::size_t i = 0; i < kSignals.size(); ++i)
    if (g_pending[i] != 0) ::kill(::getpid(), kSignals[i]);
}

}  // namespace corvane
