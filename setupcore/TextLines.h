#pragma once
// How a text list is read from and written to bytes: the rules every script, record and macro
// list of the program follows.
#include <string>
#include <vector>

namespace setupcore {

// Splits at CR LF, a lone CR or a lone LF and stops at the first NUL. LF CR is two line ends
// with an empty line between them; the last line counts without a line end, and a line end at
// the very end adds no empty line. Empty bytes give no lines.
std::vector<std::string> SplitLines(const std::string& bytes);

// Every line followed by CR LF, the last one included.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace setupcore
