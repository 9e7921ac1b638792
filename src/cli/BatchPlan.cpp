#include "cli/BatchPlan.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <utility>

#include "platform/File.h"
#include "platform/Result.h"

namespace corvane::cli {
namespace {

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool EndsWithNoCase(const std::string& text, std::string_view end) {
  if (text.size() < end.size()) return false;
  for (std::size_t i = 0; i < end.size(); ++i) {
    char c = text[text.size() - end.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != end[i]) return false;
  }
  return true;
}

// Where a path leads: the file itself when it exists, else its name in its folder
// when the folder exists, else the written path. Two paths with one place name one file.
struct CPlace {
  dev_t device = 0;
  ino_t inode = 0;
  std::string name;
  auto operator<=>(const CPlace&) const = default;
};

CPlace PlaceOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return {info.st_dev, info.st_ino, std::string()};
  if (::stat(DirectoryOf(path).c_str(), &info) == 0) return {info.st_dev, info.st_ino, BaseNameOf(path)};
  return {0, 0, path};
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
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
    item.bytes = static_cast<std::uint64_t>(info.st_size);
  m_all.push_back(std::move(item));
}

void CBatchPlan::Gather(const std::vector<std::string>& arguments, std::istream& list) {
  auto take = [this](const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
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
    std::string line;
    while (std::getline(list, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();  // a list written with CR LF
      if (!line.empty()) take(line);
    }
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

  struct stat outDir {};
  const bool haveOutDir = ::stat(m_options.outDir.c_str(), &outDir) == 0;
  for (const std::string& name : names) {
    const std::string path = Join(folder, name);
    struct stat link {};
    struct stat info {};
    if (::lstat(path.c_str(), &link) != 0 || ::stat(path.c_str(), &info) != 0) continue;
    if (S_ISDIR(info.st_mode)) {
      // Links to folders are not followed (they may lead back up), nor is the output folder.
      if (S_ISLNK(link.st_mode)) continue;
      if (haveOutDir && info.st_dev == outDir.st_dev && info.st_ino == outDir.st_ino) continue;
      Walk(path, relativeFolder + name + "/");
    } else if (S_ISREG(info.st_mode)) {
      AddInput(path, relativeFolder);
    }
  }
}

void CBatchPlan::FindClashes() {
  std::map<CPlace, std::vector<std::size_t>> inputs;
  std::map<CPlace, std::vector<std::size_t>> outputs;
  std::vector<CPlace> inputPlaces;
  for (std::size_t i = 0; i < m_all.size(); ++i) {
    inputPlaces.push_back(PlaceOf(m_all[i].input));
    inputs[inputPlaces.back()].push_back(i);
  }
  std::vector<CPlace> outputPlaces;
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

  const CPlace config = PlaceOf(m_options.configPath);
  if (const auto input = inputs.find(config); input != inputs.end())
    m_problems.push_back(m_all[input->second.front()].input + " is the configuration file");
  if (const auto output = outputs.find(config); output != outputs.end())
    m_problems.push_back(m_all[output->second.front()].output + " would replace the configuration file");
  if (!m_options.reportPath.empty()) {
    const CPlace report = PlaceOf(m_options.reportPath);
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
    struct stat info {};
    if (!mine || ::stat(output.c_str(), &info) != 0) continue;
    if (S_ISDIR(info.st_mode))
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
