#include "Macro.h"

#include <cctype>

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// Splits the text between "(" and ")]" at commas that are not inside double quotes.
bool SplitArgs(const std::string& list, std::vector<std::string>& args) {
  std::string current;
  bool quoted = false, wasQuoted = false;
  for (char c : list) {
    if (c == '"') {
      quoted = !quoted;
      wasQuoted = true;
      current += c;
    } else if (c == ',' && !quoted) {
      args.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (quoted) return false;
  args.push_back(current);
  for (std::string& a : args) {
    a = Trim(a);
    // A whole argument in quotes stands for its inside; quotes within other text stay.
    if (wasQuoted && a.size() >= 2 && a.front() == '"' && a.back() == '"' &&
        a.find('"', 1) == a.size() - 1)
      a = a.substr(1, a.size() - 2);
  }
  return true;
}
}  // namespace

bool ParseMacro(const std::string& text, std::vector<MacroCommand>& commands) {
  size_t i = 0;
  const size_t n = text.size();
  while (true) {
    while (i < n && IsBlank(text[i])) ++i;
    if (i == n) return true;
    if (text[i] != '[') return false;
    ++i;
    MacroCommand cmd;
    size_t nameEnd = i;
    while (nameEnd < n && (isalnum(static_cast<unsigned char>(text[nameEnd])))) ++nameEnd;
    cmd.name = text.substr(i, nameEnd - i);
    if (cmd.name.empty()) return false;
    i = nameEnd;
    if (i < n && text[i] == ']') {
      ++i;
    } else if (i < n && text[i] == '(') {
      // The list ends at the first ")]" outside quotes, so a title may hold ")" of its own.
      size_t j = i + 1;
      bool quoted = false;
      while (j + 1 < n && !(text[j] == ')' && text[j + 1] == ']' && !quoted)) {
        if (text[j] == '"') quoted = !quoted;
        if ((text[j] == '[' || text[j] == ']') && !quoted) return false;
        ++j;
      }
      if (j + 1 >= n) return false;
      if (!SplitArgs(text.substr(i + 1, j - i - 1), cmd.args)) return false;
      i = j + 2;
    } else {
      return false;
    }
    commands.push_back(cmd);
  }
}
