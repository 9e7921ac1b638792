#pragma once
// The LAS window's help: the resource number that context help knows it by (offset by
// the shell's resource help base) and its page of the manual for F1.

namespace corvane {

inline constexpr unsigned kLasWindowHelpResource = 120;
inline const char* const kLasWindowHelpTopic = "::/las-window.html>CORVANE";

}  // namespace corvane
