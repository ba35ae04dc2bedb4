#include "engine/lookup/VModeParser.h"

#include <algorithm>
#include <cstring>

namespace vmode {

namespace {

constexpr size_t kMaxLines = 0xFFFF + 1;  // line indexes are 16 bits

void Refuse(Parsed& p, size_t lineNo, const char* what) {
  if (p.firstFault.empty()) p.firstFault = "line " + std::to_string(lineNo) + ": " + what;
  ++p.nRefused;
}

// Adds the '|'-separated keys of one column. An empty alternative between
// two bars is an empty key; an empty last alternative is dropped.
void AddKeys(Parsed& p, int column, const std::string& text, uint16_t line, size_t lineNo) {
  size_t from = 0;
  for (;;) {
    const size_t bar = text.find('|', from);
    const bool last = bar == std::string::npos;
    const std::string key = text.substr(from, last ? std::string::npos : bar - from);
    if (last && key.empty()) return;
    if (key.size() > kMaxKeyBytes)
      Refuse(p, lineNo, "key longer than 31 bytes");
    else
      p.keys[static_cast<size_t>(column)].push_back({key, line});
    if (last) return;
    from = bar + 1;
  }
}

void ParseLine(Parsed& p, std::string line, size_t lineNo) {
  if (line.size() > kMaxLineBytes) return Refuse(p, lineNo, "line longer than 510 bytes");
  const size_t lead = line.find_first_not_of(' ');
  line.erase(0, lead == std::string::npos ? line.size() : lead);
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  if (line.empty() || line[0] < 'a' || line[0] > 'z') return;  // comments and others
  size_t commas[kKeyColumns];
  size_t at = 0;
  for (int c = 0; c < kKeyColumns; ++c) {
    const size_t comma = line.find(',', at);
    if (comma == std::string::npos) return;
    commas[c] = comma;
    at = comma + 1;
  }
  if (at >= line.size()) return;
  if (p.lines.size() >= kMaxLines) return Refuse(p, lineNo, "more lines than 65536");
  const auto index = static_cast<uint16_t>(p.lines.size());
  p.lines.push_back(line.substr(at));
  size_t from = 0;
  for (int c = 0; c < kKeyColumns; ++c) {
    AddKeys(p, c, line.substr(from, commas[c] - from), index, lineNo);
    from = commas[c] + 1;
  }
}

}  // namespace

Parsed Parse(const std::string& text) {
  Parsed p;
  size_t from = 0, lineNo = 1;
  while (from < text.size()) {
    const size_t nl = text.find('\n', from);
    const size_t end = nl == std::string::npos ? text.size() : nl;
    ParseLine(p, text.substr(from, end - from), lineNo++);
    from = end + 1;
  }
  for (auto& column : p.keys)
    std::stable_sort(column.begin(), column.end(), [](const Key& a, const Key& b) {
      return strcmp(a.key.c_str(), b.key.c_str()) < 0;
    });
  return p;
}

}  // namespace vmode
