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

struct CEarlyEnd {
  UnwrapResult result;
  const char* reason;
};

// Reads the next source line and copies it to the target as it was read.
bool CopyLine(CTextReader& source, CTextWriter& target, std::string_view& line) {
  if (!source.NextLine(line)) return false;
  target.Write(line);
  return true;
}

UnwrapResult Convert(CTextReader& source, CTextWriter& target, CJobProgress& progress, std::string& reason) {
  auto early = [&reason](const char* why) {
    reason = why;
    return UnwrapResult::EndedEarly;
  };
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
  std::string lineText;
  long rowNumber = 0;
  const double size = static_cast<double>(source.Size());
  while (!values.AtEnd()) {
    if (progress.PollCancel()) {
      reason = "cancelled";
      return UnwrapResult::Cancelled;
    }
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
    lineText = "Processing line [";
    AppendInt(lineText, rowNumber);
    lineText += ']';
    progress.SetLineText(lineText);
    progress.SetPercent(size > 0 ? static_cast<int>(static_cast<double>(source.Position()) / size * 100.0)
                                 : 0);
  }
  return UnwrapResult::Done;
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

UnwrapResult UnwrapLas(const std::string& source, const std::string& target, CJobProgress& progress) {
  std::string reason;
  return UnwrapLas(source, target, progress, reason);
}

UnwrapResult UnwrapLas(const std::string& source, const std::string& target, CJobProgress& progress,
                       std::string& reason) {
  reason.clear();
  // Never write over the source, whatever form of its path the target was given in.
  if (source == target || SameFile(source, target)) {
    reason = "the target is the source file";
    return UnwrapResult::Failed;
  }
  CTextReader reader;
  CTextWriter writer;
  UnwrapResult result;
  try {
    reader.Open(source, true);
    writer.Create(target);
    result = Convert(reader, writer, progress, reason);
  } catch (const CFileError& error) {
    reason = error.what();
    result = UnwrapResult::Failed;
  }
  reader.Close();
  // What was written stays on disk on every way out.
  if (writer.IsOpen()) {
    try {
      writer.Close();
    } catch (const CFileError& error) {
      reason = error.what();
      result = UnwrapResult::Failed;
    }
  }
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
  switch (UnwrapLas(setup.asciiFilePath, *target, progress)) {
    case UnwrapResult::Done:
      setup.asciiFilePath = *target;
      return true;
    case UnwrapResult::Failed:
      prompts.ShowError("Failed to open LAS file.");
      return false;
    case UnwrapResult::Cancelled:
    case UnwrapResult::EndedEarly:
      break;
  }
  return false;
}

}  // namespace corvane
