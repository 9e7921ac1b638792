#include "lasfile/LasReportFormat.h"

#include "platform/NumberFormat.h"

namespace corvane {
namespace {

constexpr char kHex[] = "0123456789abcdef";
constexpr char kHexUpper[] = "0123456789ABCDEF";

std::string Number(std::uint64_t n) { return FormatInt(static_cast<long long>(n)); }

std::string Plural(std::uint64_t n, std::string_view one, std::string_view many) {
  return Number(n) + " " + std::string(n == 1 ? one : many);
}

// Length of the valid UTF-8 sequence at `p` (2 to 4), or 0 when there is none.
std::size_t Utf8Length(const unsigned char* p, std::size_t available) {
  const unsigned char c = p[0];
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    if (c == 0xE0) low = 0xA0;   // no overlong forms
    if (c == 0xED) high = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (available < length) return 0;
  if (p[1] < low || p[1] > high) return 0;
  for (std::size_t i = 2; i < length; ++i)
    if (p[i] < 0x80 || p[i] > 0xBF) return 0;
  return length;
}

void AppendKey(std::string& out, std::string_view key) {
  out += '"';
  out += key;
  out += "\":";
}

void AppendNumberField(std::string& out, std::string_view key, std::uint64_t value) {
  AppendKey(out, key);
  out += Number(value);
}

void AppendStringField(std::string& out, std::string_view key, std::string_view value) {
  AppendKey(out, key);
  AppendJsonString(out, value);
}

// null for an empty text.
void AppendOptionalField(std::string& out, std::string_view key, std::string_view value) {
  AppendKey(out, key);
  if (value.empty())
    out += "null";
  else
    AppendJsonString(out, value);
}

void AppendSummary(std::string& out, const CLasSummary& summary) {
  out += '{';
  AppendOptionalField(out, "version", summary.version);
  out += ',';
  AppendOptionalField(out, "wrap", summary.wrap);
  out += ',';
  AppendOptionalField(out, "null", summary.nullValue);
  out += ',';
  AppendNumberField(out, "lines", summary.lines);
  out += ',';
  AppendNumberField(out, "bytes", summary.bytes);
  out += ',';
  AppendNumberField(out, "rows", summary.rows);
  out += ",\"sections\":[";
  for (std::size_t i = 0; i < summary.sections.size(); ++i) {
    const CLasSectionInfo& section = summary.sections[i];
    if (i > 0) out += ',';
    out += '{';
    AppendStringField(out, "letter", std::string_view(&section.letter, 1));
    out += ',';
    AppendStringField(out, "title", section.title);
    out += ',';
    AppendNumberField(out, "line", section.line);
    out += '}';
  }
  out += "],";
  AppendNumberField(out, "sectionsNotListed", summary.sectionsDropped);
  out += ",\"curves\":[";
  for (std::size_t i = 0; i < summary.curves.size(); ++i) {
    const CLasCurveSummary& curve = summary.curves[i];
    if (i > 0) out += ',';
    out += '{';
    AppendStringField(out, "mnemonic", curve.mnemonic);
    out += ',';
    AppendStringField(out, "unit", curve.unit);
    out += ',';
    AppendNumberField(out, "line", curve.line);
    out += ',';
    AppendNumberField(out, "values", curve.values);
    out += ',';
    AppendNumberField(out, "nulls", curve.nulls);
    out += ',';
    AppendNumberField(out, "unreadable", curve.unreadable);
    out += ',';
    AppendNumberField(out, "missing", curve.missing);
    out += '}';
  }
  out += "],";
  AppendNumberField(out, "curvesNotListed", summary.curvesDropped);
  out += ",\"index\":";
  if (!summary.hasIndex) {
    out += "null";
  } else {
    out += '{';
    AppendStringField(out, "mnemonic", summary.indexMnemonic);
    out += ',';
    AppendStringField(out, "unit", summary.indexUnit);
    out += ',';
    AppendStringField(out, "first", summary.firstIndex);
    out += ',';
    AppendNumberField(out, "firstLine", summary.firstIndexLine);
    out += ',';
    AppendStringField(out, "last", summary.lastIndex);
    out += ',';
    AppendNumberField(out, "lastLine", summary.lastIndexLine);
    out += '}';
  }
  out += '}';
}

}  // namespace

std::string FormatLasSummaryLine(const CLasSummary& summary) {
  std::string out =
      "LAS " + (summary.version.empty() ? std::string("(no VERS)") : PrintableText(summary.version));
  out += ", WRAP " + (summary.wrap.empty() ? std::string("(none)") : PrintableText(summary.wrap));
  out += "; sections";
  if (summary.sections.empty()) out += " (none)";
  for (const CLasSectionInfo& section : summary.sections) {
    out += " ~";
    out += PrintableText(std::string_view(&section.letter, 1));
  }
  if (summary.sectionsDropped > 0) out += " ...";
  out += "; " + Plural(summary.curves.size() + summary.curvesDropped, "curve", "curves");
  out += "; " + Plural(summary.rows, "row", "rows");
  if (summary.hasIndex) {
    out += "; " + PrintableText(summary.indexMnemonic) + " " + PrintableText(summary.firstIndex) + " to " +
           PrintableText(summary.lastIndex);
    if (!summary.indexUnit.empty()) out += " " + PrintableText(summary.indexUnit);
  }
  return out;
}

namespace {

std::string CurvesLine(const CLasSummary& summary) {
  std::string out;
  for (const CLasCurveSummary& curve : summary.curves) {
    if (!out.empty()) out += ", ";
    out += PrintableText(curve.mnemonic);
    if (!curve.unit.empty()) out += " [" + PrintableText(curve.unit) + "]";
    if (curve.nulls > 0) out += " " + Number(curve.nulls) + " null";
    if (curve.unreadable > 0) out += " " + Number(curve.unreadable) + " unreadable";
    if (curve.missing > 0) out += " " + Number(curve.missing) + " missing";
    if (out.size() > 2000) {
      out += ", ...";
      break;
    }
  }
  if (summary.curvesDropped > 0) out += " and " + Number(summary.curvesDropped) + " more";
  return out;
}

std::string Counts(const CLasReport& report) {
  return Plural(report.Count(LasSeverity::Error), "error", "errors") + ", " +
         Plural(report.Count(LasSeverity::Warning), "warning", "warnings") + ", " +
         Plural(report.Count(LasSeverity::Note), "note", "notes");
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view bytes) {
  out += '"';
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char c = p[i];
    if (c >= 0x80) {
      const std::size_t length = Utf8Length(p + i, n - i);
      if (length > 0) {
        out.append(bytes.substr(i, length));
        i += length;
        continue;
      }
    }
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  out += '"';
}

std::string PrintableText(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 32 && c <= 126) {
      out += ch;
    } else if (c == '\t') {
      out += "<TAB>";
    } else if (c == 0) {
      out += "<NUL>";
    } else if (c == '\r') {
      out += "<CR>";
    } else {
      out += "<0x";
      out += kHexUpper[c >> 4];
      out += kHexUpper[c & 15];
      out += '>';
    }
  }
  return out;
}

std::string FormatLasReportText(const CLasReport& report, bool strict) {
  std::string out = PrintableText(report.path) + ": " + Counts(report);
  if (strict && report.Count(LasSeverity::Error) == 0 && report.Fails(strict))
    out += " (warnings fail: --strict)";
  out += '\n';
  const CLasSummary& summary = report.summary;
  if (summary.lines > 0) {
    out += "  " + FormatLasSummaryLine(summary) + '\n';
    if (!summary.curves.empty()) out += "  curves: " + CurvesLine(summary) + '\n';
  }
  if (!report.complete) out += "  the check stopped early; what follows covers the file up to there\n";
  for (const LasSeverity severity : {LasSeverity::Error, LasSeverity::Warning, LasSeverity::Note}) {
    if (report.Count(severity) == 0) continue;
    out += "  ";
    out +=
        severity == LasSeverity::Error ? "errors" : (severity == LasSeverity::Warning ? "warnings" : "notes");
    out += ":\n";
    for (const CLasFinding& finding : report.Findings()) {
      if (finding.severity != severity) continue;
      out += finding.line == 0 ? std::string("    file") : "    line " + Number(finding.line);
      out += ": ";
      out += LasRule(finding.code).name;
      if (!finding.section.empty()) out += " (" + finding.section + ")";
      out += ": " + finding.reason + '\n';
      if (!finding.text.empty()) out += "        | " + PrintableText(finding.text) + '\n';
    }
    for (std::size_t i = 0; i < kLasCodeCount; ++i) {
      const CLasRule& rule = LasRules()[i];
      if (rule.severity != severity || report.Unlisted(rule.code) == 0) continue;
      out += "    ... and " + Number(report.Unlisted(rule.code)) + " more " + std::string(rule.name) + '\n';
    }
  }
  return out;
}

std::string CLasReportJson::Begin() const {
  std::string out = "{\"schema\":\"corvane-las-check/1\",\"standard\":\"CWLS LAS 2.0 (January 2014)\",";
  out += m_strict ? "\"strict\":true" : "\"strict\":false";
  out += ",\"files\":[";
  return out;
}

std::string CLasReportJson::Add(const CLasReport& report) {
  std::string out;
  if (m_files++ > 0) out += ',';
  const bool failed = report.Fails(m_strict);
  m_failed += failed ? 1 : 0;
  m_errors += report.Count(LasSeverity::Error);
  m_warnings += report.Count(LasSeverity::Warning);
  m_notes += report.Count(LasSeverity::Note);
  out += '{';
  AppendStringField(out, "path", report.path);
  out += report.complete ? ",\"complete\":true" : ",\"complete\":false";
  out += failed ? ",\"passed\":false" : ",\"passed\":true";
  out += ",\"counts\":{";
  AppendNumberField(out, "errors", report.Count(LasSeverity::Error));
  out += ',';
  AppendNumberField(out, "warnings", report.Count(LasSeverity::Warning));
  out += ',';
  AppendNumberField(out, "notes", report.Count(LasSeverity::Note));
  out += "},\"summary\":";
  AppendSummary(out, report.summary);
  out += ",\"findings\":[";
  bool first = true;
  for (const CLasFinding& finding : report.Findings()) {
    if (!first) out += ',';
    first = false;
    out += '{';
    AppendStringField(out, "severity", SeverityName(finding.severity));
    out += ',';
    AppendStringField(out, "code", LasRule(finding.code).name);
    out += ',';
    AppendNumberField(out, "line", finding.line);
    out += ',';
    AppendStringField(out, "text", finding.text);
    out += ',';
    AppendStringField(out, "reason", finding.reason);
    out += ',';
    AppendOptionalField(out, "section", finding.section);
    out += '}';
  }
  out += "],\"unlisted\":[";
  first = true;
  for (std::size_t i = 0; i < kLasCodeCount; ++i) {
    const CLasRule& rule = LasRules()[i];
    if (report.Unlisted(rule.code) == 0) continue;
    if (!first) out += ',';
    first = false;
    out += '{';
    AppendStringField(out, "code", rule.name);
    out += ',';
    AppendStringField(out, "severity", SeverityName(rule.severity));
    out += ',';
    AppendNumberField(out, "count", report.Unlisted(rule.code));
    out += '}';
  }
  out += "]}";
  return out;
}

std::string CLasReportJson::End() const {
  std::string out = "],\"totals\":{";
  AppendNumberField(out, "files", m_files);
  out += ',';
  AppendNumberField(out, "failed", m_failed);
  out += ',';
  AppendNumberField(out, "errors", m_errors);
  out += ',';
  AppendNumberField(out, "warnings", m_warnings);
  out += ',';
  AppendNumberField(out, "notes", m_notes);
  out += "}}\n";
  return out;
}

}  // namespace corvane
