#include "engine/formats/ShuangPinTables.h"

#include <cstring>

namespace shuangpin {
namespace {

bool After(const char* keys, char initialKey) {
  return initialKey != '\0' && std::strchr(keys, initialKey) != nullptr;
}

// The MS and ZR finals; the two differ only in the keys r and y.
std::string FinalMsZr(int scheme, char ini, char key) {
  switch (key) {
    case ';': return "ing";
    case 'a': return "a";
    case 'b': return "ou";
    case 'c': return "iao";
    case 'd': return After("jlnqx", ini) ? "iang" : "uang";
    case 'e': return "e";
    case 'f': return "en";
    case 'g': return "eng";
    case 'h': return "ang";
    case 'i': return "i";
    case 'j': return "an";
    case 'k': return "ao";
    case 'l': return "ai";
    case 'm': return "ian";
    case 'n': return "in";
    case 'o': return After("abefjmopwxy", ini) ? "o" : "uo";
    case 'p': return "un";
    case 'q': return "iu";
    case 'r':
      if (scheme == kZR) return ini == 'e' ? "r" : "uan";
      return After("abefmopw", ini) ? "er" : "uan";
    case 's': return After("jqx", ini) ? "iong" : "ong";
    case 't': return "ue";
    case 'u': return "u";
    case 'v': return After("cdghikrstuvz", ini) ? "ui" : "v";
    case 'w': return After("bdjlnpqx", ini) ? "ia" : "ua";
    case 'x': return "ie";
    case 'y':
      if (After("ghikuvw", ini)) return "uai";
      return scheme == kZR ? "ing" : "v";
    case 'z': return "ei";
    case '?': return "";
    default: return "ian";
  }
}

std::string FinalCStar(char ini, char key) {
  switch (key) {
    case ';': return "";
    case 'a': return "a";
    case 'b': return After("bdjlnpqx", ini) ? "ia" : "ua";
    case 'c': return "uan";
    case 'd': return "ao";
    case 'e': return "e";
    case 'f': return "an";
    case 'g': return "ang";
    case 'h': return After("jlnqx", ini) ? "iang" : "uang";
    case 'i': return "i";
    case 'j': return "ian";
    case 'k': return "iao";
    case 'l': return "in";
    case 'm': return "ie";
    case 'n': return "iu";
    case 'o': return After("abefjmopwxy", ini) ? "o" : "uo";
    case 'p': return "ou";
    case 'q': return After("bdjlmnpqtxy", ini) ? "ing" : "er";
    case 'r': return "en";
    case 's': return "ai";
    case 't': return "eng";
    case 'u': return "u";
    case 'v': return After("cdghikrstuvz", ini) ? "ui" : "v";
    case 'w': return "ei";
    case 'x': return After("ghikuvw", ini) ? "uai" : "ue";
    case 'y': return After("jqx", ini) ? "iong" : "ong";
    case 'z': return "un";
    default: return "";
  }
}

}  // namespace

InitialKind InitialKindOf(int scheme, char key) {
  switch (key) {
    case 'a': return InitialKind::kSyllable;
    case ';': return InitialKind::kSyllable;
    case 'e': return scheme == kZR ? InitialKind::kEWithFinal : InitialKind::kSyllable;
    case 'o': return InitialKind::kZero;
    case '\'': return InitialKind::kSeparator;
    default: return InitialKind::kLetter;
  }
}

std::string Initial(int scheme, char key) {
  switch (key) {
    case 'i': return scheme == kCStar ? "sh" : "ch";
    case 'u': return scheme == kCStar ? "ch" : "sh";
    case 'v': return "zh";
    case ';': return "ing";
    case 'o':
    case '\'': return "";
    default: return std::string(1, key);
  }
}

std::string Final(int scheme, char initialKey, char finalKey) {
  return scheme == kCStar ? FinalCStar(initialKey, finalKey)
                          : FinalMsZr(scheme, initialKey, finalKey);
}

}  // namespace shuangpin

namespace shuangpin {

std::string ShortForm(const std::string& pinyin) {
  static const char* const kNg[][2] = {{"ang", "ag"}, {"eng", "eg"}, {"ing", "ig"}, {"ong", "og"}};
  std::string s = pinyin;
  for (const auto& r : kNg) {
    const std::string from = r[0], to = r[1];
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
      s.replace(at, from.size(), to);
  }
  // ju, qu, xu, yu end a syllable only at the end of the text: inside it
  // ("jun", "yuan") the u starts a longer final.
  if (s.size() >= 2 && s.back() == 'u' && std::strchr("jqxy", s[s.size() - 2]) != nullptr)
    s.back() = 'v';
  return s;
}

}  // namespace shuangpin
