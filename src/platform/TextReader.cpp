#include "platform/TextReader.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace corvane {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, int cause) {
  throw CFileError(what + " '" + path + "': " + std::strerror(cause), cause);
}

}  // namespace

CTextReader::CTextReader() = default;

CTextReader::~CTextReader() { Close(); }

void CTextReader::Open(const std::string& path, bool exclusive) {
  Close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail("cannot open", path, errno);
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int cause = errno;
    ::close(fd);
    Fail("cannot examine", path, cause);
  }
  if (S_ISDIR(info.st_mode)) {
    ::close(fd);
    Fail("cannot read", path, EISDIR);
  }
  if (exclusive && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int cause = errno;
    ::close(fd);
    Fail("cannot lock", path, cause);
  }
  m_fd = fd;
  m_path = path;
  m_size = static_cast<std::uint64_t>(info.st_size);
  m_bufferStart = 0;
  m_buffer.resize(kBlockSize);  // large reads keep the per-line cost down
  m_begin = m_end = 0;
  m_eof = false;
  m_long.clear();
}

void CTextReader::Close() noexcept {
  if (m_fd >= 0) ::close(m_fd);  // closing drops the lock as well
  m_fd = -1;
  m_begin = m_end = 0;
  m_bufferStart = 0;
  m_eof = false;
  m_long.clear();
  m_long.shrink_to_fit();
}

// Replaces the consumed buffer with the next block of the file; false at its end.
bool CTextReader::Fill() {
  if (m_fd < 0) throw CFileError("read from a closed file", EBADF);
  if (m_eof) return false;
  m_bufferStart += m_end;
  m_begin = m_end = 0;
  for (;;) {
    const ssize_t n = ::read(m_fd, m_buffer.data(), m_buffer.size());
    if (n > 0) {
      m_end = static_cast<std::size_t>(n);
      return true;
    }
    if (n == 0) {
      m_eof = true;
      return false;
    }
    if (errno != EINTR) Fail("cannot read", m_path, errno);
  }
}

bool CTextReader::NextLine(std::string_view& line) {
  m_long.clear();
  for (;;) {
    if (m_begin < m_end) {
      char* const start = m_buffer.data() + m_begin;
      const std::size_t available = m_end - m_begin;
      auto* lf = static_cast<char*>(std::memchr(start, '\n', available));
      if (lf != nullptr) {
        const auto length = static_cast<std::size_t>(lf - start) + 1;
        m_begin += length;
        if (m_long.empty()) {
          if (length >= 2 && lf[-1] == '\r') {
            lf[-1] = '\n';  // the byte is behind m_begin now; a Seek drops the buffer
            line = std::string_view(start, length - 1);
          } else {
            line = std::string_view(start, length);
          }
        } else {
          if (m_long.size() + length > kMaxLineLength + 2) Fail("line too long in", m_path, EFBIG);
          m_long.append(start, length);
          if (m_long.size() >= 2 && m_long[m_long.size() - 2] == '\r') {
            m_long.erase(m_long.size() - 2, 1);
          }
          line = m_long;
        }
        if (line.size() - 1 > kMaxLineLength) Fail("line too long in", m_path, EFBIG);
        return true;
      }
      // The line goes on past this block. A trailing CR may be half of a CR LF pair
      // that the next block completes; it stays in m_long until then.
      if (m_long.size() + available > kMaxLineLength + 1) Fail("line too long in", m_path, EFBIG);
      m_long.append(start, available);
      m_begin = m_end;
    }
    if (!Fill()) {
      if (m_long.empty()) return false;
      if (m_long.size() > kMaxLineLength) Fail("line too long in", m_path, EFBIG);
      line = m_long;  // last line without a line end
      return true;
    }
  }
}

bool CTextReader::ReadLine(std::string& line) {
  std::string_view view;
  if (!NextLine(view)) return false;
  line.assign(view);
  return true;
}

bool CTextReader::ReadLinePrefix(std::string& line, std::size_t keep, std::uint64_t& fullLength) {
  line.clear();
  m_long.clear();
  // Raw bytes are kept up to one past `keep`, enough to hold a whole line whose
  // CR LF still has to become one "\n".
  const std::size_t store = keep == static_cast<std::size_t>(-1) ? keep : keep + 1;
  std::uint64_t raw = 0;
  bool lastWasCR = false;
  bool any = false;
  bool ended = false;
  for (;;) {
    if (m_begin < m_end) {
      any = true;
      const char* const start = m_buffer.data() + m_begin;
      const std::size_t available = m_end - m_begin;
      const auto* lf = static_cast<const char*>(std::memchr(start, '\n', available));
      const std::size_t take = lf != nullptr ? static_cast<std::size_t>(lf - start) + 1 : available;
      if (line.size() < store) line.append(start, std::min(take, store - line.size()));
      if (lf != nullptr) {
        if (take >= 2) lastWasCR = lf[-1] == '\r';
      } else {
        lastWasCR = start[take - 1] == '\r';
      }
      raw += take;
      m_begin += take;
      if (lf != nullptr) {
        ended = true;
        break;
      }
    }
    if (!Fill()) break;
  }
  if (!any) return false;
  const bool crlf = ended && lastWasCR;
  const std::uint64_t textLength = raw - (crlf ? 1 : 0);
  fullLength = textLength;
  if (keep >= textLength) {
    if (crlf) line.erase(line.size() - 2, 1);  // the whole line is held
  } else {
    line.resize(keep);
  }
  return true;
}

std::uint64_t CTextReader::Position() const noexcept { return m_bufferStart + m_begin; }

void CTextReader::Seek(std::uint64_t offset) {
  if (m_fd < 0) throw CFileError("seek in a closed file", EBADF);
  if (::lseek(m_fd, static_cast<off_t>(offset), SEEK_SET) < 0) Fail("cannot seek in", m_path, errno);
  m_bufferStart = offset;
  m_begin = m_end = 0;
  m_eof = false;
  m_long.clear();
}

}  // namespace corvane
