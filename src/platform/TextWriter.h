#pragma once
// Text output in the form every file of the system is written in: each line end
// is CR LF, whatever the platform.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileError.h"

namespace corvane {

class CTextWriter {
 public:
  CTextWriter();
  ~CTextWriter();  // closes without reporting; call Close() to learn of failures
  CTextWriter(const CTextWriter&) = delete;
  CTextWriter& operator=(const CTextWriter&) = delete;

  // Creates the file, or empties an existing one, for writing, holding an exclusive
  // advisory lock. The lock is taken before anything is emptied, so a file that
  // another job holds is never truncated: the create then fails. Throws CFileError.
  void Create(const std::string& path);
  // Takes over an open, writable descriptor (for example CreateTempFile's, lock
  // included) as if Create had opened it; the writer closes it.
  void Adopt(int fd, const std::string& path);

  // Writes `text`, each "\n" in it as CR LF, then CR LF.
  void WriteLine(std::string_view text);
  // Writes `text`, each "\n" in it as CR LF.
  void Write(std::string_view text);
  // Writes bytes as they are (used for text already in CR LF form).
  void WriteRaw(std::string_view bytes);

  // Hands buffered output to the file. Throws CFileError on a write failure.
  void Flush();
  // Flushes and closes. Throws CFileError when the last writes fail.
  void Close();
  bool IsOpen() const noexcept { return m_fd >= 0; }
  int Fd() const noexcept { return m_fd; }
  // Flushes, then sets the file's length (lengthening fills with zero bytes).
  void SetLength(std::uint64_t length);
  // Flushes, then moves the write position to `offset` bytes from the start.
  void Seek(std::uint64_t offset);
  // Bytes written so far (CR LF counted as two).
  std::uint64_t Position() const noexcept { return m_written + m_buffer.size(); }

 private:
  int m_fd = -1;
  std::string m_path;
  std::string m_buffer;
  std::uint64_t m_written = 0;
};

}  // namespace corvane
