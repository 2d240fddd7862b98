#pragma once
// A program's --help text, written once, as a manual page. The text's shape:
//   line 1             NAME - SUMMARY
//   usage: ...         the synopsis
//   heading:           an unindented line ending in a colon starts a section
//     TERM  TEXT       two spaces in, a gap of two or more: a term and what it does
//     text             two spaces in, no gap: a paragraph
//       more text      four or more spaces in: the line above goes on
#include <optional>
#include <string>

namespace helppage {

// The page in troff (man macros) for section 1; nothing when the first line is no NAME - SUMMARY.
std::optional<std::string> helpToTroff(const std::string& help, const std::string& version);

}  // namespace helppage
