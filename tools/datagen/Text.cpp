#include "tools/datagen/Text.h"

#include <iconv.h>

#include <cstring>

namespace datagen {
namespace {

// One iconv descriptor per direction, opened on first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~Converter() {
    if (m_cd != reinterpret_cast<iconv_t>(-1)) iconv_close(m_cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  // Converts all of `in`; "" on any failure.
  std::string Run(const std::string& in) {
    if (m_cd == reinterpret_cast<iconv_t>(-1)) return "";
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    std::string out(in.size() * 4 + 8, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = &out[0];
    size_t dstLeft = out.size();
    if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) return "";
    if (iconv(m_cd, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1)) return "";
    out.resize(out.size() - dstLeft);
    return out;
  }

 private:
  iconv_t m_cd;
};

Converter& Utf8ToGbk() {
  static Converter c("GBK", "UTF-8");
  return c;
}
Converter& GbkToUtf8() {
  static Converter c("UTF-8", "GBK");
  return c;
}
Converter& Utf8ToBig5() {
  static Converter c("BIG5", "UTF-8");
  return c;
}
Converter& Big5ToUtf8() {
  static Converter c("UTF-8", "BIG5");
  return c;
}

uint16_t TwoByteCode(const std::string& s) {
  if (s.size() != 2) return 0;
  const auto lead = static_cast<unsigned char>(s[0]);
  const auto trail = static_cast<unsigned char>(s[1]);
  if (lead < 0x81) return 0;
  return static_cast<uint16_t>(lead << 8 | trail);
}

char32_t SingleCodePoint(const std::string& utf8) {
  const std::u32string u = DecodeUtf8(utf8);
  return u.size() == 1 ? u[0] : 0;
}

std::string CodeBytes(uint16_t code) {
  return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

// Vowels with tone marks, and the tone each mark gives.
struct Marked {
  char32_t c;
  char base;
  int tone;
};
constexpr Marked kMarks[] = {
    {U'ā', 'a', 1},    {U'á', 'a', 2},    {U'ǎ', 'a', 3},    {U'à', 'a', 4},    {U'ē', 'e', 1},
    {U'é', 'e', 2},    {U'ě', 'e', 3},    {U'è', 'e', 4},    {U'ī', 'i', 1},    {U'í', 'i', 2},
    {U'ǐ', 'i', 3},    {U'ì', 'i', 4},    {U'ō', 'o', 1},    {U'ó', 'o', 2},    {U'ǒ', 'o', 3},
    {U'ò', 'o', 4},    {U'ū', 'u', 1},    {U'ú', 'u', 2},    {U'ǔ', 'u', 3},    {U'ù', 'u', 4},
    {U'ǖ', 'v', 1},    {U'ǘ', 'v', 2},    {U'ǚ', 'v', 3},    {U'ǜ', 'v', 4},    {U'ü', 'v', 0},
    {U'ê', 'e', 0},    {U'ń', 'n', 2},    {U'ň', 'n', 3},    {U'ǹ', 'n', 4},    {U'ḿ', 'm', 2},
    {U'\u0304', 0, 1}, {U'\u0301', 0, 2}, {U'\u030C', 0, 3}, {U'\u0300', 0, 4},
};

}  // namespace

std::u32string DecodeUtf8(const std::string& s) {
  std::u32string out;
  size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int n = b < 0x80             ? 0
                  : (b & 0xE0) == 0xC0 ? 1
                  : (b & 0xF0) == 0xE0 ? 2
                  : (b & 0xF8) == 0xF0 ? 3
                                       : -1;
    char32_t c = n <= 0 ? b : b & (0x3F >> n);
    bool ok = n >= 0;
    for (int k = 1; ok && k <= n; ++k) {
      if (i + static_cast<size_t>(k) >= s.size() ||
          (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
        ok = false;
      } else {
        c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
      }
    }
    if (!ok) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(c);
    i += static_cast<size_t>(n) + 1;
  }
  return out;
}

std::string EncodeUtf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
  return out;
}

std::string EncodeUtf8(const std::u32string& s) {
  std::string out;
  for (char32_t c : s) out += EncodeUtf8(c);
  return out;
}

std::string ToGbk(char32_t c) {
  if (c < 0x80) return "";
  const std::string g = Utf8ToGbk().Run(EncodeUtf8(c));
  return TwoByteCode(g) != 0 ? g : "";
}

std::string ToGbk(const std::u32string& s) {
  std::string out;
  for (char32_t c : s) {
    const std::string g = ToGbk(c);
    if (g.empty()) return "";
    out += g;
  }
  return out;
}

uint16_t ToBig5(char32_t c) {
  if (c < 0x80) return 0;
  return TwoByteCode(Utf8ToBig5().Run(EncodeUtf8(c)));
}

char32_t FromGbk(uint16_t code) { return SingleCodePoint(GbkToUtf8().Run(CodeBytes(code))); }

char32_t FromBig5(uint16_t code) { return SingleCodePoint(Big5ToUtf8().Run(CodeBytes(code))); }

bool IsHan(char32_t c) {
  return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0xF900 && c <= 0xFAFF);
}

bool ParseSyllable(const std::string& utf8, Syllable& out) {
  out = Syllable{};
  for (char32_t c : DecodeUtf8(utf8)) {
    if (c >= 'A' && c <= 'Z') c = c - 'A' + 'a';
    if (c >= 'a' && c <= 'z') {
      out.text.push_back(static_cast<char>(c));
      continue;
    }
    if (c >= '1' && c <= '5' && out.tone == 0 && !out.text.empty()) {
      out.tone = static_cast<int>(c - '0');
      continue;
    }
    if (c == ':') {  // "u:" is an older spelling of u-umlaut
      if (!out.text.empty() && out.text.back() == 'u') out.text.back() = 'v';
      continue;
    }
    const Marked* m = nullptr;
    for (const Marked& k : kMarks) {
      if (k.c == c) m = &k;
    }
    if (m == nullptr) return false;
    if (m->base != 0) out.text.push_back(m->base);
    if (m->tone != 0) out.tone = m->tone;
  }
  if (out.text.empty()) return false;
  // lue, nue are written lve, nve, as lv and nv are.
  if (out.text == "lue") out.text = "lve";
  if (out.text == "nue") out.text = "nve";
  return true;
}

std::vector<std::string> Split(const std::string& s, const char* separators) {
  std::vector<std::string> out;
  std::string cur;
  for (char c : s) {
    if (std::strchr(separators, c) != nullptr) {
      if (!cur.empty()) out.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}

}  // namespace datagen
