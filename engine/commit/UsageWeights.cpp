// Usage learning: the committed pinyin character rises in the learned
// order of its syllable (flatAuto.dic in memory), the committed phrase in
// its key's entries of the weighted pinyin index and of the initials index.
// The changes stay in memory, marked dirty, until the lexicon is saved
// (CiKuSave.cpp).
#include "engine/commit/UsageWeights.h"

#include <cstring>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/lookup/KeyScan.h"

namespace usage {

namespace {

constexpr int kMaxWeight = 31;
constexpr uint8_t kWeightBits = 0x1F;
// Largest record: a phrase reference and its weight.
constexpr int kMaxStride = 4;

int StrideOf(RunKind kind) { return kind == RunKind::kChars ? 3 : 4; }

void SetWeight(uint8_t* run, int stride, int r, int w) {
  if (w < 0) w = 0;
  if (w > kMaxWeight) w = kMaxWeight;
  run[r * stride + stride - 1] = static_cast<uint8_t>(w);
}

void SwapRecords(uint8_t* run, int stride, int a, int b) {
  uint8_t tmp[kMaxStride];
  memcpy(tmp, run + a * stride, static_cast<size_t>(stride));
  memcpy(run + a * stride, run + b * stride, static_cast<size_t>(stride));
  memcpy(run + b * stride, tmp, static_cast<size_t>(stride));
}

// Record p to the front: the records before it move one place on, and the
// front record takes p's identity with the weight the front had.
void MoveToFront(uint8_t* run, int stride, int p) {
  uint8_t id[kMaxStride];
  memcpy(id, run + p * stride, static_cast<size_t>(stride - 1));
  const uint8_t frontWeight = WeightOf(run, stride, 0);
  memmove(run + stride, run, static_cast<size_t>(p * stride));
  memcpy(run, id, static_cast<size_t>(stride - 1));
  SetWeight(run, stride, 0, frontWeight);
}

// The weights after the front: each drops by what the one before dropped
// (1 at first), kept at most 2 below the one before; stops once a record
// keeps its weight.
void WalkDown(uint8_t* run, int stride, int count, RunKind kind) {
  int prev = kMaxWeight;
  int carry = -1;
  for (int r = 1; r < count; ++r) {
    const int v = WeightOf(run, stride, r);
    int w = v != 0 ? v + carry : 0;
    if (prev > 2 && w < prev - 2) w = prev - 2;
    if (kind == RunKind::kPhrases && w < 1) w = 1;
    if (w > kMaxWeight) w = kMaxWeight;
    SetWeight(run, stride, r, w);
    carry = w - v;
    if (carry == 0) break;
    prev = w;
  }
}

}  // namespace

uint8_t WeightOf(const uint8_t* run, int stride, int r) {
  return run[r * stride + stride - 1] & kWeightBits;
}

bool RaiseRecord(uint8_t* run, int count, int p, RunKind kind) {
  if (count < 2 || p < 0 || p >= count) return false;
  const int stride = StrideOf(kind);
  const int w = WeightOf(run, stride, p);
  if (w < kMaxWeight) {
    SetWeight(run, stride, p, w + (w < kMaxWeight - 1 ? 2 : 1));
    while (p > 0 && WeightOf(run, stride, p - 1) < WeightOf(run, stride, p)) {
      SwapRecords(run, stride, p - 1, p);
      --p;
    }
    return true;
  }
  if (p > 0) MoveToFront(run, stride, p);
  WalkDown(run, stride, count, kind);
  return true;
}

}  // namespace usage

int CChnChars::AdjustZiUsageWeight(typCharFatFmt& item) {
  // Only the learned order has weight bytes.
  if (!m_pPyFlat || m_nPyFlatEntryLen != 3) return 0;
  const keyscan::KeyList l = keyscan::CharList(*this, kPinYin);
  keyscan::Record r;
  const int keyLen = static_cast<int>(strnlen(item.key, sizeof item.key));
  if (!keyscan::FindExact(l, item.key, keyLen, r)) return 0;
  const keyscan::PyRun run = keyscan::PyRunOf(*this, l, r);
  if (run.count < 2) return 0;
  uint8_t* first = m_pPyFlat + static_cast<size_t>(run.start) * 3;
  int p = -1;
  for (uint32_t k = 0; k < run.count; ++k) {
    if (first[k * 3] == item.data[0] && first[k * 3 + 1] == item.data[1]) {
      p = static_cast<int>(k);
      break;
    }
  }
  if (p < 0) return 0;
  if (!usage::RaiseRecord(first, static_cast<int>(run.count), p, usage::RunKind::kChars)) return 0;
  MarkPyFlatChanged();
  return 1;
}

int CChnChars::AdjustCiUsageWeight(typCharFatFmt& item, int which) {
  const keyscan::KeyList l =
      which == 0 ? keyscan::CiZuList(*this, kPinYin) : keyscan::ShouZiMuList(*this);
  if (!l.data || l.entryLen != 4) return 0;
  keyscan::Record r;
  const int keyLen = static_cast<int>(strnlen(item.key, sizeof item.key));
  if (!keyscan::FindExact(l, item.key, keyLen, r)) return 0;
  // The list view is read-only; the entries are the engine's own buffer.
  uint8_t* entries = const_cast<uint8_t*>(l.data) + r.dataPos;
  const int n = static_cast<int>((r.next - r.dataPos) / 4);
  int p = -1;
  for (int k = 0; k < n; ++k) {
    if (memcmp(entries + k * 4, item.data, keyscan::kPhraseRefBytes) == 0) {
      p = k;
      break;
    }
  }
  if (p < 0 || !usage::RaiseRecord(entries, n, p, usage::RunKind::kPhrases)) return 0;
  if (which == 0)
    m_bCiZuIdxDirty[kPinYin] = 1;
  else
    m_bShouZiMuIdxDirty = 1;
  MarkCiKuChanged();
  return 1;
}
