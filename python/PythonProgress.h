#pragma once
// The progress of a job the module runs without the GIL: nothing is shown, but at its
// polls (a few times a second at most) the job takes the GIL on the thread that
// started it to hear Ctrl-C (on Python's main thread) and to ask the caller's `cancel`
// callable. A Python exception met there stops the job and is raised once it is over.
#include <pybind11/pybind11.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>

#include "platform/JobProgress.h"

namespace corvane::python {

class CPythonProgress : public CJobProgress {
 public:
  // Made and destroyed with the GIL held, on the thread that runs the job. `cancel`:
  // None, or a callable without arguments whose true answer cancels.
  explicit CPythonProgress(pybind11::object cancel);
  ~CPythonProgress() override;
  CPythonProgress(const CPythonProgress&) = delete;
  CPythonProgress& operator=(const CPythonProgress&) = delete;

  void Open(const std::string& title, std::int32_t& cancelFlag) override;
  void SetLineText(std::string_view) override {}
  void SetPercent(int) override {}
  // Safe on any thread; only the job's own thread looks at Python.
  bool PollCancel() override;
  void Close() override { m_flag = nullptr; }

  // With the GIL held, after the job: raises the exception a poll met, if any.
  void RaisePending();

 private:
  bool AskPython();

  pybind11::object m_cancel;
  bool m_mainThread = false;
  std::thread::id m_thread;
  std::int32_t* m_flag = nullptr;
  bool m_cancelled = false;
  bool m_polled = false;
  std::chrono::steady_clock::time_point m_lastPoll;
  PyObject* m_type = nullptr;
  PyObject* m_value = nullptr;
  PyObject* m_traceback = nullptr;
};

}  // namespace corvane::python
