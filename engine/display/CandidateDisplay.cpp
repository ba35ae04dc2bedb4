// The candidate display: turns the typed keys into what the panes show. One
// pass per change of the keys, the page or the phrase-building state:
// prepare the keys, look them up (or keep the list), filter and order,
// lay one page out with its labels (or the ranked rows), compose the
// status tip and hand everything to the host.
#include <algorithm>
#include <string>
#include <vector>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/PaneGlobals.h"
#include "engine/internal/ChoiceHelpers.h"
#include "engine/internal/ChoiceTexts.h"

namespace {

using choicehelp::PageSizeOf;
using FatList = AArray<typCharFatFmt, typCharFatFmt&>;

constexpr unsigned long kHighlightColour = 0x2C2150;
constexpr unsigned long kFloatPaneColour = 0xAA780C;
constexpr unsigned long kBarPaneColour = 0xAA0A0C;
// Tries of the shape-code tail retry, whatever the key count.
constexpr int kMaxTailTries = 8;
// A tail of more keys than this is also tried in the sole-candidate map.
constexpr int kSoleCandMinKeys = 3;
// Extra rows (following pages) of the multi-row layout.
constexpr int kMaxExtraPanes = 2;

void ClearPaneGlobals() {
  for (CStringArray& column : arrStrInputPane2) column.RemoveAll();
  for (int& cx : cxLimit4VerticalCadidatePane) cx = 0;
  for (CWordArray& widths : arr2ndUpColumnWidthInputPane2) widths.RemoveAll();
  highlightClrLenCountOfItems = 0;
  pane1yJumped = 0;
  currentPaneInMultiPanes = 0;
}

CString TextOf(const typCharFatFmt& rec) {
  CString text;
  FatFmt2NmlChar(rec, text);
  return text;
}

// What one display produces besides the pane globals and m_strPane2.
struct DisplayState {
  CString keys;         // the prepared keys
  char tone = 0;        // tone key typed (pinyin)
  std::string strokes;  // stroke keys typed (pinyin)
  int highlightLength = 0;
  bool colourFlag = true;
  CString filterMessage;
  CString pagingHint;
};

}  // namespace

// The key grab of the selection keys while candidates are shown.
int DoThingsAfterChoicesShown(unsigned long window) {
  EngineHost().GrabSomeKeys(window);
  return 1;
}

namespace {

// Key preparation: tone and stroke keys cut off, apostrophes at the ends
// dropped, ShuangPin turned into full pinyin, apostrophes counted out.
void PrepareKeys(CChnChars& e, DisplayState& d) {
  e.MakeBackCopyOfm_strKeySeq();
  if (!cfgInputManager.IsPinYinMethod()) {
    d.keys = e.m_strKeySeq;
    return;
  }
  std::vector<char> buf(e.m_strKeySeq.GetString(),
                        e.m_strKeySeq.GetString() + e.m_strKeySeq.GetLength() + 1);
  d.tone = e.GetPingZeMa(buf.data());
  std::vector<char> strokes(buf.size() + 1, 0);
  if (e.GetCountOfBiHuaMa(buf.data(), nullptr, strokes.data()) > 0) d.strokes = strokes.data();
  if (d.tone)
    e.m_strKeySeq.SpanExcluding(gszPingZeMa);
  else if (!d.strokes.empty())
    e.m_strKeySeq.SpanExcluding(gszBiHuaMa);
  e.RemvFenHaoAtEnds(e.m_strKeySeq);
  if (cfgInputManager.ShuangPin && !e.m_strKeySeq.IsEmpty() && e.m_strKeySeq[0] != 'V')
    e.ShuangPin2FullPinyin(e.m_strKeySeq);
  e.m_nApostrophes = e.m_strKeySeq.Remove('\'');
  d.keys = e.m_strKeySeq;
}

}  // namespace

void CChnChars::ShowChoiceList(int keepList, int keepReSelection) {
  IEngineHost& host = EngineHost();
  const typInputSettings& cfg = cfgInputManager;
  const bool pinyin = cfg.IsPinYinMethod();
  const CString typedKeys = m_strKeySeq;
  DisplayState d;

  m_strPane2.Empty();
  ClearPaneGlobals();
  m_nApostrophes = 0;
  if (!keepList) {
    m_arrChoices.RemoveAll();
    m_arrSegChoices.RemoveAll();
    m_bChoicesFound = m_bPrefixOnly = m_bSegDisplay = m_nSegRows = 0;
    m_bLookAheadHit = 0;
    m_chLookAheadKey = 0;
    if (!keepReSelection) ResetReSelectionData();
    m_nLeadChoices = 0;
  }

  CString tip;
  if (!m_strKeySeq.IsEmpty()) {
    PrepareKeys(*this, d);
    if (!keepList) {
      m_nRows[0] = m_nRows[1] = 0;
      m_nSkippedKeys = 0;
      if (pinyin && cfg.fuzziPY)
        LookupFuzzyMerged(d.keys);
      else
        LookupWithTailRetry(d.keys);
    }
    m_bSegDisplay = m_nSegOutcome == 2 && m_nExactHits == 0 ? 1 : 0;
    const bool list =
        m_bChoicesFound && m_arrChoices.GetSize() > 0 && !(m_bSegDisplay && m_strNumCi.IsEmpty());
    if (list)
      LayOutChoiceList(d.keys, d.tone, d.strokes.c_str(), d.highlightLength, d.colourFlag,
                       d.filterMessage, d.pagingHint);
    else
      LayOutSegmentRows(d.highlightLength, d.colourFlag);
    if (!m_strPane2.IsEmpty()) DoThingsAfterChoicesShown(host.MyGetFocus());
    if (cfg.ShowTip) ComposeChoiceTip(d.keys, m_strPane2, tip);
  }

  m_strKeySeq = typedKeys;
  host.SetKeyPane();
  tip += "  ";
  tip += d.filterMessage;
  tip += d.pagingHint;
  const unsigned long colour = d.colourFlag             ? kHighlightColour
                               : cfg.useFloatPromptPane ? kFloatPaneColour
                                                        : kBarPaneColour;
  host.SetChoicePane(m_strPane2, d.highlightLength, colour);
  if (cfg.ShowTip && cfg.ShowTipOnStatusbar) host.ShowTipMsg(tip);
}

void CChnChars::LookupWithTailRetry(const CString& keys) {
  const typInputSettings& cfg = cfgInputManager;
  const int n = keys.GetLength();
  int tries = 1;
  if (!cfg.IsPinYinMethod() && n >= 7 && !m_nZuCiMode && !cfg.fuzziPY)
    tries = std::min(n - 2, kMaxTailTries);
  for (int t = 0; t < tries; ++t) {
    if (t == 0) {
      if (Lookup0(keys, m_arrChoices, 0, 0, 0)) {
        m_bChoicesFound = 1;
        return;
      }
      continue;
    }
    if (t == 1) continue;
    const CString tail = keys.Mid(t);
    FatList found;
    bool hit = LookupExact(tail, found, 0) != 0 && found.GetSize() > 0;
    if (!hit && tail.GetLength() > kSoleCandMinKeys && m_pKey2ChsDic2) {
      CString value;
      if (m_pKey2ChsDic2->Lookup(tail, value) && value.GetLength() == 2) {
        found.RemoveAll();
        typCharFatFmt one =
            typCharFatFmt::Char(static_cast<uint8_t>(value[0]), static_cast<uint8_t>(value[1]));
        found.Add(one);
        m_bSoleCandMapHit = 1;
        hit = true;
      }
    }
    if (hit) {
      m_arrChoices.Copy(found);
      m_nSkippedKeys = t;
      m_bChoicesFound = 1;
      return;
    }
  }
}

void CChnChars::ApplyPinyinFilters(const CString& keys, char tone, const char* strokes,
                                   CString& filterMessage) {
  const typInputSettings& cfg = cfgInputManager;
  CString s;
  if (tone || (strokes && strokes[0])) s = keys;
  const char vKey = cfg.ShuangPin ? 'V' : 'v';
  if (cfg.StdPinYin && !s.IsEmpty() && s[0] == vKey) s = s.Mid(1);
  if (tone && !ShengDiaoRemoveChar(m_arrChoices, s, tone)) filterMessage = choicetext::kNoSuchTone;
  if (strokes && strokes[0]) {
    std::string copy(strokes);
    if (!BiHuaRemoveChar(m_arrChoices, s, copy.data())) filterMessage = choicetext::kNoSuchStrokes;
  }
  if (cfg.FanTi) FantiRemoveChar(m_arrChoices, s);
  if (IsPYProper(keys) && cfg.PYSingleCharShowMultiRow) isPYProperAndMultiCandidatePanes = 1;
}

void CChnChars::LayOutChoiceList(const CString& keys, char tone, const char* strokes,
                                 int& highlightLength, bool& colourFlag, CString& filterMessage,
                                 CString& pagingHint) {
  const typInputSettings& cfg = cfgInputManager;
  const bool pinyin = cfg.IsPinYinMethod();
  isPYProperAndMultiCandidatePanes = 0;
  if (pinyin) ApplyPinyinFilters(keys, tone, strokes, filterMessage);
  if (!(pinyin && cfg.candidateOrderChoice > 0 && IsPYProper(keys)))
    BasicLianXianAdjustOrder(m_arrChoices);

  const int total = m_arrChoices.GetSize();
  if (total == 1) {
    const CString text = TextOf(m_arrChoices[0]);
    m_strPane2 = text;
    arrStrInputPane2[0].Add(CString());
    arrStrInputPane2[1].Add(text);
    highlightLength = 0;
    colourFlag = true;
    return;
  }
  if (total == 0) return;

  const int pageSize = PageSizeOf(m_nPageSize);
  const int pages = total / pageSize + (total % pageSize ? 1 : 0);
  int page = 0;
  int count = std::min(total, pageSize);
  if (pinyin) {
    if (m_nCurPage > 0) {
      m_nCurPage = std::min(m_nCurPage, pages - 1);
      page = m_nCurPage;
      count = std::min(total - page * pageSize, pageSize);
    }
    m_nLeadChoices = count;
  } else {
    m_nLeadChoices = m_nExactHits ? m_nExactHits : m_bOneBestSplit ? 1 : count;
  }

  for (int i = 0; i < count; ++i) {
    const int x = page * pageSize + i;
    if (!pinyin && x >= m_nLeadChoices && colourFlag) {
      highlightLength = m_strPane2.GetLength();
      highlightClrLenCountOfItems = arrStrInputPane2[0].GetSize();
      colourFlag = false;
    }
    const CString label = ChoiceLabel(keys, i, x);
    const CString text = TextOf(m_arrChoices[x]);
    m_strPane2 += label;
    arrStrInputPane2[0].Add(label);
    m_strPane2 += text;
    arrStrInputPane2[1].Add(text);
  }

  if (isPYProperAndMultiCandidatePanes && page < pages - 1) {
    extraMultiCandidatePanes = std::min(pages - page - 1, kMaxExtraPanes);
    for (int r = 0; r < extraMultiCandidatePanes; ++r)
      for (int k = 0; k < pageSize; ++k) {
        const int x = (page + r + 1) * pageSize + k;
        if (x >= total) break;
        arrStrInputPane2[2 + r].Add(TextOf(m_arrChoices[x]));
      }
  }
  const CString typed = m_strKeySeqBak;
  // V-mode keys: in ShuangPin only the 'V' of the hot key (a typed 'v' is zh).
  const char vKey = pinyin && cfg.ShuangPin ? 'V' : 'v';
  const bool vMode = !typed.IsEmpty() && typed[0] == vKey;
  if (total > pageSize && !vMode) pagingHint = choicetext::kPagingHint;
}

CString CChnChars::ChoiceLabel(const CString& keys, int i, int x) {
  const bool pinyin = cfgInputManager.IsPinYinMethod();
  CString label;
  if (i == 0 && (pinyin || keys.GetLength() == 1)) return CString("< >");
  if (pinyin) {
    label.Format(" %d ", i + 1 > 9 ? 0 : i + 1);
    return label;
  }
  if (keys.GetLength() == 1) {
    const typCharFatFmt& rec = m_arrChoices[x];
    const char ch[3] = {static_cast<char>(rec.data[0]), static_cast<char>(rec.data[1]), 0};
    CStringArray readings;
    if (GetKeysByChar(ch, readings, kPinYin) > 0 && !readings[0].IsEmpty()) {
      char c = readings[0][0];
      if (c == 'z' && keys[0] == 't') c = 'd';
      label.Format(" <%c%c> ", c, c);
    } else {
      label = "<> ";
    }
    return label;
  }
  if (x < m_nLeadChoices) {
    if (m_nLeadChoices == 1) return CString("< >");
    label.Format(" F%d ", i + 1);
    return label;
  }
  CString key(m_arrChoices[x].key);
  const int j = x - m_nLeadChoices;
  if (key.IsEmpty() && j < m_nRows[0] + m_nRows[1] && j < kMaxRows)
    key = RowKeyText(m_rows[kRowsMerged][j]);
  if (key.IsEmpty()) return CString("  ");
  key.MakeUpper();
  label.Format(" %s ", key.GetString());
  return label;
}

CString CChnChars::RowKeyText(const tagE_Dist& row) const {
  if (row.nSet < 0 || row.nSet > 1 || row.nList < 0 || row.nList > 1 || row.nSlot < 0 ||
      row.nSlot >= kMaxRows)
    return CString();
  return m_strRowKey[row.nSet][row.nList][row.nSlot];
}

void CChnChars::LayOutSegmentRows(int& highlightLength, bool& colourFlag) {
  const bool pinyin = cfgInputManager.IsPinYinMethod();
  const int rows = std::min({PageSizeOf(m_nPageSize), m_nSegRows, kMaxRows});
  // A re-layout after a page key must not list the rows' candidates twice.
  m_arrSegChoices.RemoveAll();
  int shown = 0;
  for (int j = 0; j < rows; ++j) {
    const tagE_Dist& row = m_rows[kRowsMerged][j];
    CString key = RowKeyText(row);
    if (!pinyin) key.MakeUpper();
    m_strPane2 += " ";
    m_strPane2 += key;
    m_strPane2 += " ";
    arrStrInputPane2[0].Add(key);
    CString text;
    if (row.nSet >= 0 && row.nSet <= 1 && row.nList >= 0 && row.nList <= 1 && row.nSlot >= 0 &&
        row.nSlot < kMaxRows) {
      FatList& cands = m_arrRowCands[row.nSet][row.nList][row.nSlot];
      for (int k = 0; k < cands.GetSize(); ++k) {
        if (k) text += ",";
        text += TextOf(cands[k]);
        m_arrSegChoices.Add(cands[k]);
      }
      if (cands.GetSize() > 1) text += " ";
    }
    m_strPane2 += text;
    arrStrInputPane2[1].Add(text);
    ++shown;
  }
  if (m_bSegDisplay && highlightLength == 0) {
    highlightLength = m_strPane2.GetLength();
    highlightClrLenCountOfItems = shown;
  }
  if (shown != 1) colourFlag = false;
}
