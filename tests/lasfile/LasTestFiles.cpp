#include "LasTestFiles.h"

#include <algorithm>

#include "lasfile/LasReportFormat.h"

namespace corvane::test {

std::vector<std::string> ConformingLas() {
  return {
      "~VERSION INFORMATION",                                          // 1
      " VERS.   2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0",          // 2
      " WRAP.   NO  : ONE LINE PER DEPTH STEP",                        // 3
      "~WELL INFORMATION",                                             // 4
      "#MNEM.UNIT   DATA                    DESCRIPTION",              // 5
      " STRT.M      1670.0000             : START DEPTH",              // 6
      " STOP.M      1669.7500             : STOP DEPTH",               // 7
      " STEP.M      -0.1250               : STEP",                     // 8
      " NULL.       -999.25               : NULL VALUE",               // 9
      " COMP.       ANY OIL COMPANY INC.  : COMPANY",                  // 10
      " WELL.       ANY ET AL 12-34-12-34 : WELL",                     // 11
      " FLD .       WILDCAT               : FIELD",                    // 12
      " LOC .       12-34-12-34W5M        : LOCATION",                 // 13
      " PROV.       ALBERTA               : PROVINCE",                 // 14
      " SRVC.       ANY LOGGING CO.       : SERVICE COMPANY",          // 15
      " DATE.       13-DEC-86             : LOG DATE",                 // 16
      " UWI .       100123401234W500      : UNIQUE WELL ID",           // 17
      "~CURVE INFORMATION",                                            // 18
      " DEPT.M                            : 1 DEPTH",                  // 19
      " DT  .US/M       60 520 32 00      : 2 SONIC TRANSIT TIME",     // 20
      " RHOB.K/M3       45 350 01 00      : 3 BULK DENSITY",           // 21
      "~PARAMETER INFORMATION",                                        // 22
      " BHT .DEGC       35.5000           : BOTTOM HOLE TEMPERATURE",  // 23
      "~OTHER",                                                        // 24
      "     Note: the tools stuck at 625 m; see the field print.",     // 25
      "~A  DEPTH     DT       RHOB",                                   // 26
      "1670.000   123.450 2550.000",                                   // 27
      "1669.875   123.450 2550.000",                                   // 28
      "1669.750   123.450  -999.25",                                   // 29
  };
}

std::vector<std::string> ConformingWrappedLas() {
  return Edited(ConformingLas(), {{3, " WRAP.   YES : MULTIPLE LINES PER DEPTH STEP"},
                                  {27, "1670.000\n   123.450 2550.000"},
                                  {28, "1669.875\n   123.450 2550.000"},
                                  {29, "1669.750\n   123.450  -999.25"}});
}

std::vector<std::string> Edited(std::vector<std::string> lines, const std::vector<CLineEdit>& edits) {
  std::vector<CLineEdit> order = edits;
  std::sort(order.begin(), order.end(),
            [](const CLineEdit& a, const CLineEdit& b) { return a.line > b.line; });
  for (const CLineEdit& edit : order) {
    const auto at = lines.begin() + (edit.line - 1);
    if (!edit.text) {
      lines.erase(at);
      continue;
    }
    std::vector<std::string> parts;
    const std::string& text = *edit.text;
    std::size_t start = 0;
    for (;;) {
      const std::size_t end = text.find('\n', start);
      parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 1;
    }
    const auto index = at - lines.begin();
    lines.erase(at);
    lines.insert(lines.begin() + index, parts.begin(), parts.end());
  }
  return lines;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

CLasReport CheckBytes(const CScratchDir& dir, const std::string& bytes) {
  const std::string path = dir.File("check.las");
  WriteBytes(path, bytes);
  return CheckLasFile(path);
}

std::string Describe(const CLasReport& report) { return FormatLasReportText(report, false); }

}  // namespace corvane::test
