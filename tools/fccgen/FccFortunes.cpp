// Rule text from the fortunes-zh files: poems as cycles, two-part sayings
// as sequences. Both come out in the compiler's own text form, so they pass
// the same parser and checks as the hand-written rules.
#include <set>

#include "engine/formats/ForecastFormat.h"
#include "tools/datagen/Text.h"
#include "tools/fccgen/FccRules.h"

namespace fccgen {

namespace {

using datagen::DecodeUtf8;
using datagen::EncodeUtf8;

// Chinese sentence punctuation and the ASCII end character that the engine
// turns back into it.
char EndCharOf(char32_t c) {
  switch (c) {
    case U'，': return ',';
    case U'。': return '.';
    case U'？': return '?';
    case U'！': return '!';
    case U'；': return ';';
    case U'：': return ':';
    case U'、': return '\\';
    default: return 0;
  }
}

bool IsHanGbk(char32_t c) { return datagen::IsHan(c) && !datagen::ToGbk(c).empty(); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

std::u32string Trim(const std::u32string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r' || s[b] == 0x3000)) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == 0x3000))
    --e;
  return s.substr(b, e - b);
}

bool HasEndChar(const std::u32string& s) {
  for (char32_t c : s)
    if (EndCharOf(c)) return true;
  return false;
}

struct Sentence {
  std::u32string text;
  char end;
};

// The sentences of a poem's lines; false when a character is neither a Han
// character nor sentence punctuation, or a sentence is empty or too long.
bool SplitSentences(const std::u32string& body, std::vector<Sentence>& out) {
  std::u32string cur;
  for (char32_t c : body) {
    if (const char e = EndCharOf(c)) {
      if (cur.empty() || cur.size() > static_cast<size_t>(fcc::kMaxConditionChars)) return false;
      out.push_back({cur, e});
      cur.clear();
    } else if (IsHanGbk(c)) {
      cur += c;
    } else {
      return false;
    }
  }
  return cur.empty();
}

void EmitPoem(const std::u32string& body, std::string& out, int& dropped,
              std::set<std::string>* all) {
  if (body.empty()) return;
  std::vector<Sentence> sentences;
  if (!SplitSentences(body, sentences) || sentences.size() < 2 || sentences.size() > 255) {
    ++dropped;
    return;
  }
  out += "cycle{any,end=";
  out += sentences.back().end;
  out += "}:";
  for (const Sentence& s : sentences) {
    if (all) all->insert(EncodeUtf8(s.text));
    out += " " + EncodeUtf8(s.text);
    out += s.end;
  }
  out += "\n";
}

}  // namespace

std::string PoemRules(const std::string& fortunes, int& dropped, std::set<std::string>* sentences) {
  dropped = 0;
  std::string out;
  std::u32string body;
  for (const std::string& raw : Lines(fortunes)) {
    if (raw == "%") {
      EmitPoem(body, out, dropped, sentences);
      body.clear();
      continue;
    }
    if (raw.find('\x1b') != std::string::npos) continue;  // title and author
    const std::u32string line = Trim(DecodeUtf8(raw));
    if (line.empty()) continue;
    if (!HasEndChar(line)) {  // a part heading ("其一"): a new poem begins
      EmitPoem(body, out, dropped, sentences);
      body.clear();
      continue;
    }
    body += line;
  }
  EmitPoem(body, out, dropped, sentences);
  return out;
}

std::string SayingRules(const std::string& fortunes, const std::set<std::string>& skip) {
  std::string out;
  std::set<std::u32string> seen;
  std::vector<std::u32string> text;
  auto emit = [&]() {
    if (text.size() != 1) return;
    const std::u32string& t = text[0];
    const size_t comma = t.find(U'，');
    if (comma == std::u32string::npos || t.size() < comma + 3) return;
    const char end = EndCharOf(t.back());
    if (end != '.' && end != '!' && end != '?') return;
    const std::u32string first = t.substr(0, comma);
    const std::u32string second = t.substr(comma + 1, t.size() - comma - 2);
    for (const std::u32string* part : {&first, &second}) {
      if (part->size() < 2 || part->size() > 12) return;
      for (char32_t c : *part)
        if (!IsHanGbk(c)) return;
    }
    if (skip.count(EncodeUtf8(first)) || !seen.insert(first).second) return;
    out += "seq{addend,end=";
    out += end;
    out += "}: " + EncodeUtf8(first) + " / ， / " + EncodeUtf8(second) + "\n";
  };
  for (const std::string& raw : Lines(fortunes)) {
    if (raw == "%") {
      emit();
      text.clear();
      continue;
    }
    if (raw.find('\x1b') != std::string::npos) continue;  // attribution
    const std::u32string line = Trim(DecodeUtf8(raw));
    if (!line.empty()) text.push_back(line);
  }
  emit();
  return out;
}

}  // namespace fccgen
