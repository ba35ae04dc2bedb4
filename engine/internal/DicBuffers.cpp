#include "engine/internal/DicBuffers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace chndic {

namespace {

constexpr int kOrdinals = 50;
constexpr int kBuckets = kOrdinals * kOrdinals;
constexpr uint8_t kHighBit = 0x80;
constexpr size_t kPinYinKeyRecord = 4;  // count high, count low, start (LE)
// The first read of a file whose size is not known (a pipe).
constexpr size_t kReadStep = 8192;

bool IsKeyByte(uint8_t b) { return b != 0 && b < kHighBit; }

}  // namespace

bool ReadWholeFile(const char* path, std::vector<uint8_t>& out) {
  out.clear();
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  // One read of the size the file has now, and one more byte to see its
  // end. A file that grows meanwhile is read on in doubling steps (so it is
  // not copied over and over); one that shrinks ends at its end.
  struct stat st;
  size_t want = kReadStep;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
    want = static_cast<size_t>(st.st_size) + 1;
  out.resize(want);
  size_t have = 0;
  bool ok = true;
  for (;;) {
    if (have == out.size()) out.resize(out.size() * 2);
    const ssize_t got = read(fd, out.data() + have, out.size() - have);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) ok = false;
    if (got <= 0) break;
    have += static_cast<size_t>(got);
  }
  close(fd);
  out.resize(have);
  return ok;
}

PaddedRead ReadWholeFilePadded(const char* path, size_t extra, unsigned char*& buf,
                               size_t& nBytes) {
  buf = nullptr;
  nBytes = 0;
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return PaddedRead::kCannotOpen;
  // Room for the size the file has now and one byte to see its end; a file
  // that grows meanwhile doubles the room.
  struct stat st;
  size_t room = kReadStep;
  if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
    room = static_cast<size_t>(st.st_size) + 1;
  auto* p = static_cast<unsigned char*>(malloc(room + extra + kPad));
  PaddedRead result = p ? PaddedRead::kRead : PaddedRead::kNoMemory;
  size_t have = 0;
  while (result == PaddedRead::kRead) {
    if (have == room) {
      auto* bigger = static_cast<unsigned char*>(realloc(p, room * 2 + extra + kPad));
      if (!bigger) {
        result = PaddedRead::kNoMemory;
        break;
      }
      p = bigger;
      room *= 2;
    }
    const ssize_t got = read(fd, p + have, room - have);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) result = PaddedRead::kReadFailed;
    if (got <= 0) break;
    have += static_cast<size_t>(got);
  }
  close(fd);
  if (result != PaddedRead::kRead) {
    free(p);
    return result;
  }
  memset(p + have, 0, extra + kPad);
  buf = p;
  nBytes = have;
  return result;
}

bool FileIsAbsent(const char* path) { return access(path, F_OK) != 0 && errno == ENOENT; }

unsigned char* PaddedCopy(const uint8_t* data, size_t n, size_t extra) {
  auto* p = static_cast<unsigned char*>(calloc(n + extra + kPad, 1));
  if (p && n) memcpy(p, data, n);
  return p;
}

int KeyOrdinal(char c) {
  const int v = static_cast<signed char>(c);
  int r;
  if (v > '_')
    r = v - 0x49;
  else if (v == ']')
    r = 22;
  else if (v == '[')
    r = 21;
  else if (v == '@')
    r = 20;
  else if (v == '=')
    r = 19;
  else if (v == ';')
    r = 18;
  else if (v > '+')
    r = v - 0x28;
  else if (v == '\'')
    r = 3;
  else if (v > '"')
    r = v - 0x22;
  else
    r = 0;
  if (r < 0) r = 0;
  if (r > kOrdinals - 1) r = kOrdinals - 1;
  return r;
}

int KeyBucket(const char* key) {
  if (key[0] == 0) return 0;
  return KeyOrdinal(key[0]) * kOrdinals + KeyOrdinal(key[1]);
}

TwoKeyTableMaker::TwoKeyTableMaker(uint32_t* table) : m_table(table) {
  for (int i = 0; i < kBuckets; ++i) m_table[i] = 0;
}

void TwoKeyTableMaker::Add(const uint8_t* key, size_t keyLen, uint32_t offset) {
  const auto k0 = static_cast<signed char>(key[0]);
  if (keyLen == 1) {
    const char one[2] = {static_cast<char>(k0), 0};
    m_table[KeyBucket(one)] = offset;
    m_prev0 = k0;
    m_prev1 = '!';
    return;
  }
  const auto k1 = static_cast<signed char>(key[1]);
  if (m_prev0 < k0 || m_prev1 < k1) {
    const char two[3] = {static_cast<char>(k0), static_cast<char>(k1), 0};
    m_table[KeyBucket(two)] = offset;
    m_prev0 = k0;
    m_prev1 = k1;
  }
}

void TwoKeyTableMaker::Finish() {
  for (int i = 0; i + 1 < kBuckets; ++i)
    if (m_table[i + 1] < m_table[i]) m_table[i + 1] = m_table[i];
}

void BuildTwoKeyTable(const uint8_t* data, size_t len, KeyListLayout layout, int entryLen,
                      uint32_t* table) {
  TwoKeyTableMaker maker(table);
  size_t pos = 0;
  while (pos < len && data[pos] != 0) {
    const size_t start = pos;
    while (pos < len && IsKeyByte(data[pos])) ++pos;
    const size_t n = pos - start;
    if (n == 0) {
      // Entry bytes where a key should start: skip them so the walk moves on.
      ++pos;
      continue;
    }
    maker.Add(data + start, n, static_cast<uint32_t>(start));
    if (layout == KeyListLayout::kPinYinKeys) {
      pos += kPinYinKeyRecord;
    } else {
      while (pos < len && (data[pos] & kHighBit)) pos += static_cast<size_t>(entryLen);
    }
  }
  maker.Finish();
}

bool KeyListUsesKeyByte(const uint8_t* data, size_t len, int entryLen, uint8_t key) {
  if (!data || !IsKeyByte(key) || entryLen < 1) return false;
  size_t pos = 0;
  while (pos < len && data[pos] != 0) {
    while (pos < len && IsKeyByte(data[pos]))
      if (data[pos++] == key) return true;
    while (pos < len && (data[pos] & kHighBit)) pos += static_cast<size_t>(entryLen);
  }
  return false;
}

std::vector<uint8_t> WidenPyFlat(const uint8_t* flat, size_t len) {
  std::vector<uint8_t> out;
  out.reserve(len / 2 * 3 + 1);
  for (size_t i = 0; i + 2 <= len; i += 2) {
    if (flat[i] == 0) break;
    out.push_back(flat[i]);
    out.push_back(flat[i + 1]);
    out.push_back(0);
  }
  out.push_back(0);
  return out;
}

std::string BoundPyKeys(uint8_t* data, size_t len, uint32_t nChars) {
  std::string err;
  size_t pos = 0;
  while (pos < len && data[pos] != 0) {
    const size_t start = pos;
    while (pos < len && IsKeyByte(data[pos])) ++pos;
    if (pos == start || pos + kPinYinKeyRecord > len || !(data[pos] & kHighBit)) {
      char text[96];
      snprintf(text, sizeof text, "record at offset 0x%zx is broken; list cut there", start);
      if (err.empty()) err = text;
      data[start] = 0;
      return err;
    }
    uint8_t* rec = data + pos;
    const uint32_t count = static_cast<uint32_t>(((rec[0] & 0x7F) << 8) | rec[1]);
    const uint32_t first = static_cast<uint32_t>(rec[2] | (rec[3] << 8));
    const uint32_t fits = first >= nChars ? 0 : nChars - first;
    if (count > fits) {
      char text[128];
      snprintf(text, sizeof text,
               "record at offset 0x%zx: %u characters from %u pass the list of %u; cut", start,
               count, first, nChars);
      if (err.empty()) err = text;
      rec[0] = static_cast<uint8_t>(kHighBit | ((fits >> 8) & 0x7F));
      rec[1] = static_cast<uint8_t>(fits & 0xFF);
    }
    pos += kPinYinKeyRecord;
  }
  return err;
}

}  // namespace chndic
