#include "tools/datagen/Sources.h"

#include <bzlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "tools/datagen/Text.h"

namespace datagen {
namespace {

struct FileClose {
  void operator()(FILE* f) const { std::fclose(f); }
};
using UniqueFile = std::unique_ptr<FILE, FileClose>;

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool ReadBz2(FILE* f, std::string& out) {
  int err = BZ_OK;
  BZFILE* bz = BZ2_bzReadOpen(&err, f, 0, 0, nullptr, 0);
  if (err != BZ_OK) return false;
  char buf[1 << 16];
  while (err == BZ_OK) {
    const int n = BZ2_bzRead(&err, bz, buf, sizeof buf);
    if (err == BZ_OK || err == BZ_STREAM_END) out.append(buf, static_cast<size_t>(n));
  }
  const bool ok = err == BZ_STREAM_END;
  BZ2_bzReadClose(&err, bz);
  return ok;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& out) {
  out.clear();
  UniqueFile f(std::fopen(path.c_str(), "rb"));
  if (!f) return false;
  if (EndsWith(path, ".bz2")) return ReadBz2(f.get(), out);
  char buf[1 << 16];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0) out.append(buf, n);
  return !std::ferror(f.get());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  ForEachLine(text, [&out](const char* p, size_t n) { out.emplace_back(p, n); });
  return out;
}

namespace {

// Calls fn(line) for every line of the file at path; false when it cannot
// be read.
template <typename Fn>
bool ForEachFileLine(const std::string& path, Fn&& fn) {
  std::string text;
  if (!ReadWholeFile(path, text)) return false;
  ForEachLine(text, [&fn](const char* p, size_t n) { fn(std::string(p, n)); });
  return true;
}

}  // namespace

bool ReadRimeDict(const std::string& path, std::vector<RimeEntry>& out) {
  out.clear();
  std::string text;
  if (!ReadWholeFile(path, text)) return false;
  bool body = false;
  out.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')));
  ForEachLine(text, [&](const char* p, size_t n) {
    const std::string line(p, n);
    if (!body) {
      body = line.rfind("...", 0) == 0;
      return;
    }
    if (line.empty() || line[0] == '#') return;
    const size_t t1 = line.find('\t');
    if (t1 == std::string::npos || t1 == 0) return;
    RimeEntry e;
    e.text = line.substr(0, t1);
    const size_t t2 = line.find('\t', t1 + 1);
    e.code = line.substr(t1 + 1, t2 == std::string::npos ? std::string::npos : t2 - t1 - 1);
    if (t2 != std::string::npos) {
      const size_t t3 = line.find('\t', t2 + 1);
      e.weight = line.substr(t2 + 1, t3 == std::string::npos ? std::string::npos : t3 - t2 - 1);
    }
    if (!e.code.empty()) out.push_back(std::move(e));
  });
  return true;
}

bool ReadEssay(const std::string& path, std::vector<EssayEntry>& out) {
  out.clear();
  return ForEachFileLine(path, [&out](const std::string& line) {
    const size_t tab = line.find('\t');
    if (tab == std::string::npos || tab == 0) return;
    out.push_back({line.substr(0, tab), std::strtoll(line.c_str() + tab + 1, nullptr, 10)});
  });
}

bool ReadOpenccText(const std::string& path, std::map<std::string, std::vector<std::string>>& out) {
  out.clear();
  return ForEachFileLine(path, [&out](const std::string& line) {
    const size_t tab = line.find('\t');
    if (tab != std::string::npos && tab > 0)
      out[line.substr(0, tab)] = Split(line.substr(tab + 1), " ");
  });
}

void ParseUnihan(const std::string& text, std::map<char32_t, UnihanChar>& out) {
  static const char* const kFields[] = {"kMandarin", "kTGHZ2013", "kXHC1983", "kHanyuPinyin",
                                        "kTraditionalVariant"};
  ForEachLine(text, [&out](const char* p, size_t n) {
    if (n < 3 || p[0] != 'U' || p[1] != '+') return;
    const char* tab1 = static_cast<const char*>(std::memchr(p, '\t', n));
    if (tab1 == nullptr) return;
    const char* tab2 = static_cast<const char*>(std::memchr(tab1 + 1, '\t', n - (tab1 + 1 - p)));
    if (tab2 == nullptr) return;
    const std::string field(tab1 + 1, tab2);
    int which = -1;
    for (int i = 0; i < 5; ++i) {
      if (field == kFields[i]) which = i;
    }
    if (which < 0) return;
    const auto cp = static_cast<char32_t>(std::strtoul(p + 2, nullptr, 16));
    const std::string value(tab2 + 1, p + n);
    UnihanChar& u = out[cp];
    switch (which) {
      case 0: u.mandarin = value; break;
      case 1: u.tghz2013 = value; break;
      case 2: u.xhc1983 = value; break;
      case 3: u.hanyuPinyin = value; break;
      default:
        for (const std::string& v : Split(value, " ")) {
          if (v.rfind("U+", 0) == 0)
            u.traditional.push_back(
                static_cast<char32_t>(std::strtoul(v.c_str() + 2, nullptr, 16)));
        }
    }
  });
}

void ParseCanonicalSingletons(const std::string& text, std::map<char32_t, char32_t>& out) {
  for (const std::string& line : Lines(text)) {
    // Fields: code;name;category;class;bidi;decomposition;...
    size_t at = 0;
    std::string fields[6];
    for (int i = 0; i < 6 && at <= line.size(); ++i) {
      const size_t semi = line.find(';', at);
      fields[i] = line.substr(at, semi == std::string::npos ? std::string::npos : semi - at);
      if (semi == std::string::npos) break;
      at = semi + 1;
    }
    const std::string& dec = fields[5];
    if (dec.empty() || dec[0] == '<' || dec.find(' ') != std::string::npos) continue;
    out[static_cast<char32_t>(std::strtoul(fields[0].c_str(), nullptr, 16))] =
        static_cast<char32_t>(std::strtoul(dec.c_str(), nullptr, 16));
  }
}

bool ReadSymbolGroups(const std::string& path,
                      std::map<std::string, std::vector<std::string>>& out) {
  out.clear();
  return ForEachFileLine(path, [&out](const std::string& line) {
    const size_t q = line.find("'/");
    if (q == std::string::npos) return;
    const size_t qe = line.find('\'', q + 2);
    const size_t open = line.find('[', q);
    const size_t close = line.rfind(']');
    if (qe == std::string::npos || open == std::string::npos || close == std::string::npos ||
        close < open || qe == q + 2)
      return;
    std::vector<std::string>& group = out[line.substr(q + 2, qe - q - 2)];
    for (std::string item : Split(line.substr(open + 1, close - open - 1), ",")) {
      while (!item.empty() && item.front() == ' ') item.erase(0, 1);
      while (!item.empty() && item.back() == ' ') item.pop_back();
      if (item.size() >= 2 && item.front() == '\'' && item.back() == '\'')
        item = item.substr(1, item.size() - 2);
      if (!item.empty()) group.push_back(item);
    }
  });
}

}  // namespace datagen
