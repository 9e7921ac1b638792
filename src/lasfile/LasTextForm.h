#pragma once
// Text that is not in the form of a LAS file at all (UTF-16, or lines ended by CR
// alone) reads as a stream of byte errors, or as one endless line: such a file is
// named for what it is, once, instead.
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// The first bytes a look at the text form needs.
inline constexpr std::size_t kTextFormHead = 64 * 1024;

// What is wrong with the form of a file whose first bytes are `head` (up to
// kTextFormHead of them), in words; nothing when it may be a LAS file.
std::optional<std::string> ForeignTextForm(std::string_view head);

// ForeignTextForm of the file at `path`; nothing as well when it cannot be read (the
// reading that follows says so).
std::optional<std::string> ForeignTextFormOf(const std::string& path);

}  // namespace corvane
