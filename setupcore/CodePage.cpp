#include "setupcore/CodePage.h"

char FoldWestern(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  if (u >= 'A' && u <= 'Z') return static_cast<char>(u + 32);
  if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<char>(u + 32);
  switch (u) {
    case 0x8A: return static_cast<char>(0x9A);
    case 0x8C: return static_cast<char>(0x9C);
    case 0x8E: return static_cast<char>(0x9E);
    case 0x9F: return static_cast<char>(0xFF);
  }
  return c;
}

TCodePage WesternCodePage() {
  TCodePage cp;
  for (int c = 0; c < 256; ++c)
    cp.lower[c] = static_cast<unsigned char>(FoldWestern(static_cast<char>(c)));
  return cp;
}

bool IsLead(const TCodePage& cp, char c) { return cp.lead[static_cast<unsigned char>(c)]; }

std::vector<bool> CharacterStarts(const std::string& path, const TCodePage& cp) {
  std::vector<bool> starts(path.size(), false);
  for (size_t i = 0; i < path.size(); ++i) {
    starts[i] = true;
    if (IsLead(cp, path[i]) && i + 1 < path.size()) ++i;
  }
  return starts;
}

std::vector<std::string> Parts(const std::string& path, const TCodePage& cp) {
  const std::vector<bool> starts = CharacterStarts(path, cp);
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < path.size(); ++i) {
    if (starts[i] && path[i] == '\\') parts.emplace_back();
    else parts.back() += path[i];
  }
  return parts;
}
