#include "lasfile/LasRules.h"

namespace corvane {
namespace {

constexpr LasSeverity E = LasSeverity::Error;
constexpr LasSeverity W = LasSeverity::Warning;
constexpr LasSeverity N = LasSeverity::Note;

constexpr CLasRule kRules[] = {
    {LasCode::FileUnreadable, "FILE_UNREADABLE", E, "", "the file cannot be read"},
    {LasCode::FileEmpty, "FILE_EMPTY", E, "3.0", "the file is empty"},
    {LasCode::LineTooLong, "LINE_TOO_LONG", E, "", "a line longer than 16 MiB"},
    {LasCode::CheckLimit, "CHECK_LIMIT", W, "", "part of the file is beyond the check's limits"},
    {LasCode::CharacterNotAllowed, "CHARACTER_NOT_ALLOWED", E, "3.0", "a character outside ASCII 32 to 126"},
    {LasCode::LineEndNotCrLf, "LINE_END_NOT_CRLF", W, "3.0", "lines that do not end with CR LF"},
    {LasCode::TextAfterCtrlZ, "TEXT_AFTER_CTRL_Z", W, "3.0",
     "a Ctrl-Z byte ends the text before the file ends"},
    {LasCode::CtrlZAtEnd, "CTRL_Z_AT_END", N, "3.0", "a Ctrl-Z byte as the last byte of the file"},
    {LasCode::TextOutsideSection, "TEXT_OUTSIDE_SECTION", E, "3.0", "text before the first section"},
    {LasCode::SectionMissing, "SECTION_MISSING", E, "3.0", "a required section is missing"},
    {LasCode::VNotFirst, "V_NOT_FIRST", E, "5.3", "~V is not the first section"},
    {LasCode::SectionDuplicate, "SECTION_DUPLICATE", E, "3.0", "a section occurs twice"},
    {LasCode::SectionAfterA, "SECTION_AFTER_A", E, "5.8", "a section after ~A"},
    {LasCode::WNotSecond, "W_NOT_SECOND", W, "3.0", "~W is not the second section"},
    {LasCode::SectionCustom, "SECTION_CUSTOM", N, "3.0", "a section that the standard does not define"},
    {LasCode::SectionLetterMissing, "SECTION_LETTER_MISSING", E, "5.1", "a section line without a letter"},
    {LasCode::SectionLowercase, "SECTION_LOWERCASE", N, "5.1", "a section letter in lower case"},
    {LasCode::BlankLine, "BLANK_LINE", E, "5.2", "a blank line inside a section"},
    {LasCode::BlankLineAtEnd, "BLANK_LINE_AT_END", W, "5.8", "blank lines after the last data line"},
    {LasCode::BlankLineInText, "BLANK_LINE_IN_TEXT", W, "5.7",
     "a blank line in ~O or another free-text part"},
    {LasCode::DotMissing, "DOT_MISSING", E, "5.2", "a header line without a dot"},
    {LasCode::SpaceMissing, "SPACE_MISSING", E, "5.2", "no space between the units and the value"},
    {LasCode::ColonMissing, "COLON_MISSING", E, "5.2", "a header line without a colon after the dot"},
    {LasCode::MnemonicInvalid, "MNEMONIC_INVALID", E, "5.2",
     "an empty mnemonic, or one with a space or colon"},
    {LasCode::UnitInvalid, "UNIT_INVALID", E, "5.2", "units that contain a colon"},
    {LasCode::MnemonicDuplicate, "MNEMONIC_DUPLICATE", W, "5.5", "a mnemonic used twice in one section"},
    {LasCode::VItemMissing, "V_ITEM_MISSING", E, "5.3", "VERS or WRAP is missing"},
    {LasCode::VersInvalid, "VERS_INVALID", E, "5.3", "VERS is not 2.0"},
    {LasCode::Vers12, "VERS_1_2", W, "5.3", "a LAS 1.2 file, checked by the LAS 2.0 rules"},
    {LasCode::WrapInvalid, "WRAP_INVALID", E, "5.3", "WRAP is neither YES nor NO"},
    {LasCode::WItemMissing, "W_ITEM_MISSING", E, "5.4", "a required ~W line is missing"},
    {LasCode::WItemEmpty, "W_ITEM_EMPTY", W, "5.4", "a required ~W line without a value"},
    {LasCode::WValueNotNumber, "W_VALUE_NOT_NUMBER", E, "5.4", "STRT, STOP, STEP or NULL is not a number"},
    {LasCode::DepthUnitInvalid, "DEPTH_UNIT_INVALID", E, "5.4", "a depth index not in M, F or FT"},
    {LasCode::IndexUnitMismatch, "INDEX_UNIT_MISMATCH", E, "5.4",
     "STRT, STOP or STEP in other units than the index"},
    {LasCode::StrtMismatch, "STRT_MISMATCH", E, "5.4", "STRT is not the first index value"},
    {LasCode::StopMismatch, "STOP_MISMATCH", E, "5.4", "STOP is not the last index value"},
    {LasCode::StepMismatch, "STEP_MISMATCH", E, "5.4", "STEP is not the spacing of the index"},
    {LasCode::NotMultipleOfStep, "NOT_MULTIPLE_OF_STEP", E, "5.4",
     "STRT or STOP divided by STEP is not whole"},
    {LasCode::NullUnused, "NULL_UNUSED", W, "5.4", "the data uses another null value than NULL"},
    {LasCode::CurvesNone, "CURVES_NONE", E, "5.5", "~C describes no curve"},
    {LasCode::IndexMnemonic, "INDEX_MNEMONIC", E, "5.5", "the first curve is not DEPT, DEPTH or TIME"},
    {LasCode::IndexNamedIndex, "INDEX_NAMED_INDEX", N, "5.5", "the index curve is named INDEX"},
    {LasCode::DataEmpty, "DATA_EMPTY", W, "5.8", "~A holds no data"},
    {LasCode::CommentInData, "COMMENT_IN_DATA", E, "5.1", "a comment line inside ~A"},
    {LasCode::RowValueCount, "ROW_VALUE_COUNT", E, "5.5", "a data row without one value per curve"},
    {LasCode::ValueNotNumber, "VALUE_NOT_NUMBER", E, "3.0", "a data value that is not a number"},
    {LasCode::ValueExponent, "VALUE_EXPONENT", E, "3.0", "a data value with an exponent"},
    {LasCode::IndexNull, "INDEX_NULL", E, "5.4", "an index value that is the null value"},
    {LasCode::IndexNotMonotonic, "INDEX_NOT_MONOTONIC", E, "5.4", "the index repeats or turns back"},
    {LasCode::WrapIndexNotAlone, "WRAP_INDEX_NOT_ALONE", E, "5.8",
     "wrapped data: the index is not alone on its line"},
    {LasCode::WrapLineTooLong, "WRAP_LINE_TOO_LONG", E, "5.8",
     "wrapped data: a line longer than 80 characters"},
    {LasCode::CurveAllNull, "CURVE_ALL_NULL", W, "", "a curve that is null from top to bottom"},
};

static_assert(sizeof kRules / sizeof kRules[0] == kLasCodeCount, "one rule per code");

constexpr bool InCodeOrder() {
  for (std::size_t i = 0; i < kLasCodeCount; ++i)
    if (static_cast<std::size_t>(kRules[i].code) != i) return false;
  return true;
}
static_assert(InCodeOrder(), "rules in the order of LasCode");

}  // namespace

const CLasRule& LasRule(LasCode code) noexcept { return kRules[static_cast<std::size_t>(code)]; }

const CLasRule* LasRules() noexcept { return kRules; }

std::string_view SeverityName(LasSeverity severity) noexcept {
  switch (severity) {
    case LasSeverity::Error:
      return "error";
    case LasSeverity::Warning:
      return "warning";
    case LasSeverity::Note:
      return "note";
  }
  return "error";
}

}  // namespace corvane
