#pragma once
// convert and batch as the module runs them: the road of `corvane-cli convert` and
// `corvane-cli batch`, the same files written, with failures thrown as CModuleError
// instead of printed.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/FileConversion.h"
#include "platform/JobProgress.h"

namespace corvane::python {

struct CConvertRequest {
  std::string ascii;
  std::string config;
  std::string las;
  // None: the line the configuration stores (FIRST DATA LINE), else the detected one.
  std::optional<cli::CFirstDataLine> firstDataLine;
  bool inverse = false;
};

// Converts request.ascii into request.las with the choices of request.config (which is
// only read) and returns what `convert --report` writes of the run. The LAS file takes
// the place of an earlier one only when complete. Throws CModuleError.
std::string ConvertFile(const CConvertRequest& request, CJobProgress& progress);

struct CBatchRequest {
  std::vector<std::string> inputs;  // files, or folders (their files)
  std::string config;
  std::string outDir;
  std::string reportPath;                            // empty: the report is only returned
  std::optional<cli::CFirstDataLine> firstDataLine;  // as for CConvertRequest
  bool inverse = false;
  bool check = false;
  bool strict = false;
  bool overwrite = false;
  bool recursive = false;
  int jobs = 0;  // 0: one per core
};

// Runs the batch and returns its report (the JSON of `batch --report`). `cancelled` is
// asked from every job's thread. Throws CModuleError when the configuration cannot be
// used, the plan clashes, or the report cannot be written.
std::string RunBatch(const CBatchRequest& request, const std::function<bool()>& cancelled);

struct CInitRequest {
  std::string ascii;
  std::string config;
  std::string las;                            // empty: NAME.las beside the ASCII file
  std::optional<std::int32_t> firstDataLine;  // none: the detected line
  bool overwrite = false;
};

struct CInitResult {
  std::string las;                   // the LAS file the configuration names
  std::vector<std::string> account;  // what was proposed, one line each (as init prints)
};

// Writes a new configuration file for request.ascii from the proposals, as
// `corvane-cli init` does (the same bytes). Throws CModuleError.
CInitResult InitConfiguration(const CInitRequest& request);

}  // namespace corvane::python
