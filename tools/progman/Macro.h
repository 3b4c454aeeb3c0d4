#pragma once
// Reads the command text of a program-group execute: "[Name(arg,arg,...)]" commands one after
// the other, blanks and line ends between them. Text that is not such a list is refused whole.
#include <string>
#include <vector>

struct MacroCommand {
  std::string name;
  std::vector<std::string> args;
};

// False for text that does not parse: a bracket without its partner, text outside the
// brackets, an argument list that does not end with ")]". Arguments are split at commas
// outside double quotes; a quoted argument loses its quotes, others lose surrounding blanks.
bool ParseMacro(const std::string& text, std::vector<MacroCommand>& commands);
