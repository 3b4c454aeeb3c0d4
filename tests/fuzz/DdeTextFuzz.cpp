// Any bytes as the data of an execute or a poke, with the size DDEML would report for it: the
// text the server reads from it, the lines it hands on, and the test program-group server's
// reading of the commands in it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Macro.h"
#include "setupcore/PeerData.h"
#include "setupcore/TextLines.h"

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // libFuzzer's buffer is exactly size bytes long, so a read past the reported size is caught.
  const std::optional<std::string> text = setupcore::PeerDataText(data, size);
  Require(text.has_value() == (size > 0));
  if (!text) return 0;
  Require(text->size() <= size && text->find('\0') == std::string::npos);
  Require(std::memcmp(text->data(), data, text->size()) == 0);
  Require(text->size() == size || data[text->size()] == 0);

  const std::vector<std::string> lines = setupcore::SplitLines(*text);
  for (const std::string& line : lines)
    Require(line.find_first_of("\r\n") == std::string::npos);
  Require(setupcore::SplitLines(setupcore::JoinLines(lines)) == lines);

  std::vector<MacroCommand> commands;
  if (ParseMacro(*text, commands))
    for (const MacroCommand& command : commands) Require(!command.name.empty());
  return 0;
}
