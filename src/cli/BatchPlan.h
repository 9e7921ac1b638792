#pragma once
// What a batch will do before it does anything: the input files (named, found in
// folders, or listed on standard input), the LAS file each one gives, the share of a
// shard, and every clash that refuses the whole batch.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::cli {

// --shard K/N: every N-th file of the whole list, starting with file K (counted from 0).
struct CBatchShard {
  int index = 0;
  int count = 1;

  // None unless the text is "K/N" with 0 <= K < N.
  static std::optional<CBatchShard> Parse(std::string_view text);
  bool Takes(std::size_t position) const noexcept {
    return position % static_cast<std::size_t>(count) == static_cast<std::size_t>(index);
  }
};

struct CBatchItem {
  std::string input;
  std::string output;
  std::uint64_t bytes = 0;  // the input's size when planned (0 when it cannot be read)
};

class CBatchPlan {
 public:
  struct COptions {
    std::string outDir;
    std::string configPath;
    std::string reportPath;  // empty: no report
    bool recursive = false;
    bool overwrite = false;
    std::optional<CBatchShard> shard;
  };

  // The bounds of a list read from standard input, so that an endless stream is
  // refused instead of read until memory runs out.
  static constexpr std::size_t kMaxListPath = 4096;
  static constexpr std::size_t kMaxListLines = 1000000;

  explicit CBatchPlan(COptions options);

  // Takes the inputs in the order given: a file, a folder (its files, with --recursive),
  // or "-" for a list of paths on `list`, one per line. What cannot be taken is kept as
  // a problem.
  void Gather(const std::vector<std::string>& arguments, std::istream& list);

  // Looks for what would make the batch fail for every file, destroy or mix up files:
  // a file where the output folder (or one above it) would be, two inputs giving one
  // LAS file, an input named twice or under two names, a LAS file that would replace an
  // input, the configuration or the report, and (for the files of this shard) a LAS
  // file that exists already without --overwrite.
  void FindClashes();

  // Why the batch cannot start: one line each, in the order found. Empty: it can.
  const std::vector<std::string>& Problems() const noexcept { return m_problems; }
  // Every input of the whole list, in order.
  std::size_t TotalFiles() const noexcept { return m_all.size(); }
  // The inputs of this shard, in order.
  std::vector<CBatchItem> Items() const;

  // The LAS file that `input` gives when it is found `relativeFolder` below a folder
  // named on the command line ("" for an input named itself): the file's name with
  // its last extension replaced by ".las".
  static std::string OutputFor(const std::string& outDir, const std::string& relativeFolder,
                               const std::string& input);

 private:
  void AddInput(const std::string& path, const std::string& relativeFolder);
  void Walk(const std::string& folder, const std::string& relativeFolder);
  void ReadList(std::istream& list, const std::function<void(const std::string&)>& take);

  COptions m_options;
  std::vector<CBatchItem> m_all;
  std::vector<std::string> m_problems;
};

}  // namespace corvane::cli
