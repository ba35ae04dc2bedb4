// TextCut.h: cutting text to fit a buffer without splitting a double-byte
// character (a lone lead byte at the end would swallow whatever follows).
#pragma once

#include <cstddef>
#include <string_view>

#include "base/GbkBytes.h"

// The length of the longest prefix of text that has at most room bytes and
// ends between characters.
inline size_t FitWholeChars(std::string_view text, size_t room) {
  const int len = static_cast<int>(text.size());
  size_t n = 0;
  while (n < text.size()) {
    const size_t step = static_cast<size_t>(gbk::CharBytes(text.data(), len, static_cast<int>(n)));
    if (n + step > room) break;
    n += step;
  }
  return n;
}
