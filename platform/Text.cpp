#include "platform/Text.h"

int CompareLocaleText(DWORD flags, const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, flags, a.data(), static_cast<int>(a.size()), b.data(),
                        static_cast<int>(b.size()));
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  return CompareLocaleText(NORM_IGNORECASE, a, b) == CSTR_EQUAL;
}

char UpperChar(char c) {
  CharUpperBuffA(&c, 1);
  return c;
}

char LowerChar(char c) {
  CharLowerBuffA(&c, 1);
  return c;
}

std::string UpperCase(std::string text) {
  if (!text.empty()) CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

std::string LowerCase(std::string text) {
  if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}
