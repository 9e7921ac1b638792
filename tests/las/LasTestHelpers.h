#pragma once
// Shared by the LAS output tests: a scratch ASCII file, a setup that converts it,
// a private temp directory (so the inversion's temporary files can be counted), and
// readers of what a run left on disk.
#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "JobDoubles.h"
#include "TestSupport.h"
#include "platform/JobProgress.h"
#include "setup/ConversionSetup.h"

namespace corvane::test {

// Points TMPDIR at a directory of its own for the life of the object.
class CPrivateTempDir {
 public:
  explicit CPrivateTempDir(const std::string& path) : m_path(path) {
    if (const char* old = std::getenv("TMPDIR")) {
      m_hadOld = true;
      m_old = old;
    }
    setenv("TMPDIR", path.c_str(), 1);
  }
  ~CPrivateTempDir() {
    if (m_hadOld)
      setenv("TMPDIR", m_old.c_str(), 1);
    else
      unsetenv("TMPDIR");
  }
  CPrivateTempDir(const CPrivateTempDir&) = delete;
  CPrivateTempDir& operator=(const CPrivateTempDir&) = delete;

  // Names of the files in the directory.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    if (DIR* dir = opendir(m_path.c_str())) {
      while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
      }
      closedir(dir);
    }
    return names;
  }

 private:
  std::string m_path;
  std::string m_old;
  bool m_hadOld = false;
};

inline CCurveDef Curve(const std::string& heading, const std::string& units = std::string(),
                       const std::string& api = std::string(),
                       const std::string& description = std::string()) {
  CCurveDef curve;
  curve.heading = heading;
  curve.units = units;
  curve.apiCode = api;
  curve.description = description;
  return curve;
}

// A setup with the given curves (the curve total follows them), space-delimited.
inline CConversionSetup MakeSetup(const std::string& ascii, const std::string& las,
                                  const std::vector<CCurveDef>& curves, int firstDataLine = 0) {
  CConversionSetup setup;
  setup.asciiFilePath = ascii;
  setup.lasFilePath = las;
  setup.configFilePath = las + ".lah";
  setup.firstDigitLineIndex = firstDataLine;
  setup.delimiterText = "space";
  setup.curves = curves;
  setup.digitSamples.assign(curves.size(), std::string());
  return setup;
}

// The lines of a CR LF file, without their line ends; fails the test on a lone LF.
inline std::vector<std::string> CrLfLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

inline std::vector<std::string> Texts(const CCollectingFeedback& feedback) {
  std::vector<std::string> texts;
  for (const auto& message : feedback.messages) texts.push_back(message.text);
  return texts;
}

// "%.4f" of a depth.
inline std::string FormatDepth(double depth) {
  char text[64];
  std::snprintf(text, sizeof text, "%.4f", depth);
  return text;
}

// Data lines 1000, 1000.5, ... 1500 of a depth column and a GR column.
inline std::string DepthSeries(const std::string& lineEnd = "\r\n") {
  std::string text;
  for (int i = 0; i <= 1000; ++i) {
    const double depth = 1000.0 + 0.5 * i;
    text += std::to_string(depth) + " " + std::to_string(i % 150) + lineEnd;
  }
  return text;
}

}  // namespace corvane::test
