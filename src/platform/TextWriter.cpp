#include "platform/TextWriter.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace corvane {
namespace {

constexpr std::size_t kBufferSize = 256u * 1024u;

[[noreturn]] void Fail(const std::string& what, const std::string& path, int cause) {
  throw CFileError(what + " '" + path + "': " + std::strerror(cause), cause);
}

// Writes everything or reports the errno of the failure (0 on success).
int WriteAll(int fd, const char* data, std::size_t size) noexcept {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

}  // namespace

CTextWriter::CTextWriter() = default;

CTextWriter::~CTextWriter() {
  if (m_fd >= 0) {
    (void)WriteAll(m_fd, m_buffer.data(), m_buffer.size());
    ::close(m_fd);
  }
}

void CTextWriter::Create(const std::string& path) {
  if (m_fd >= 0) Close();
  // No O_TRUNC: the file may be emptied only once the lock shows nobody else holds it.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) Fail("cannot create", path, errno);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int cause = errno;
    ::close(fd);
    Fail("cannot lock", path, cause);
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int cause = errno;
    ::close(fd);
    Fail("cannot examine", path, cause);
  }
  // Devices (a terminal, /dev/null) cannot be emptied and need not be.
  if (S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0) {
    const int cause = errno;
    ::close(fd);
    Fail("cannot empty", path, cause);
  }
  Adopt(fd, path);
}

void CTextWriter::Adopt(int fd, const std::string& path) {
  if (m_fd >= 0) Close();
  m_fd = fd;
  m_path = path;
  m_buffer.clear();
  m_buffer.reserve(kBufferSize);
  const off_t at = ::lseek(fd, 0, SEEK_CUR);
  m_written = at > 0 ? static_cast<std::uint64_t>(at) : 0;
}

void CTextWriter::Write(std::string_view text) {
  if (m_fd < 0) throw CFileError("write to a closed file", EBADF);
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const auto* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    if (lf == nullptr) {
      m_buffer.append(p, end);
      break;
    }
    m_buffer.append(p, lf);
    m_buffer.append("\r\n", 2);
    p = lf + 1;
  }
  if (m_buffer.size() >= kBufferSize) Flush();
}

void CTextWriter::WriteLine(std::string_view text) {
  Write(text);
  m_buffer.append("\r\n", 2);
  if (m_buffer.size() >= kBufferSize) Flush();
}

void CTextWriter::WriteRaw(std::string_view bytes) {
  if (m_fd < 0) throw CFileError("write to a closed file", EBADF);
  m_buffer.append(bytes);
  if (m_buffer.size() >= kBufferSize) Flush();
}

void CTextWriter::Flush() {
  if (m_fd < 0) throw CFileError("write to a closed file", EBADF);
  if (m_buffer.empty()) return;
  const int cause = WriteAll(m_fd, m_buffer.data(), m_buffer.size());
  if (cause != 0) {
    m_buffer.clear();  // what failed is lost either way; do not retry it on close
    Fail("cannot write", m_path, cause);
  }
  m_written += m_buffer.size();
  m_buffer.clear();
}

void CTextWriter::Close() {
  if (m_fd < 0) return;
  try {
    Flush();
  } catch (...) {
    ::close(m_fd);
    m_fd = -1;
    throw;
  }
  const int fd = m_fd;
  m_fd = -1;
  if (::close(fd) != 0 && errno != EINTR) Fail("cannot close", m_path, errno);
}

void CTextWriter::SetLength(std::uint64_t length) {
  Flush();
  if (::ftruncate(m_fd, static_cast<off_t>(length)) != 0) Fail("cannot set the length of", m_path, errno);
}

void CTextWriter::Seek(std::uint64_t offset) {
  Flush();
  if (::lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) < 0) Fail("cannot seek in", m_path, errno);
  m_written = offset;
}

}  // namespace corvane
