#include "cli/BatchPlan.h"

#include <dirent.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <map>
#include <utility>

#include "platform/AsciiText.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Result.h"

namespace corvane::cli {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// "A", "A and B", "A, B and C"
std::string JoinNames(const std::vector<std::string>& names) {
  std::string out;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += i + 1 == names.size() ? " and " : ", ";
    out += names[i];
  }
  return out;
}

}  // namespace

std::optional<CBatchShard> CBatchShard::Parse(std::string_view text) {
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  auto number = [](std::string_view digits, int& value) {
    if (digits.empty() || digits.size() > 6 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
      return false;
    value = 0;
    for (const char c : digits) value = value * 10 + (c - '0');
    return true;
  };
  CBatchShard shard;
  if (!number(text.substr(0, slash), shard.index) || !number(text.substr(slash + 1), shard.count) ||
      shard.count < 1 || shard.index >= shard.count)
    return std::nullopt;
  return shard;
}

CBatchPlan::CBatchPlan(COptions options) : m_options(std::move(options)) {
  std::string& dir = m_options.outDir;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
}

std::string CBatchPlan::OutputFor(const std::string& outDir, const std::string& relativeFolder,
                                  const std::string& input) {
  std::string name = input;
  while (name.size() > 1 && name.back() == '/') name.pop_back();
  name = BaseNameOf(name);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return Join(outDir, relativeFolder + name + ".las");
}

void CBatchPlan::AddInput(const std::string& path, const std::string& relativeFolder) {
  CBatchItem item;
  item.input = path;
  item.output = OutputFor(m_options.outDir, relativeFolder, path);
  if (const CPathInfo info = PathInfo(path); info.kind == FileKind::Regular) item.bytes = info.size;
  m_all.push_back(std::move(item));
}

void CBatchPlan::Gather(const std::vector<std::string>& arguments, std::istream& list) {
  auto take = [this](const std::string& path) {
    if (!IsFolder(path)) {
      AddInput(path, std::string());
    } else if (!m_options.recursive) {
      m_problems.push_back(path + " is a folder; give --recursive to convert the files in it");
    } else {
      Walk(path, std::string());
    }
  };
  for (const std::string& argument : arguments) {
    if (argument != "-") {
      take(argument);
      continue;
    }
    ReadList(list, take);
  }
}

void CBatchPlan::ReadList(std::istream& list, const std::function<void(const std::string&)>& take) {
  // A path, the CR of a list written with CR LF, the terminating NUL.
  std::array<char, kMaxListPath + 2> buffer{};
  for (std::size_t lines = 1;; ++lines) {
    list.getline(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const bool cut =
        list.fail() && !list.eof() && list.gcount() == static_cast<std::streamsize>(buffer.size() - 1);
    std::string line(buffer.data());
    if (!line.empty() && line.back() == '\r') line.pop_back();  // a list written with CR LF
    if (cut || line.size() > kMaxListPath) {
      m_problems.push_back("line " + std::to_string(lines) +
                           " of the list on standard input is longer than " + std::to_string(kMaxListPath) +
                           " bytes; no path is that long");
      return;
    }
    if (list.fail()) return;  // the end of the list
    if (lines > kMaxListLines) {
      m_problems.push_back("the list on standard input has more than " + std::to_string(kMaxListLines) +
                           " lines; give at most that many paths in one batch");
      return;
    }
    if (!line.empty()) take(line);
    if (list.eof()) return;
  }
}

void CBatchPlan::Walk(const std::string& folder, const std::string& relativeFolder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) {
    m_problems.push_back(CResult::SystemError(folder, errno).Reason());
    return;
  }
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir)) {
    // Hidden files, and the program's own LAS and configuration files, are no ASCII logs.
    const std::string name = entry->d_name;
    if (name.empty() || name[0] == '.' || EndsWithNoCase(name, ".las") || EndsWithNoCase(name, ".lah"))
      continue;
    names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());

  const CPathInfo outDir = PathInfo(m_options.outDir);
  for (const std::string& name : names) {
    const std::string path = Join(folder, name);
    const CPathInfo link = PathInfo(path, false);
    const CPathInfo info = PathInfo(path);
    if (link.kind == FileKind::None || info.kind == FileKind::None) continue;
    if (info.kind == FileKind::Folder) {
      // Links to folders are not followed (they may lead back up), nor is the output folder.
      if (link.kind == FileKind::SymbolicLink) continue;
      if (outDir.kind != FileKind::None && info.id == outDir.id) continue;
      Walk(path, relativeFolder + name + "/");
    } else if (info.kind == FileKind::Regular) {
      AddInput(path, relativeFolder);
    }
  }
}

void CBatchPlan::FindClashes() {
  // The LAS files go into a folder: a file standing where it or a folder above it would
  // be refuses the batch now, not once for every input.
  for (std::string folder = m_options.outDir;;) {
    const CPathInfo info = PathInfo(folder);
    if (info.kind == FileKind::Folder) break;
    if (info.kind != FileKind::None) {
      m_problems.push_back(CResult::SystemError(folder, ENOTDIR).Reason() +
                           " (--out-dir names the folder of the LAS files)");
      break;
    }
    const std::string above = DirectoryOf(folder);
    if (above == folder) break;
    folder = above;
  }

  std::map<CFilePlace, std::vector<std::size_t>> inputs;
  std::map<CFilePlace, std::vector<std::size_t>> outputs;
  std::vector<CFilePlace> inputPlaces;
  for (std::size_t i = 0; i < m_all.size(); ++i) {
    inputPlaces.push_back(PlaceOf(m_all[i].input));
    inputs[inputPlaces.back()].push_back(i);
  }
  std::vector<CFilePlace> outputPlaces;
  for (std::size_t i = 0; i < m_all.size(); ++i) {
    outputPlaces.push_back(PlaceOf(m_all[i].output));
    outputs[outputPlaces.back()].push_back(i);
  }

  for (const auto& [place, items] : inputs) {
    if (items.size() < 2) continue;
    std::vector<std::string> names;
    for (const std::size_t i : items) names.push_back(m_all[i].input);
    m_problems.push_back("one file is named more than once: " + JoinNames(names));
  }
  for (const auto& [place, items] : outputs) {
    if (items.size() < 2) continue;
    // Inputs that are one file are reported above already.
    bool oneInput = true;
    for (const std::size_t i : items) oneInput = oneInput && inputPlaces[i] == inputPlaces[items.front()];
    if (oneInput) continue;
    std::vector<std::string> names;
    for (const std::size_t i : items) names.push_back(m_all[i].input);
    m_problems.push_back(m_all[items.front()].output + " would be written for each of " + JoinNames(names));
  }
  for (const auto& [place, items] : outputs) {
    const auto input = inputs.find(place);
    if (input != inputs.end())
      m_problems.push_back(m_all[items.front()].output + " would replace the input " +
                           m_all[input->second.front()].input);
  }

  const CFilePlace config = PlaceOf(m_options.configPath);
  if (const auto input = inputs.find(config); input != inputs.end())
    m_problems.push_back(m_all[input->second.front()].input + " is the configuration file");
  if (const auto output = outputs.find(config); output != outputs.end())
    m_problems.push_back(m_all[output->second.front()].output + " would replace the configuration file");
  if (!m_options.reportPath.empty()) {
    const CFilePlace report = PlaceOf(m_options.reportPath);
    if (report == config)
      m_problems.push_back("the report " + m_options.reportPath + " would replace the configuration file");
    if (const auto input = inputs.find(report); input != inputs.end())
      m_problems.push_back("the report " + m_options.reportPath + " would replace the input " +
                           m_all[input->second.front()].input);
    if (const auto output = outputs.find(report); output != outputs.end())
      m_problems.push_back("the report " + m_options.reportPath + " would replace the LAS file " +
                           m_all[output->second.front()].output);
  }

  // Other shards write their own files meanwhile: only this shard's outputs are looked at.
  for (const auto& [place, items] : outputs) {
    const bool mine = std::any_of(items.begin(), items.end(), [this](std::size_t i) {
      return !m_options.shard || m_options.shard->Takes(i);
    });
    const std::string& output = m_all[items.front()].output;
    const FileKind kind = PathInfo(output).kind;
    if (!mine || kind == FileKind::None) continue;
    if (kind == FileKind::Folder)
      m_problems.push_back(output + " is a folder");
    else if (!m_options.overwrite)
      m_problems.push_back(output + " exists; give --overwrite to replace it");
  }
}

std::vector<CBatchItem> CBatchPlan::Items() const {
  std::vector<CBatchItem> items;
  for (std::size_t i = 0; i < m_all.size(); ++i)
    if (!m_options.shard || m_options.shard->Takes(i)) items.push_back(m_all[i]);
  return items;
}

}  // namespace corvane::cli
