#include "base/ChnChar.h"

#include <cstddef>
#include <cstdint>

#include "base/GbkBytes.h"

namespace {

constexpr int kLangBig5 = 1001;

struct TrailRange {
  unsigned char lead, first, last;
};

// Chinese spaces: the ideographic space and the empty cells of the GBK
// symbol rows A2 to A7; in Big5 only the ideographic space.
constexpr TrailRange kGbkSpaces[] = {
    {0xA1, 0xA1, 0xA1}, {0xA2, 0xAB, 0xB0}, {0xA2, 0xE3, 0xE4}, {0xA2, 0xED, 0xFE},
    {0xA4, 0xF4, 0xFE}, {0xA5, 0xF7, 0xFE}, {0xA6, 0xB9, 0xC0}, {0xA6, 0xD9, 0xDF},
    {0xA6, 0xF3, 0xFE}, {0xA7, 0xC2, 0xD0}, {0xA7, 0xF2, 0xFE},
};
constexpr TrailRange kBig5Spaces[] = {{0xA1, 0x40, 0x40}};

// Bullets, circled and parenthesised numbers and similar paragraph openers.
constexpr TrailRange kGbkOpeners[] = {
    {0xA1, 0xEC, 0xEC}, {0xA1, 0xEE, 0xF9}, {0xA2, 0xA1, 0xAA}, {0xA2, 0xB1, 0xE3},
    {0xA2, 0xE5, 0xEE}, {0xA2, 0xF1, 0xFC}, {0xA3, 0xAA, 0xAA},
};
constexpr TrailRange kBig5Openers[] = {{0xA1, 0xB1, 0xB1}, {0xA1, 0xB3, 0xBF}};

template <size_t N>
bool InTable(const TrailRange (&table)[N], unsigned char lead, unsigned char trail) {
  for (const TrailRange& r : table)
    if (r.lead == lead && trail >= r.first && trail <= r.last) return true;
  return false;
}

bool IsValidPair(unsigned char lead, unsigned char trail, int big5) {
  return IsChnChar(lead, 1, big5) && IsChnChar(trail, 0, big5);
}

// Big5's symbol area: leads up to 0xA3, and the line-drawing cells at the
// end of rows F9 and FA.
bool IsBig5Symbol(unsigned char lead, unsigned char trail) {
  return lead <= 0xA3 || ((lead == 0xF9 || lead == 0xFA) && trail >= 0xDD && trail <= 0xFE);
}

bool IsGbkSymbol(unsigned char lead, unsigned char trail) { return (lead << 8 | trail) < 0xB0A1; }

}  // namespace

int IsChnChar(unsigned char c, int lead, int big5) {
  if (big5) return lead ? (c >= 0xA1 && c <= 0xFA) : (c >= 0x40 && c <= 0xFE);
  return lead ? gbk::IsLead(c) : gbk::IsTrail(c);
}

int IsChnWhiteChar(unsigned char lead, unsigned char trail, int big5) {
  if (!IsValidPair(lead, trail, big5)) return 0;
  return big5 ? IsBig5Symbol(lead, trail) : IsGbkSymbol(lead, trail);
}

int IsChnNonWhiteChar(unsigned char lead, unsigned char trail, int big5) {
  return big5 ? !IsBig5Symbol(lead, trail) : !IsGbkSymbol(lead, trail);
}

int IsChnSpace(unsigned char lead, unsigned char trail, int big5) {
  if (!IsValidPair(lead, trail, big5)) return 0;
  return big5 ? InTable(kBig5Spaces, lead, trail) : InTable(kGbkSpaces, lead, trail);
}

int IsChnParagraph1stChar(unsigned char lead, unsigned char trail, int big5) {
  if (!IsValidPair(lead, trail, big5)) return 0;
  if (IsChnSpace(lead, trail, big5)) return 1;
  return big5 ? InTable(kBig5Openers, lead, trail) : InTable(kGbkOpeners, lead, trail);
}

int IsCSym(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

int HasChnChar(const char* s, int big5) {
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  for (; p[0] && p[1]; ++p)
    if (IsChnChar(p[0], 1, big5) && IsChnChar(p[1], 0, big5)) return 1;
  return 0;
}

long ChnCharBefore(const char* s, long len, long* starts, int lang) {
  const int big5 = lang == kLangBig5;
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  long n = 0;
  starts[n++] = 0;
  for (long i = 0; i < len - 1 && p[i];) {
    const bool pair = IsChnChar(p[i], 1, big5) && IsChnChar(p[i + 1], 0, big5);
    i += pair ? 2 : 1;
    if (pair && i == len) break;
    starts[n++] = i;
  }
  return n;
}

int IsUnicodeStrDistortedChn(wchar_t* text, unsigned long units) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  auto unit = [bytes](unsigned long i) {
    return static_cast<uint16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  };
  for (unsigned long i = 0; i + 1 < units; ++i) {
    const uint16_t a = unit(i), b = unit(i + 1);
    if (a <= 0xFF && b <= 0xFF && IsChnChar(static_cast<unsigned char>(a), 1, 0) &&
        IsChnChar(static_cast<unsigned char>(b), 0, 0))
      return 1;
  }
  return 0;
}
