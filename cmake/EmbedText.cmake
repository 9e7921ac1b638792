# Writes a C++ source that holds a text file's bytes, so that the program carries the
# file without an installed path. Run as:
#   cmake -DINPUT=<file> -DOUTPUT=<source.cpp> -DSYMBOL=<name> -DHEADER=<include> -P EmbedText.cmake
# The source defines `std::string_view corvane::<SYMBOL>()`, declared in <HEADER>.
file(READ ${INPUT} bytes HEX)
string(LENGTH "${bytes}" hexLength)
math(EXPR size "${hexLength} / 2")
# Sixteen bytes a line keeps the generated file readable and its lines short.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
# (CMake's expressions have no counted repetition: the byte pattern is written out.)
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 sixteen)
string(REGEX REPLACE "(${sixteen})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUTPUT}.tmp
"// Generated from ${INPUT} by cmake/EmbedText.cmake: do not edit.
#include \"${HEADER}\"

namespace corvane {
namespace {
// One byte more than the text, so that an empty file still makes an array.
const unsigned char kBytes[${size} + 1] = {
    ${bytes}0x00};
}  // namespace

std::string_view ${SYMBOL}() { return std::string_view(reinterpret_cast<const char*>(kBytes), ${size}); }

}  // namespace corvane
")
# Rewritten only when it changes, so that an unchanged dictionary compiles nothing again.
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
