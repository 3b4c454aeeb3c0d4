#pragma once
// The input of the script fuzz targets: the script's bytes; after its first zero byte (where
// loading stops anyway) the source, the destination and the Windows directory follow, separated
// by zero bytes, and a fourth text, when not empty, has the paths walked in code page 932. A plain
// script gets D:\, the proposed destination, C:\WINDOWS and the Western code page.
#include <cstdlib>
#include <string>
#include <vector>

#include "setupcheck/Check.h"
#include "setupcore/CopyPlan.h"
#include "setupcore/Script.h"

inline void Require(bool condition) {
  if (!condition) std::abort();
}

inline setupcore::RunPlaces PlacesAfterZero(const std::string& bytes,
                                            const setupcore::Script& script) {
  std::vector<std::string> texts;
  const size_t zero = bytes.find('\0');
  if (zero != std::string::npos) {
    size_t at = zero + 1;
    while (texts.size() < 4 && at <= bytes.size()) {
      size_t end = bytes.find('\0', at);
      if (end == std::string::npos) end = bytes.size();
      texts.push_back(bytes.substr(at, end - at));
      at = end + 1;
    }
  }
  setupcore::RunPlaces places;
  places.source = texts.size() > 0 ? texts[0] : "D:\\";
  places.destination = texts.size() > 1 ? texts[1] : setupcheck::ProposedDestination(script);
  places.windowsDir = texts.size() > 2 ? texts[2] : "C:\\WINDOWS";
  if (texts.size() > 3 && !texts[3].empty())
    for (int c = 0x81; c <= 0xFC; ++c) places.codePage.lead[c] = c <= 0x9F || c >= 0xE0;
  return places;
}
