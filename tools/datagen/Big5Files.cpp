// The GBK/Big5 conversion tables. GBK to Big5 goes through OpenCC's
// simplified-to-traditional character table with the Taiwan variants
// preferred, then glibc's BIG5 encoder; Big5 to GBK is a direct conversion.
#include <algorithm>

#include "base/ByteOrder.h"
#include "engine/formats/Big5TableFormat.h"
#include "tools/datagen/Builders.h"
#include "tools/datagen/Text.h"

namespace datagen {
namespace {

char32_t OneCodePoint(const std::string& utf8) {
  const std::u32string u = DecodeUtf8(utf8);
  return u.size() == 1 ? u[0] : 0;
}

// The traditional forms to try for a character, best first. A character
// that is among its own traditional forms (后 "queen", 台, 干) keeps itself:
// a character-by-character table cannot tell which reading a text means,
// and the character itself is always correct traditional text there.
std::vector<char32_t> TraditionalCandidates(char32_t cp, const Inputs& in) {
  std::vector<char32_t> forms;
  const auto st = in.stChars.find(EncodeUtf8(cp));
  if (st != in.stChars.end()) {
    for (const std::string& t : st->second) {
      if (char32_t c = OneCodePoint(t)) forms.push_back(c);
    }
  }
  std::vector<char32_t> out;
  if (std::find(forms.begin(), forms.end(), cp) != forms.end()) out.push_back(cp);
  for (char32_t f : forms) {
    const auto tw = in.twVariants.find(EncodeUtf8(f));
    if (tw != in.twVariants.end() && !tw->second.empty()) {
      if (char32_t c = OneCodePoint(tw->second[0])) out.push_back(c);
    }
    out.push_back(f);
  }
  out.push_back(cp);
  return out;
}

void PutCell(std::string& table, int cell, uint16_t code) {
  big_endian::Store16(&table[static_cast<size_t>(cell) * 2], code);
}

}  // namespace

void BuildBig5Files(const Inputs& in, FileSet& files, Report& report) {
  std::string g2b(big5table::kGbk2Big5Bytes, '\0');
  size_t mapped = 0;
  for (int lead = big5table::kGbkLeadFirst; lead <= big5table::kGbkLeadLast; ++lead) {
    for (int trail = big5table::kTrailFirst; trail <= big5table::kTrailLast; ++trail) {
      const auto code = static_cast<uint16_t>(lead << 8 | trail);
      const char32_t cp = trail == 0x7F ? 0 : FromGbk(code);
      if (cp == 0) continue;
      for (char32_t t : TraditionalCandidates(cp, in)) {
        if (const uint16_t b = ToBig5(t)) {
          PutCell(g2b, big5table::GbkCell(code), b);
          ++mapped;
          break;
        }
      }
    }
  }
  std::string b2g(big5table::kBig52GbkBytes, '\0');
  size_t back = 0;
  for (int lead = big5table::kBig5LeadFirst; lead <= big5table::kBig5LeadLast; ++lead) {
    for (int trail = big5table::kTrailFirst; trail <= big5table::kTrailLast; ++trail) {
      const auto code = static_cast<uint16_t>(lead << 8 | trail);
      const char32_t cp = FromBig5(code);
      const std::string g = cp == 0 ? "" : ToGbk(cp);
      if (g.size() != 2) continue;
      PutCell(b2g, big5table::Big5Cell(code), big_endian::Load16(g.data()));
      ++back;
    }
  }
  files["gbk2b5.bin"] = g2b;
  files["b5gbk.bin"] = b2g;
  report.notes.push_back("big5: " + std::to_string(mapped) + " GBK codes with a Big5 form, " +
                         std::to_string(back) + " Big5 codes with a GBK form");
}

}  // namespace datagen
