#include "las/Unwrap.h"

#include "las/JobSlots.h"
#include "las/ValueReader.h"
#include "platform/AsciiText.h"
#include "platform/FileSystem.h"
#include "platform/NumberFormat.h"
#include "platform/TextReader.h"
#include "platform/TextWriter.h"

namespace corvane {

namespace {

constexpr const char* kWrapLine = " WRAP.                  NO : One line per depth";

// A curve line counts unless it is blank or a comment.
bool IsCountedCurveLine(std::string_view line) noexcept {
  for (char c : line) {
    if (!IsCSpace(c)) return c != '#';
  }
  return false;
}

// Reads the next source line and copies it to the target as it was read.
bool CopyLine(CTextReader& source, CTextWriter& target, std::string_view& line) {
  if (!source.NextLine(line)) return false;
  target.Write(line);
  return true;
}

CResult Convert(CTextReader& source, CTextWriter& target, CJobProgress& progress) {
  auto early = [](const char* why) { return CResult::Incomplete(why); };
  std::string_view line;

  // The head: the version section's first two lines as they are, then the WRAP line
  // that declares the copy unwrapped in place of the source's third line.
  for (int i = 0; i < 2; ++i)
    if (!CopyLine(source, target, line)) return early("the file ends within its first three lines");
  if (!source.NextLine(line)) return early("the file ends within its first three lines");
  target.WriteLine(kWrapLine);

  bool found = false;
  while (!found) {
    if (!CopyLine(source, target, line)) return early("no section beginning with \"~CURVE\"");
    found = StartsWithNoCase(line, "~CURVE");
  }

  int curveCount = 0;
  bool ended = false;
  while (!ended) {
    if (!CopyLine(source, target, line)) return early("no section beginning with \"~A\" after the curves");
    if (!line.empty() && line.front() == '~')
      ended = true;
    else if (IsCountedCurveLine(line))
      ++curveCount;
  }
  while (!StartsWithNoCase(line, "~A")) {
    if (!CopyLine(source, target, line)) return early("no section beginning with \"~A\" after the curves");
  }
  // Without a curve a row would take no value and never read on.
  if (curveCount == 0) return early("the curve section holds no curve");

  CJobDisplay display(UnwrapJob(), progress);
  if (!display.Acquire("Unwrapping LAS file...")) return early("another unwrap is running");

  CValueReader values;
  values.Reset();
  std::string row;
  CLineProgressText lineText;
  long rowNumber = 0;
  while (!values.AtEnd()) {
    if (progress.PollCancel()) return CResult::Cancelled();
    row.clear();
    int taken = 0;
    while (taken < curveCount) {
      const auto value = values.TakeValue(source);
      if (!value) break;
      row += *value;
      ++taken;
    }
    // A depth that the end of the file cut short is not written.
    if (taken == curveCount) {
      row += '\n';
      target.Write(row);
    }
    ++rowNumber;
    progress.SetLineText(lineText.Line(rowNumber));
    progress.SetPercent(CLineProgressText::Percent(source.Position(), source.Size()));
  }
  return CResult::Done();
}

}  // namespace

bool IsWrappedLas(const std::string& path) {
  if (path.empty()) return false;
  CTextReader reader;
  try {
    reader.Open(path, true);
    std::string_view line;
    if (!reader.NextLine(line) || !ContainsNoCase(line, "~V")) return false;
    if (!reader.NextLine(line) || !ContainsNoCase(line, "VERS.")) return false;
    if (!reader.NextLine(line)) return false;
    return ContainsNoCase(line, "WRAP.") && ContainsNoCase(line, "YES");
  } catch (const CFileError&) {
    // Unreadable (or held by a running job) is answered quietly; loading the preview
    // reports it right after.
    return false;
  }
}

CResult UnwrapLas(const std::string& source, const std::string& target, CJobProgress& progress,
                  std::string* inPlaceNote) {
  // Never write over the source, whatever form of its path the target was given in.
  if (SameFileOrPath(source, target)) return CResult::Failed(target + ": the target is the source file");
  CTextReader reader;
  CTextWriter writer;
  CResult result;
  try {
    reader.Open(source, true);
    writer.Create(target);
    result = Convert(reader, writer, progress);
    if (result.Ok()) writer.Commit();
    if (result.Ok() && inPlaceNote != nullptr) *inPlaceNote = writer.InPlaceNote();
  } catch (const CFileError& error) {
    result = error.Result();
  }
  reader.Close();
  writer.Close();  // an unfinished copy is dropped
  return result;
}

bool OfferUnwrap(CConversionSetup& setup, CUnwrapPrompts& prompts, CJobProgress& progress) {
  if (setup.asciiFilePath.empty() || !IsWrappedLas(setup.asciiFilePath)) return false;
  if (!prompts.AskYesNo(
          "The specified ASCII file might be a LAS file in WRAP format. Do you want to UNWRAP it?"))
    return false;
  const std::optional<std::string> target = prompts.ChooseTarget();
  if (!target) return false;
  if (*target == setup.asciiFilePath) {
    prompts.ShowNotice("Unwrap LAS file name cannot be the same as the original LAS file.");
    return false;
  }
  const CResult result = UnwrapLas(setup.asciiFilePath, *target, progress);
  if (result.Ok()) {
    setup.asciiFilePath = *target;
    return true;
  }
  if (result.IsFailed()) prompts.ShowError("Failed to open LAS file.", result.Reason());
  return false;
}

}  // namespace corvane
