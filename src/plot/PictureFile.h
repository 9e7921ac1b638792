#pragma once
// A picture file as Qt's writers see it (a QIODevice), written through the program's
// file replacement: the new picture takes the place of an old one only when it is
// whole, and a failed write is reported with the system's reason.
#include <QIODevice>

#include <functional>
#include <string>

#include "platform/FileReplacement.h"
#include "platform/Result.h"

namespace corvane {

class CPictureFile : public QIODevice {
 public:
  // `cancelled`, asked at every write, stops the writing (the picture is then dropped).
  explicit CPictureFile(std::function<bool()> cancelled = {});
  ~CPictureFile() override;  // drops an uncommitted picture
  CPictureFile(const CPictureFile&) = delete;
  CPictureFile& operator=(const CPictureFile&) = delete;

  // Starts the new picture of `path` and opens the device for writing.
  CResult Begin(const std::string& path);
  // Puts the whole picture in place; refused after any failed or cancelled write.
  CResult Commit();
  // The first failure (a write, or the cancel); done while there is none.
  const CResult& Failure() const noexcept { return m_failure; }
  // The results above give the reason alone: the caller names the file.
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char* data, qint64 size) override;
  qint64 writeData(const char* data, qint64 size) override;

 private:
  static constexpr std::size_t kBufferSize = 256 * 1024;
  bool Flush();
  CResult ReasonAlone(CResult result) const;

  CFileReplacement m_replacement;
  std::string m_buffer;
  std::string m_path;
  std::function<bool()> m_cancelled;
  CResult m_failure;
};

}  // namespace corvane
