#include "python/PythonProgress.h"

namespace py = pybind11;

namespace corvane::python {
namespace {

// Often enough for a prompt stop, rarely enough that waiting for the GIL costs nothing.
constexpr std::chrono::milliseconds kPollInterval(50);

}  // namespace

CPythonProgress::CPythonProgress(py::object cancel)
    : m_cancel(std::move(cancel)), m_thread(std::this_thread::get_id()) {
  const py::module_ threading = py::module_::import("threading");
  m_mainThread = threading.attr("current_thread")().is(threading.attr("main_thread")());
}

CPythonProgress::~CPythonProgress() {
  // Made and destroyed with the GIL held: a pending exception the job never got to
  // raise is simply dropped.
  Py_XDECREF(m_type);
  Py_XDECREF(m_value);
  Py_XDECREF(m_traceback);
}

void CPythonProgress::Open(const std::string&, std::int32_t& cancelFlag) {
  m_flag = &cancelFlag;
  if (m_cancelled) *m_flag = 2;
}

bool CPythonProgress::PollCancel() {
  if (std::this_thread::get_id() != m_thread) return false;
  if (!m_cancelled && (m_mainThread || !m_cancel.is_none())) {
    const auto now = std::chrono::steady_clock::now();
    if (!m_polled || now - m_lastPoll >= kPollInterval) {
      m_polled = true;
      m_lastPoll = now;
      m_cancelled = AskPython();
    }
  }
  if (m_cancelled && m_flag != nullptr) *m_flag = 2;
  return m_cancelled || (m_flag != nullptr && *m_flag == 2);
}

bool CPythonProgress::AskPython() {
  const py::gil_scoped_acquire gil;
  bool stop = m_mainThread && PyErr_CheckSignals() != 0;
  if (!stop && !m_cancel.is_none()) {
    PyObject* answer = PyObject_CallNoArgs(m_cancel.ptr());
    const int truth = answer != nullptr ? PyObject_IsTrue(answer) : -1;
    Py_XDECREF(answer);
    stop = truth != 0;
  }
  if (PyErr_Occurred() != nullptr) PyErr_Fetch(&m_type, &m_value, &m_traceback);
  return stop;
}

void CPythonProgress::RaisePending() {
  if (m_type == nullptr) return;
  PyErr_Restore(m_type, m_value, m_traceback);
  m_type = m_value = m_traceback = nullptr;
  throw py::error_already_set();
}

}  // namespace corvane::python
