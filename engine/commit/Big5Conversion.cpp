// GBK to Big5 and back through the tables gbk2b5.bin and b5gbk.bin (layout
// in engine/formats/Big5TableFormat.h). Each table is loaded whole on first use; a
// table whose file is missing or has the wrong size is refused once and
// not tried again until it is unloaded, so that a missing file does not
// cost an open on every committed or drawn character.
#include "engine/CChnChars.h"

#include <cstdlib>
#include <vector>

#include "base/ByteOrder.h"
#include "engine/EngineHost.h"
#include "engine/formats/Big5TableFormat.h"
#include "engine/internal/DicBuffers.h"
#include "framework/SysUtil.h"

namespace {

constexpr int kHighByteMin = 0x80;  // a cell below this has no counterpart

// Loads name into table unless it is loaded or refused before. The file
// must have exactly nBytes bytes.
int LoadTable(const char* name, size_t nBytes, unsigned char*& table, int& failed) {
  if (table) return 1;
  if (failed) return 0;
  const CString path = CString(EngineHost().DataDir()) + name;
  std::vector<uint8_t> bytes;
  if (!chndic::ReadWholeFile(path, bytes)) {
    EngineDiag("Cannot open %s", path.GetString());
    failed = 1;
    return 0;
  }
  if (bytes.size() != nBytes) {
    EngineDiag("%s: %zu bytes, expected %zu; no conversion", path.GetString(), bytes.size(),
               nBytes);
    failed = 1;
    return 0;
  }
  table = chndic::PaddedCopy(bytes.data(), bytes.size());
  if (!table) {
    failed = 1;
    return 0;
  }
  return 1;
}

int Unload(unsigned char*& table, int& failed) {
  free(table);
  table = nullptr;
  failed = 0;
  return 1;
}

uint16_t Cell(const unsigned char* table, int index) {
  return big_endian::Load16(table + static_cast<size_t>(index) * 2);
}

}  // namespace

int CChnChars::LoadGbk2Big5Dic() {
  return LoadTable("gbk2b5.bin", big5table::kGbk2Big5Bytes, m_pGbk2Big5, m_bGbk2Big5Failed);
}

int CChnChars::LoadBig5GbkDic() {
  return LoadTable("b5gbk.bin", big5table::kBig52GbkBytes, m_pBig5Gbk, m_bBig5GbkFailed);
}

int CChnChars::UnloadGbk2Big5Dic() { return Unload(m_pGbk2Big5, m_bGbk2Big5Failed); }

int CChnChars::UnloadBig5GbkDic() { return Unload(m_pBig5Gbk, m_bBig5GbkFailed); }

unsigned short CChnChars::Gbk2Big5(unsigned short code, unsigned short before2,
                                   unsigned short before1, unsigned short after1,
                                   unsigned short after2) {
  const int cell = big5table::GbkCell(code);
  if (cell < 0 || !LoadGbk2Big5Dic()) return big5table::kNoBig5;
  const unsigned short v = Gbk2B5Adjust(Cell(m_pGbk2Big5, cell), before2, before1, after1, after2);
  return (v >> 8) < kHighByteMin ? big5table::kNoBig5 : v;
}

unsigned short CChnChars::Big5ToGbk(unsigned short code) {
  const int cell = big5table::Big5Cell(code);
  if (cell < 0 || !LoadBig5GbkDic()) return big5table::kNoGbk;
  const unsigned short v = Cell(m_pBig5Gbk, cell);
  return (v >> 8) < kHighByteMin ? big5table::kNoGbk : v;
}

unsigned short DictionaryGbk2Big5(unsigned short gbk) {
  return dictionary.Gbk2Big5(gbk, 0, 0, 0, 0);
}
