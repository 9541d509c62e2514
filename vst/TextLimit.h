// Bounded text helpers for the host's fixed-size text buffers.
#pragma once

#include <cstddef>

// Copies `source` into `text`, at most `maxLen` characters, filling the rest up to `maxLen`
// with terminators; text[maxLen] is always a terminator (the buffer holds maxLen + 1 bytes).
void copyLimited(char* text, const char* source, size_t maxLen);

// Copies at most `maxLen` characters of `source` and one terminator into `text`, and nothing
// more: a host's buffer may be shorter than the limit where the text is short.
void copyText(char* text, const char* source, size_t maxLen);

// Appends `source` behind the text already in `text`, keeping the whole at most `maxLen`
// characters; text[maxLen] is always a terminator.
void appendLimited(char* text, const char* source, size_t maxLen);
