#pragma once
// Text output in the form every file of the system is written in: each line end
// is CR LF, whatever the platform.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/File.h"
#include "platform/FileError.h"
#include "platform/FileReplacement.h"

namespace corvane {

class CTextWriter {
 public:
  CTextWriter();
  ~CTextWriter();  // drops what was not committed; call Commit() or Close() to learn of failures
  CTextWriter(const CTextWriter&) = delete;
  CTextWriter& operator=(const CTextWriter&) = delete;

  // Starts a new version of `path` (a CFileReplacement): the old file, locked for the
  // run, stays as it was until Commit() puts the new text in its place. Throws
  // CFileError when the file cannot be written or another job holds it.
  void Create(const std::string& path, CFileReplacement::Policy policy = CFileReplacement::Policy::Replace);
  // Why the file is rewritten in place from a complete copy (CFileReplacement); empty
  // for a file put in place by a rename.
  const std::string& InPlaceNote() const noexcept { return m_replacement.InPlaceNote(); }
  // Writes into an open file (a temporary, say) from its current position.
  void Adopt(CFile&& file);

  // Writes `text`, each "\n" in it as CR LF, then CR LF.
  void WriteLine(std::string_view text);
  // Writes `text`, each "\n" in it as CR LF.
  void Write(std::string_view text);
  // Writes bytes as they are (used for text already in CR LF form).
  void WriteRaw(std::string_view bytes);

  // Puts `head` in the place of the first `oldLength` bytes written, moving what
  // follows them when the lengths differ: for a head that is known only once the rest
  // is written. Later writes go on at the end. Throws CFileError.
  void ReplaceHead(std::uint64_t oldLength, std::string_view head);

  // Hands buffered output to the file. Throws CFileError on a write failure.
  void Flush();
  // Flushes; a new version of a file is made durable and put in place. Refused when
  // any write failed before, so that a file with a hole in it never replaces the old
  // one. Throws CFileError.
  void Commit();
  // Flushes and closes an adopted file; drops a new version that was not committed
  // (the old file stays). Throws CFileError when the last writes fail.
  void Close();
  bool IsOpen() const noexcept;
  // Bytes written so far (CR LF counted as two).
  std::uint64_t Position() const noexcept { return m_written + m_buffer.size(); }

 private:
  CFile& Out() noexcept { return m_replacement.IsActive() ? m_replacement.File() : m_file; }
  void Fail(const CResult& result);

  CFileReplacement m_replacement;
  CFile m_file;  // an adopted file
  std::string m_buffer;
  std::uint64_t m_written = 0;
  std::uint64_t m_writebackFrom = 0;  // bytes before this are on their way to disk
  bool m_failed = false;
};

}  // namespace corvane
