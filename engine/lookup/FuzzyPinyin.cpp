// The fuzzy forms of syllables and phrase keys. The pair switches choose
// which initials vary: z (zhz_fuzzy), c (chc_fuzzy), s (shs_fuzzy) and the
// l/r pair (lr_fuzzy), which each operation names its own way.
#include "engine/lookup/FuzzyPinyin.h"

#include <cstring>

#include "engine/CChnChars.h"

int pyclass = kPyClassFree;
// ‖: the mark character of a fuzzy pinyin list
const char pszJumper[] = "\xA1\xAC";

namespace {

// z, c, s as switched on, then lrPart when the l/r pair is on.
CString PairInitials(const char* lrPart) {
  const typInputSettings& cfg = cfgInputManager;
  CString set;
  if (cfg.zhz_fuzzy) set += 'z';
  if (cfg.chc_fuzzy) set += 'c';
  if (cfg.shs_fuzzy) set += 's';
  if (cfg.lr_fuzzy) set += lrPart;
  return set;
}

bool In(const CString& set, char c) { return c != 0 && set.Find(c) >= 0; }

bool IsVowel(char c) { return c && strchr("aeiouv", c) != nullptr; }

constexpr int kClassWindow = 5;  // letters GetCiPyClass examines

}  // namespace

int CChnChars::GetFuzziPyAllPossibleForms(const char* py, CStringArray& forms) {
  forms.RemoveAll();
  CString s(py);
  forms.Add(s);
  if (s.IsEmpty() || !In(PairInitials("lr"), s[0])) return forms.GetSize();
  CString variant = s;
  if (s[0] == 'l' || s[0] == 'r') {
    variant.SetAt(0, s[0] == 'l' ? 'r' : 'l');
  } else if (s.GetLength() > 1 && s[1] == 'h') {
    variant.Delete(1, 1);
  } else {
    variant.Insert(1, 'h');
  }
  forms.Add(variant);
  return forms.GetSize();
}

int CChnChars::GetFuzziPyCommonFactor(const char* py, CString& common) {
  const CString s(py);
  if (s.IsEmpty() || !In(PairInitials("l"), s[0])) return 0;
  if (s[0] == 'l') {
    common = s;
    common.SetAt(0, 'r');
    return 1;
  }
  if (s.GetLength() > 1 && s[1] == 'h') {
    common = s;
    common.Delete(1, 1);
    return 1;
  }
  return 0;
}

int CChnChars::IsFuzzyPyCommonFactor(CString py, CString& partner, int& which) {
  if (py.IsEmpty() || !In(PairInitials("r"), py[0])) return 0;
  if (py[0] == 'r') {
    which = 0;
    partner = py;
    partner.SetAt(0, 'l');
    return 1;
  }
  if (py.GetLength() < 2 || py[1] != 'h') {
    which = 1;
    partner = py;
    partner.Insert(1, 'h');
    return 1;
  }
  return 0;
}

void CChnChars::GetFuzziPyAllPossibleForms_Cizu(const char* py, CStringArray& forms) {
  forms.RemoveAll();
  forms.Add(CString(py));
  strFuzzyPy1stChar = PairInitials("lr");
  pyclass = GetCiPyClass(py, 1);
  GetFuzziPyAllPossibleForms_CizuHelper(py, 0, static_cast<int>(strlen(py)), forms);
}

void CChnChars::GetFuzziPyAllPossibleForms_CizuHelper(const char* py, int start, int len,
                                                      CStringArray& forms) {
  const CString s(py);
  for (int i = start; i < len && i < s.GetLength(); ++i) {
    if (forms.GetSize() >= kMaxFuzzyForms) return;
    const char c = s[i];
    if (!In(strFuzzyPy1stChar, c)) continue;
    if (c == 'l' || c == 'r') {
      CString v = s;
      v.SetAt(i, c == 'l' ? 'r' : 'l');
      forms.Add(v);
      GetFuzziPyAllPossibleForms_CizuHelper(s, i + 1, len, forms);
      GetFuzziPyAllPossibleForms_CizuHelper(v, i + 1, len, forms);
      return;
    }
    if (pyclass == kPyClassFree || (pyclass == kPyClassClean && len > kClassWindow)) {
      CString v = s;
      if (i < len - 1 && s[i + 1] == 'h') {
        v.Delete(i + 1, 1);
        forms.Add(v);
        GetFuzziPyAllPossibleForms_CizuHelper(v, i + 1, len - 1, forms);
        GetFuzziPyAllPossibleForms_CizuHelper(s, i + 2, len, forms);
      } else {
        v.Insert(i + 1, 'h');
        forms.Add(v);
        GetFuzziPyAllPossibleForms_CizuHelper(s, i + 1, len, forms);
        GetFuzziPyAllPossibleForms_CizuHelper(v, i + 2, len + 1, forms);
      }
      return;
    }
  }
}

int CChnChars::GetCiPyClass(const char* py, int expectInitial) {
  const int length = static_cast<int>(strlen(py));
  const int m = length < kClassWindow ? length : kClassWindow;
  for (int i = 0; i < m; ++i)
    if (strchr("iouv", py[i])) return kPyClassFree;
  // A consonant mark for each letter examined, and for the one after the
  // window when the string has it: the pair test at the window's last
  // letter looks one further. Past the string's end nothing is a consonant.
  bool consonant[kClassWindow + 1] = {};
  for (int i = 0; i <= m && i < length; ++i) consonant[i] = !IsVowel(py[i]);

  int pos = 0;
  bool wantInitial = expectInitial != 0;
  while (pos < m) {
    if (!wantInitial) {
      const char c = py[pos];
      if (c != 'a' && c != 'e' && c != 'o') return kPyClassBroken;
      ++pos;
      const char next = py[pos];
      if (next == 'r' && c != 'e') {
        wantInitial = true;
      } else if (next == 'n' || next == 'g') {
        const int asInitial = GetCiPyClass(py + pos, 1);
        if (asInitial != kPyClassClean) return asInitial;
        const int asFinal = GetCiPyClass(py + pos, 0);
        return asFinal != kPyClassClean ? asFinal : kPyClassClean;
      } else {
        wantInitial = true;
      }
      continue;
    }
    if (consonant[pos] && consonant[pos + 1]) {
      if (py[pos + 1] != 'h' || !strchr("zcs", py[pos])) return kPyClassBroken;
      pos += 2;
      wantInitial = false;
    } else if (consonant[pos]) {
      ++pos;
      wantInitial = false;
    } else {
      ++pos;
    }
  }
  return kPyClassClean;
}
