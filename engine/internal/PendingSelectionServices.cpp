// Services of other parts of the engine that the candidate display, the key
// editing and the selection call, in an interim form until their own parts
// land: the reset of the input and the commit path (state machine), phrase
// building, re-selection, association ordering and the stroke and tone
// helpers. Each part that owns one of them removes it from this file when it
// defines it.
//
// The interim forms do what their owners specify where that needs no data
// of their own (the reset, the key-string helpers, the re-selection
// bookkeeping); the filters and the association order have no tables yet,
// so they leave every list as it is, which is what their owners do when
// their data files are missing.
#include <cstring>
#include <string>

#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/PaneGlobals.h"
#include "engine/typCharFatFmt.h"

namespace {
constexpr unsigned long kNoColourChange = 0x2C2150;
}

//  i-英数模式. 敲<跳出键>Esc可退回中文状态. 也可用Alt+<空格>或Shift+<空格>
const char gI_ModeStr[] =
    " i-\xD3\xA2\xCA\xFD\xC4\xA3\xCA\xBD. \xC7\xC3<\xCC\xF8\xB3\xF6\xBC\xFC>Esc\xBF\xC9\xCD\xCB"
    "\xBB\xD8\xD6\xD0\xCE\xC4\xD7\xB4\xCC\xAC. \xD2\xB2\xBF\xC9\xD3\xC3" "Alt+<\xBF\xD5\xB8\xF1>\xBB\xF2"
    "Shift+<\xBF\xD5\xB8\xF1>";

void CChnChars::MakeBackCopyOfm_strKeySeq() {
  m_strKeySeqBak = m_strKeySeq;
  m_tmKeySeqBak = EngineHost().Time();
}

void CChnChars::ResetChnInput(int resetReSel, int keepTip, int) {
  m_strKeySeq.Empty();
  MakeBackCopyOfm_strKeySeq();
  m_nInsertPt = 0;
  EngineHost().UnGrabSomeKeys();
  m_nApostrophes = 0;
  isPYProperAndMultiCandidatePanes = 0;
  extraMultiCandidatePanes = 0;
  currentPaneInMultiPanes = 0;
  m_bIMode = 0;
  m_nPrevKey = 0;
  m_nLastKey = 0;
  ClearZuCiMode();
  m_nZuCiMode = 0;
  m_arrZuCiSegs.RemoveAll();
  m_nCurPage = 0;
  EngineHost().SetKeyPane();
  EngineHost().SetChoicePane("", 0, kNoColourChange, 1);
  if (resetReSel && !m_bKeepReSelection) ResetReSelectionData();
  if (!keepTip) EngineHost().ShowTipMsg("");
}

int CChnChars::SelectCharDlg(unsigned long, AArray<typCharFatFmt, typCharFatFmt&>&, int) {
  return 1;
}

int CChnChars::MakeCapHitEven(int, int, int) { return 0; }

void CChnChars::SendChnChar2HwndDirect(unsigned long window, const char* text, int length, int,
                                       int) {
  if (!text || !text[0] || length <= 0) return;
  const std::string out(text, strnlen(text, static_cast<size_t>(length)));
  IEngineHost& host = EngineHost();
  if (unsigned long target = host.CommitTargetWindow()) {
    host.SendTextToEditCtrl(target, out.c_str());
    return;
  }
  (void)window;
  typFwdEventView rec = m_fwdEvent;
  host.SendStrToClient(rec, out.c_str());
}

void CChnChars::SendChnChar2Hwnd(unsigned long window, typCharFatFmt candidate) {
  CString text;
  FatFmt2NmlChar(candidate, text);
  SendChnChar2HwndDirect(window, text, text.GetLength(), 0, 0);
}

int CChnChars::SetZuCiMode(int insertPt, int) {
  m_nZuCiMode = insertPt > 0 ? 2 : 1;
  m_strZuCiKeys = m_strKeySeq;
  m_arrZuCiSegs.RemoveAll();
  CKeyZiPair seg;
  seg.keyEnd = insertPt > 0 ? insertPt : m_strKeySeq.GetLength();
  m_arrZuCiSegs.Add(seg);
  m_nZuCiCurSeg = 0;
  return 1;
}

int CChnChars::SetZuCiOneCharAndFireIfDone(typCharFatFmt* pick, unsigned long, int, int) {
  if (pick && m_nZuCiCurSeg >= 0 && m_nZuCiCurSeg < m_arrZuCiSegs.GetSize())
    FatFmt2NmlChar(*pick, m_arrZuCiSegs[m_nZuCiCurSeg].text);
  return 0;
}

int CChnChars::ZuCiKeySplit() { return 0; }

int CChnChars::GetZuCiUnusedKeys(CString& out) {
  out.Empty();
  const int n = m_arrZuCiSegs.GetSize();
  if (n == 0) return 0;
  out = m_strZuCiKeys.Mid(m_arrZuCiSegs[n - 1].keyEnd);
  return out.IsEmpty() ? 0 : 1;
}

void CChnChars::ResetReSelectionData() {
  m_nReSelState = -1;
  m_nReSelIndex = -1;
}

int CChnChars::IsReSelectionDataResetNeeded(unsigned long window) {
  return m_nReSelState >= 0 && window == m_hReSelWnd ? 1 : 0;
}

int CChnChars::InitReSelectionData(int index, unsigned long window,
                                   AArray<typCharFatFmt, typCharFatFmt&>& list) {
  m_nReSelState = 0;
  m_nReSelIndex = index;
  m_hReSelWnd = window;
  m_arrReSelCands.Copy(list);
  if (index >= 0 && index < list.GetSize()) m_reSelItem = list[index];
  return 1;
}

int CChnChars::InitReSelectionPos(unsigned long) { return 1; }

int CChnChars::BasicLianXianAdjustOrder(AArray<typCharFatFmt, typCharFatFmt&>&) { return 0; }

char CChnChars::GetPingZeMa(char* keys) {
  if (!keys) return 0;
  for (int i = static_cast<int>(strlen(keys)) - 1; i >= 1; --i) {
    const char c = keys[i];
    if (c >= '1' && c <= '5') return c;
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return 0;
  }
  return 0;
}

int CChnChars::GetCountOfBiHuaMa(char* keys, int* start, char* out) {
  const int n = keys ? static_cast<int>(strlen(keys)) : 0;
  int i = n;
  while (i > 0 && strchr(gszBiHuaMa, keys[i - 1])) --i;
  const int count = n - i;
  if (out) {
    memcpy(out, keys + i, static_cast<size_t>(count));
    out[count] = 0;
  }
  if (start) *start = (i > 0 && keys[i - 1] >= '1' && keys[i - 1] <= '5') ? i - 1 : i;
  return count;
}

int CChnChars::ShengDiaoRemoveChar(AArray<typCharFatFmt, typCharFatFmt&>&, CString, char) {
  return 1;
}

int CChnChars::BiHuaRemoveChar(AArray<typCharFatFmt, typCharFatFmt&>&, CString, char*) {
  return 1;
}

int CChnChars::FantiRemoveChar(AArray<typCharFatFmt, typCharFatFmt&>&, CString) { return 1; }

void CChnChars::RemvFenHaoAtEnds(CString& keys) {
  while (!keys.IsEmpty() && keys[0] == '\'') keys.DeleteLeft(1);
  while (!keys.IsEmpty() && keys.GetLastChar() == '\'') keys.DeleteRight(1);
}

int CChnChars::IsBiHuaCode(unsigned long, unsigned long ch, unsigned long) {
  return ch != 0 && ch < 0x80 && strchr(gszBiHuaMa, static_cast<int>(ch)) ? 1 : 0;
}

char CChnChars::Translate2NormalBiHua(short stroke) {
  switch (stroke) {
    case 1: return '-';
    case 2: return '=';
    case 3: return '[';
    case 4: return ']';
    default:
      return cfgInputManager.InputMthd == kPinYin && cfgInputManager.ShuangPin &&
                     cfgInputManager.ShuangPinScheme == 0
                 ? '/'
                 : ';';
  }
}

int CChnChars::ChnCharHasThisPY1stLetter(const char* ch, char letter) {
  char pair[3] = {ch[0], ch[1], 0};
  CStringArray readings;
  if (GetKeysByChar(pair, readings, kPinYin) <= 0) return 0;
  for (int i = 0; i < readings.GetSize(); ++i)
    if (!readings[i].IsEmpty() && readings[i][0] == letter) return 1;
  return 0;
}
