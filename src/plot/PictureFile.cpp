#include "plot/PictureFile.h"

#include <utility>

namespace corvane {

CPictureFile::CPictureFile(std::function<bool()> cancelled) : m_cancelled(std::move(cancelled)) {}

CPictureFile::~CPictureFile() { m_replacement.Abandon(); }

CResult CPictureFile::ReasonAlone(CResult result) const {
  if (!result.IsFailed()) return result;
  for (const std::string& path : {m_replacement.Target(), m_path}) {
    const std::string prefix = path + ": ";
    if (!path.empty() && result.Reason().rfind(prefix, 0) == 0)
      return CResult::Failed(result.Reason().substr(prefix.size()), result.Error());
  }
  return result;
}

CResult CPictureFile::Begin(const std::string& path) {
  m_failure = CResult::Done();
  m_buffer.clear();
  m_path = path;
  CResult begun = m_replacement.Begin(path, CFileReplacement::Policy::Replace, 0666);
  if (!begun.Ok()) return ReasonAlone(begun);
  open(QIODevice::WriteOnly);
  return begun;
}

CResult CPictureFile::Commit() {
  close();
  Flush();
  if (!m_failure.Ok()) {
    m_replacement.Abandon();
    return ReasonAlone(m_failure);
  }
  if (m_cancelled && m_cancelled()) {
    m_replacement.Abandon();
    return m_failure = CResult::Cancelled();
  }
  return ReasonAlone(m_replacement.Commit());
}

qint64 CPictureFile::readData(char*, qint64) { return -1; }

bool CPictureFile::Flush() {
  if (m_failure.Ok() && !m_buffer.empty()) m_failure = m_replacement.File().WriteAll(m_buffer);
  m_buffer.clear();
  if (m_failure.Ok()) return true;
  setErrorString(QString::fromStdString(m_failure.Reason()));
  return false;
}

qint64 CPictureFile::writeData(const char* data, qint64 size) {
  if (!m_failure.Ok()) return -1;
  if (m_cancelled && m_cancelled()) {
    m_failure = CResult::Cancelled();
    setErrorString(QStringLiteral("cancelled"));
    return -1;
  }
  m_buffer.append(data, static_cast<std::size_t>(size));
  if (m_buffer.size() >= kBufferSize && !Flush()) return -1;
  return size;
}

}  // namespace corvane
