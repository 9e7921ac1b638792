#pragma once
// The one line reader of the system. Every reader of an ASCII, LAS or temporary
// file (preview, samples, depth scan, data section, inversion, unwrap, detection)
// goes through it, so that "line n" means the same line everywhere.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/File.h"
#include "platform/FileError.h"

namespace corvane {

class CTextReader {
 public:
  // A line longer than this is refused as a read failure instead of being held whole.
  static constexpr std::size_t kMaxLineLength = 16u * 1024u * 1024u;
  // Bytes taken from the file per read (lines may span any number of them).
  static constexpr std::size_t kBlockSize = 512u * 1024u;

  CTextReader();
  ~CTextReader();
  CTextReader(const CTextReader&) = delete;
  CTextReader& operator=(const CTextReader&) = delete;

  // Opens the file for reading. With `exclusive`, an advisory lock (flock, LOCK_EX,
  // non-blocking) is taken, so a second opener of the same file — in this process or
  // another — fails. Only regular files are read: a FIFO or a device is refused at
  // once rather than waited on or read without end. Throws CFileError when the file
  // cannot be opened or is locked.
  void Open(const std::string& path, bool exclusive = true);
  // Reads an open file (a temporary, say) from its start; the reader owns it now.
  void Adopt(CFile&& file);
  bool IsOpen() const noexcept { return m_file.IsOpen(); }
  void Close() noexcept;

  // Reads the next line whole, in text mode: a CR LF pair comes back as one "\n", a
  // lone LF as "\n"; the "\n" is kept when the line had one (the last line of a file
  // may have none). A Ctrl-Z byte (0x1A) ends the text, as it did on the systems
  // such files come from: nothing after it is read. Any other byte (a lone CR
  // included) is returned as it stands.
  // The view stays valid until the next call on this reader.
  // Returns false at the end of the file. Throws CFileError on a read error or when
  // the line is longer than kMaxLineLength.
  bool NextLine(std::string_view& line);
  bool ReadLine(std::string& line);

  // Reads the next line but keeps at most `keep` bytes of it in `line` (the rest of
  // the line is consumed and dropped, never held in memory); `fullLength` receives
  // the length of the whole line in text mode, its "\n" counted. Returns false at EOF.
  // Throws CFileError on a read error or when the line is longer than kMaxLineLength.
  bool ReadLinePrefix(std::string& line, std::size_t keep, std::uint64_t& fullLength);

  // Bytes of the file consumed so far (file offset, CR LF counted as two bytes).
  std::uint64_t Position() const noexcept;
  // Size of the file in bytes when it was opened.
  std::uint64_t Size() const noexcept { return m_size; }
  // The identity of the file when it was opened (of the open file, whatever its name
  // names by now).
  const CFileIdentity& Identity() const noexcept { return m_identity; }
  // True once the reading has met a Ctrl-Z; at the end of the text Position() is
  // then the offset of that byte, and the bytes from there on were not read.
  bool StoppedAtCtrlZ() const noexcept { return m_ctrlZ; }
  // Moves the read position to `offset` bytes from the start of the file.
  void Seek(std::uint64_t offset);

  // Reads no further than the size the file had when it was opened, so that a file
  // still being written is read to a known end instead of for as long as it grows.
  void KeepToOpeningSize() noexcept { m_keepToOpeningSize = true; }
  // How the file changed since it was opened (its size, or a write that kept the
  // size), in words; empty when it did not. A file given a new name's content by a
  // rename is not changed: the reader keeps the file it opened.
  std::string ChangeSinceOpen() const;

 private:
  bool Fill();
  [[noreturn]] void LineTooLong() const;
  void Reset(std::uint64_t size);

  CFile m_file;
  std::uint64_t m_size = 0;
  CFileIdentity m_identity;
  std::uint64_t m_bufferStart = 0;  // file offset of m_buffer[0]
  std::vector<char> m_buffer;
  std::size_t m_begin = 0;  // next unread byte in m_buffer
  std::size_t m_end = 0;    // end of valid bytes in m_buffer
  bool m_eof = false;
  bool m_ctrlZ = false;
  bool m_keepToOpeningSize = false;
  std::string m_long;  // holds a line that spans buffer refills
};

}  // namespace corvane
