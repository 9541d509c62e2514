#include "TextLimit.h"

#include <cstring>

void copyLimited(char* text, const char* source, size_t maxLen) {
  std::strncpy(text, source, maxLen);
  text[maxLen] = 0;
}

void copyText(char* text, const char* source, size_t maxLen) {
  size_t length = 0;
  while (length < maxLen && source[length] != 0) {
    text[length] = source[length];
    ++length;
  }
  text[length] = 0;
}

void appendLimited(char* text, const char* source, size_t maxLen) {
  size_t length = std::strlen(text);
  while (length < maxLen && *source != 0) text[length++] = *source++;
  if (length < maxLen) text[length] = 0;
  text[maxLen] = 0;
}
