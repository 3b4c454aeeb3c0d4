#include "platform/SystemCodePage.h"

#include <windows.h>

TCodePage SystemCodePage() {
  TCodePage cp;
  for (int c = 0; c < 256; ++c) cp.lead[c] = IsDBCSLeadByte(static_cast<BYTE>(c)) != FALSE;
  for (int c = 0; c < 256; ++c) {
    char one[1] = {static_cast<char>(c)};
    if (c && !cp.lead[c]) CharLowerBuffA(one, 1);
    const unsigned char lower = static_cast<unsigned char>(one[0]);
    cp.lower[c] = cp.lead[lower] ? static_cast<unsigned char>(c) : lower;
  }
  return cp;
}
