// ShuangPin (double pinyin): every syllable typed with at most two keys, in
// the scheme cfgInputManager.ShuangPinScheme names (0 MS, 1 C_Star, 2 ZR).
// The typed keys are turned into full pinyin with an apostrophe between
// syllables before a lookup. The key tables themselves are shared with the
// data generator (engine/formats/ShuangPinTables.h).
#include "engine/CChnChars.h"
#include "engine/formats/ShuangPinTables.h"

namespace {

int Scheme() {
  const int s = cfgInputManager.ShuangPinScheme;
  return s >= 0 && s < shuangpin::kSchemes ? s : shuangpin::kMS;
}

}  // namespace

void CChnChars::ShuangPinGetYunMu_MS_ZR(char initialKey, char finalKey, CString& final) {
  const int scheme = Scheme() == shuangpin::kZR ? shuangpin::kZR : shuangpin::kMS;
  final = shuangpin::Final(scheme, initialKey, finalKey).c_str();
}

void CChnChars::ShuangPinGetYunMu_C_Star(char initialKey, char finalKey, CString& final) {
  final = shuangpin::Final(shuangpin::kCStar, initialKey, finalKey).c_str();
}

void CChnChars::ShuangPin2FullPinyin(CString& keys) {
  const int n = keys.GetLength();
  if (n == 1 && keys[0] != 'a' && keys[0] != 'e' && keys[0] != 'o') return;
  // Wildcard keys are not converted: they only become separators.
  if (keys.Replace('?', '\'') > 0) return;
  const int scheme = Scheme();
  CString full;
  bool wantInitial = true;
  char initialKey = 0;
  for (int i = 0; i < n; ++i) {
    const char k = keys[i];
    if (k == '\'') {
      if (full.IsEmpty() || full[full.GetLength() - 1] != '\'') full += '\'';
      wantInitial = true;
      continue;
    }
    if (wantInitial) {
      initialKey = k;
      // 'o' alone is the syllable o; before a final it writes nothing.
      if (k == 'o' && n == 1)
        full += 'o';
      else
        full += shuangpin::Initial(scheme, k).c_str();
      const shuangpin::InitialKind kind = shuangpin::InitialKindOf(scheme, k);
      wantInitial = kind == shuangpin::InitialKind::kSyllable;
    } else {
      CString final;
      if (scheme == shuangpin::kCStar)
        ShuangPinGetYunMu_C_Star(initialKey, k, final);
      else
        ShuangPinGetYunMu_MS_ZR(initialKey, k, final);
      full += final;
      wantInitial = true;
    }
    if (wantInitial && i + 1 < n) full += '\'';
  }
  keys = full;
}

CString CChnChars::MapToUniquePY(CString py) {
  return CString(shuangpin::ShortForm(py.GetString()).c_str());
}
