#pragma once
// The catalogue of what the LAS check finds: every finding has a stable code, a fixed
// severity and the section of the CWLS LAS 2.0 standard (January 2014) it rests on.
// An error is a breach of something the standard makes mandatory, a warning a breach
// of a recommendation or a thing that makes readers misread the file, a note is
// information.
#include <cstddef>
#include <string_view>

namespace corvane {

enum class LasSeverity { Error, Warning, Note };

enum class LasCode {
  // The file as a whole
  FileUnreadable,
  FileEmpty,
  LineTooLong,
  CheckLimit,
  CharacterNotAllowed,
  LineEndNotCrLf,
  TextAfterCtrlZ,
  CtrlZAtEnd,
  // Sections
  TextOutsideSection,
  SectionMissing,
  VNotFirst,
  SectionDuplicate,
  SectionAfterA,
  WNotSecond,
  SectionCustom,
  SectionLetterMissing,
  SectionLowercase,
  BlankLine,
  BlankLineAtEnd,
  BlankLineInText,
  // Lines of ~V, ~W, ~C and ~P
  DotMissing,
  SpaceMissing,
  ColonMissing,
  MnemonicInvalid,
  UnitInvalid,
  MnemonicDuplicate,
  // ~V
  VItemMissing,
  VersInvalid,
  Vers12,
  WrapInvalid,
  // ~W
  WItemMissing,
  WItemEmpty,
  WValueNotNumber,
  DepthUnitInvalid,
  IndexUnitMismatch,
  StrtMismatch,
  StopMismatch,
  StepMismatch,
  NotMultipleOfStep,
  NullUnused,
  // ~C
  CurvesNone,
  IndexMnemonic,
  IndexNamedIndex,
  // ~A
  DataEmpty,
  CommentInData,
  RowValueCount,
  ValueNotNumber,
  ValueExponent,
  IndexNull,
  IndexNotMonotonic,
  WrapIndexNotAlone,
  WrapLineTooLong,
  CurveAllNull,
};

inline constexpr std::size_t kLasCodeCount = static_cast<std::size_t>(LasCode::CurveAllNull) + 1;

struct CLasRule {
  LasCode code;
  std::string_view name;  // the stable code, e.g. "STOP_MISMATCH"
  LasSeverity severity;
  std::string_view section;  // of the standard, e.g. "5.4"; empty when none applies
  std::string_view title;    // what the finding is about, in a few words
};

const CLasRule& LasRule(LasCode code) noexcept;
// Every rule, in the order of LasCode.
const CLasRule* LasRules() noexcept;

std::string_view SeverityName(LasSeverity severity) noexcept;  // "error", "warning", "note"

}  // namespace corvane
