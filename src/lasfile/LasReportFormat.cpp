#include "lasfile/LasReportFormat.h"

#include "platform/NumberFormat.h"

namespace corvane {
namespace {

constexpr char kHexUpper[] = "0123456789ABCDEF";

std::string Number(std::uint64_t n) { return FormatInt(static_cast<long long>(n)); }

std::string Plural(std::uint64_t n, std::string_view one, std::string_view many) {
  return Number(n) + " " + std::string(n == 1 ? one : many);
}

void WriteSummary(CJsonWriter& json, const CLasSummary& summary) {
  json.BeginObject();
  json.Key("version").StringOrNull(summary.version);
  json.Key("wrap").StringOrNull(summary.wrap);
  json.Key("null").StringOrNull(summary.nullValue);
  json.Key("lines").Integer(static_cast<long long>(summary.lines));
  json.Key("bytes").Integer(static_cast<long long>(summary.bytes));
  json.Key("rows").Integer(static_cast<long long>(summary.rows));
  json.Key("sections").BeginArray();
  for (const CLasSectionInfo& section : summary.sections) {
    json.BeginObject();
    json.Key("letter").String(std::string_view(&section.letter, 1));
    json.Key("title").String(section.title);
    json.Key("line").Integer(static_cast<long long>(section.line));
    json.EndObject();
  }
  json.EndArray();
  json.Key("sectionsNotListed").Integer(static_cast<long long>(summary.sectionsDropped));
  json.Key("curves").BeginArray();
  for (const CLasCurveSummary& curve : summary.curves) {
    json.BeginObject();
    json.Key("mnemonic").String(curve.mnemonic);
    json.Key("unit").String(curve.unit);
    json.Key("line").Integer(static_cast<long long>(curve.line));
    json.Key("values").Integer(static_cast<long long>(curve.values));
    json.Key("nulls").Integer(static_cast<long long>(curve.nulls));
    json.Key("unreadable").Integer(static_cast<long long>(curve.unreadable));
    json.Key("missing").Integer(static_cast<long long>(curve.missing));
    json.EndObject();
  }
  json.EndArray();
  json.Key("curvesNotListed").Integer(static_cast<long long>(summary.curvesDropped));
  json.Key("index");
  if (!summary.hasIndex) {
    json.Null();
  } else {
    json.BeginObject();
    json.Key("mnemonic").String(summary.indexMnemonic);
    json.Key("unit").String(summary.indexUnit);
    json.Key("first").String(summary.firstIndex);
    json.Key("firstLine").Integer(static_cast<long long>(summary.firstIndexLine));
    json.Key("last").String(summary.lastIndex);
    json.Key("lastLine").Integer(static_cast<long long>(summary.lastIndexLine));
    json.EndObject();
  }
  json.EndObject();
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

void WriteLasReportJson(CJsonWriter& json, const CLasReport& report, bool strict) {
  json.BeginObject();
  json.Key("path").String(report.path);
  json.Key("complete").Boolean(report.complete);
  json.Key("passed").Boolean(!report.Fails(strict));
  json.Key("counts").BeginObject();
  json.Key("errors").Integer(static_cast<long long>(report.Count(LasSeverity::Error)));
  json.Key("warnings").Integer(static_cast<long long>(report.Count(LasSeverity::Warning)));
  json.Key("notes").Integer(static_cast<long long>(report.Count(LasSeverity::Note)));
  json.EndObject();
  json.Key("summary");
  WriteSummary(json, report.summary);
  json.Key("findings").BeginArray();
  for (const CLasFinding& finding : report.Findings()) {
    json.BeginObject();
    json.Key("severity").String(SeverityName(finding.severity));
    json.Key("code").String(LasRule(finding.code).name);
    json.Key("line").Integer(static_cast<long long>(finding.line));
    json.Key("text").String(finding.text);
    json.Key("reason").String(finding.reason);
    json.Key("section").StringOrNull(finding.section);
    json.EndObject();
  }
  json.EndArray();
  json.Key("unlisted").BeginArray();
  for (std::size_t i = 0; i < kLasCodeCount; ++i) {
    const CLasRule& rule = LasRules()[i];
    if (report.Unlisted(rule.code) == 0) continue;
    json.BeginObject();
    json.Key("code").String(rule.name);
    json.Key("severity").String(SeverityName(rule.severity));
    json.Key("count").Integer(static_cast<long long>(report.Unlisted(rule.code)));
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}

std::string CLasReportJson::Begin() {
  m_json.BeginObject();
  m_json.Key("schema").String("corvane-las-check/1");
  m_json.Key("standard").String("CWLS LAS 2.0 (January 2014)");
  m_json.Key("strict").Boolean(m_strict);
  m_json.Key("files").BeginArray();
  return m_json.Take();
}

std::string CLasReportJson::Add(const CLasReport& report) {
  ++m_files;
  m_failed += report.Fails(m_strict) ? 1 : 0;
  m_errors += report.Count(LasSeverity::Error);
  m_warnings += report.Count(LasSeverity::Warning);
  m_notes += report.Count(LasSeverity::Note);
  WriteLasReportJson(m_json, report, m_strict);
  return m_json.Take();
}

std::string CLasReportJson::End() {
  m_json.EndArray();
  m_json.Key("totals").BeginObject();
  m_json.Key("files").Integer(static_cast<long long>(m_files));
  m_json.Key("failed").Integer(static_cast<long long>(m_failed));
  m_json.Key("errors").Integer(static_cast<long long>(m_errors));
  m_json.Key("warnings").Integer(static_cast<long long>(m_warnings));
  m_json.Key("notes").Integer(static_cast<long long>(m_notes));
  m_json.EndObject();
  m_json.EndObject();
  return m_json.Take() + '\n';
}

}  // namespace corvane
