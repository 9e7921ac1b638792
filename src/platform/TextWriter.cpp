#include "platform/TextWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace corvane {
namespace {

constexpr std::size_t kBufferSize = 256u * 1024u;
// A new file is pushed to disk in steps of this size while it is written, so that the
// sync before it takes the old file's place waits for little more than the last step.
constexpr std::uint64_t kWritebackStep = 16u * 1024u * 1024u;

}  // namespace

CTextWriter::CTextWriter() = default;

CTextWriter::~CTextWriter() = default;

bool CTextWriter::IsOpen() const noexcept { return m_replacement.IsActive() || m_file.IsOpen(); }

void CTextWriter::Fail(const CResult& result) {
  m_failed = true;
  throw CFileError(result);
}

void CTextWriter::Create(const std::string& path, CFileReplacement::Policy policy) {
  if (IsOpen()) Close();
  CResult begun = m_replacement.Begin(path, policy);
  if (!begun.Ok()) throw CFileError(begun);
  m_buffer.clear();
  m_buffer.reserve(kBufferSize);
  m_written = 0;
  m_writebackFrom = 0;
  m_failed = false;
}

void CTextWriter::Adopt(CFile&& file) {
  if (IsOpen()) Close();
  m_file = std::move(file);
  m_buffer.clear();
  m_buffer.reserve(kBufferSize);
  m_written = 0;
  m_failed = false;
}

void CTextWriter::Write(std::string_view text) {
  if (!IsOpen()) throw CFileError(CResult::Failed("write to a closed file", EBADF));
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
  if (!IsOpen()) throw CFileError(CResult::Failed("write to a closed file", EBADF));
  m_buffer.append(bytes);
  if (m_buffer.size() >= kBufferSize) Flush();
}

void CTextWriter::Flush() {
  if (!IsOpen()) throw CFileError(CResult::Failed("write to a closed file", EBADF));
  if (m_buffer.empty()) return;
  CResult written = Out().WriteAll(m_buffer);
  const std::size_t size = m_buffer.size();
  m_buffer.clear();  // what failed is lost either way; it is not retried on close
  if (!written.Ok()) Fail(written);
  m_written += size;
  if (m_replacement.IsActive() && m_written - m_writebackFrom >= kWritebackStep) {
    m_replacement.File().StartWriteback(m_writebackFrom, m_written - m_writebackFrom);
    m_writebackFrom = m_written;
  }
}

void CTextWriter::ReplaceHead(std::uint64_t oldLength, std::string_view head) {
  Flush();
  if (oldLength > m_written) throw CFileError(CResult::Failed("a head beyond the end of the file", EINVAL));
  CFile& file = Out();
  auto check = [this](const CResult& result) {
    if (!result.Ok()) Fail(result);
  };
  const std::uint64_t tail = m_written - oldLength;
  const std::uint64_t newLength = head.size();
  if (newLength != oldLength) {
    // The tail moves in blocks, from its far end when it moves on and from its near end
    // when it moves back, so that no block overwrites bytes not yet moved.
    std::string block(std::min<std::uint64_t>(kBufferSize, std::max<std::uint64_t>(tail, 1)), '\0');
    const bool forward = newLength > oldLength;
    std::uint64_t done = 0;
    while (done < tail) {
      const std::uint64_t size = std::min<std::uint64_t>(block.size(), tail - done);
      const std::uint64_t offset = forward ? tail - done - size : done;
      std::size_t got = 0;
      check(file.ReadAt(block.data(), static_cast<std::size_t>(size), oldLength + offset, got));
      if (got != size) Fail(CResult::Failed(file.Path() + ": the file is shorter than written", EIO));
      check(file.WriteAt(std::string_view(block.data(), got), newLength + offset));
      done += size;
    }
    if (!forward) check(file.Truncate(newLength + tail));
  }
  check(file.WriteAt(head, 0));
  m_written = newLength + tail;
  check(file.Seek(m_written));
}

void CTextWriter::Commit() {
  Flush();
  if (m_failed) throw CFileError(CResult::Failed(Out().Path() + ": an earlier write failed", EIO));
  if (m_replacement.IsActive()) {
    CResult committed = m_replacement.Commit();
    if (!committed.Ok()) Fail(committed);
  } else {
    CResult synced = m_file.Sync();
    if (!synced.Ok()) Fail(synced);
  }
}

void CTextWriter::Close() {
  if (m_replacement.IsActive()) {
    m_buffer.clear();
    m_replacement.Abandon();
    return;
  }
  if (!m_file.IsOpen()) return;
  try {
    Flush();
  } catch (...) {
    m_file.Discard();
    throw;
  }
  CResult closed = m_file.Close();
  if (!closed.Ok()) throw CFileError(closed);
}

}  // namespace corvane
