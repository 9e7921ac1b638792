#include "platform/TextReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace corvane {
namespace {

// The end-of-text mark of the systems older files come from.
constexpr char kCtrlZ = '\x1a';

}  // namespace

CTextReader::CTextReader() = default;

CTextReader::~CTextReader() { Close(); }

void CTextReader::Open(const std::string& path, bool exclusive) {
  Close();
  CResult opened = m_file.OpenForReading(path, exclusive ? CFile::Lock::Exclusive : CFile::Lock::None);
  if (!opened.Ok()) throw CFileError(opened);
  struct stat info {};
  CResult examined = m_file.Info(info);
  if (!examined.Ok()) {
    m_file.Discard();
    throw CFileError(examined);
  }
  m_identity = CFileIdentity::Of(info);
  Reset(static_cast<std::uint64_t>(info.st_size));
}

std::string CTextReader::ChangeSinceOpen() const {
  struct stat now {};
  if (!m_file.IsOpen() || !m_file.Info(now).Ok()) return std::string();
  if (static_cast<std::uint64_t>(now.st_size) != m_size)
    return "it had " + std::to_string(m_size) + " bytes when it was opened and " +
           std::to_string(now.st_size) + " at the end";
  if (CFileIdentity::Of(now).modifiedNs != m_identity.modifiedNs)
    return "it was written to while it was read";
  return std::string();
}

void CTextReader::Adopt(CFile&& file) {
  Close();
  m_file = std::move(file);
  struct stat info {};
  CResult examined = m_file.Info(info);
  if (examined.Ok()) examined = m_file.Seek(0);
  if (!examined.Ok()) {
    m_file.Discard();
    throw CFileError(examined);
  }
  m_identity = CFileIdentity::Of(info);
  Reset(static_cast<std::uint64_t>(info.st_size));
}

void CTextReader::Reset(std::uint64_t size) {
  m_size = size;
  m_bufferStart = 0;
  m_buffer.resize(kBlockSize);  // large reads keep the per-line cost down
  m_begin = m_end = 0;
  m_eof = false;
  m_ctrlZ = false;
  m_keepToOpeningSize = false;
  m_long.clear();
}

void CTextReader::LineTooLong() const {
  throw CFileError(CResult::Failed(m_file.Path() + ": a line is longer than 16 MiB", EFBIG));
}

void CTextReader::Close() noexcept {
  m_file.Discard();  // closing drops the lock as well
  m_begin = m_end = 0;
  m_bufferStart = 0;
  m_eof = false;
  m_ctrlZ = false;
  m_long.clear();
  m_long.shrink_to_fit();
}

// Replaces the consumed buffer with the next block of the file; false at its end.
bool CTextReader::Fill() {
  if (!m_file.IsOpen()) throw CFileError(CResult::Failed("read from a closed file", EBADF));
  if (m_eof) return false;
  m_bufferStart += m_end;
  m_begin = m_end = 0;
  std::size_t want = m_buffer.size();
  if (m_keepToOpeningSize) {
    if (m_bufferStart >= m_size) {
      m_eof = true;
      return false;
    }
    want = static_cast<std::size_t>(std::min<std::uint64_t>(want, m_size - m_bufferStart));
  }
  std::size_t got = 0;
  CResult read = m_file.Read(m_buffer.data(), want, got);
  if (!read.Ok()) throw CFileError(read);
  if (got == 0) {
    m_eof = true;
    return false;
  }
  if (const void* mark = std::memchr(m_buffer.data(), kCtrlZ, got)) {
    got = static_cast<std::size_t>(static_cast<const char*>(mark) - m_buffer.data());
    m_eof = true;  // the text ends here; the bytes before the mark are still served
    m_ctrlZ = true;
    if (got == 0) return false;
  }
  m_end = got;
  return true;
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
          if (m_long.size() + length > kMaxLineLength + 2) LineTooLong();
          m_long.append(start, length);
          if (m_long.size() >= 2 && m_long[m_long.size() - 2] == '\r') {
            m_long.erase(m_long.size() - 2, 1);
          }
          line = m_long;
        }
        if (line.size() - 1 > kMaxLineLength) LineTooLong();
        return true;
      }
      // The line goes on past this block. A trailing CR may be half of a CR LF pair
      // that the next block completes; it stays in m_long until then.
      if (m_long.size() + available > kMaxLineLength + 1) LineTooLong();
      m_long.append(start, available);
      m_begin = m_end;
    }
    if (!Fill()) {
      if (m_long.empty()) return false;
      if (m_long.size() > kMaxLineLength) LineTooLong();
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
      // The same refusal as NextLine's, without ever holding the line.
      if (raw > kMaxLineLength + 2) LineTooLong();
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
  if (textLength - (ended ? 1 : 0) > kMaxLineLength) LineTooLong();
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
  if (!m_file.IsOpen()) throw CFileError(CResult::Failed("seek in a closed file", EBADF));
  CResult moved = m_file.Seek(offset);
  if (!moved.Ok()) throw CFileError(moved);
  m_bufferStart = offset;
  m_begin = m_end = 0;
  m_eof = false;
  m_ctrlZ = false;
  m_long.clear();
}

}  // namespace corvane
