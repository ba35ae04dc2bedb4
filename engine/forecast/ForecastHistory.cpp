// The outside of phrase forecasting: the history of committed text that the
// rules are matched against, the forecast after a commit with its pane and
// tip, the reset whenever the context is lost, and the commit of a forecast
// item the user picks.
#include <algorithm>
#include <cstring>

#include "base/ChnChar.h"
#include "engine/CChnChars.h"
#include "engine/EngineHost.h"
#include "engine/forecast/ForecastSupport.h"

using namespace forecast;

namespace {

// A commit longer than this starts the history afresh.
constexpr int kMaxRecordedCommitBytes = 200;
constexpr unsigned char kFullStopWide[2] = {0xA3, 0xAE};  // ．

// "☆用 F8或<右Alt>+P 选预测词语."
constexpr char kForecastTip[] =
    "\xA1\xEE\xD3\xC3 F8\xBB\xF2<\xD3\xD2"
    "Alt>+P \xD1\xA1\xD4\xA4\xB2\xE2\xB4\xCA\xD3\xEF.";
// " 用 <右Alt>+I 改变选项."
constexpr char kForecastChoiceTip[] =
    " \xD3\xC3 <\xD3\xD2"
    "Alt>+I \xB8\xC4\xB1\xE4\xD1\xA1\xCF\xEE.";

void AddChar(CString& history, int memoryOrder) {
  const char pair[2] = {static_cast<char>(memoryOrder & 0xFF), static_cast<char>(memoryOrder >> 8)};
  history.AddChars(pair, 0, 2);
}

}  // namespace

int CChnChars::ZiCiForecastAddString(const char* str) {
  if (!str) return 1;
  const int len = static_cast<int>(std::strlen(str));
  if (len > kMaxRecordedCommitBytes) {
    ZiCiForecastingReset(0);
    return 1;
  }
  if (m_nForecastMatchEnd > m_strForecastHistory.GetLength()) {
    m_nForecastMatchEnd = -1;
    lastIdxDB = -1;
  }
  for (int i = 0; i < len;) {
    const auto lead = static_cast<unsigned char>(str[i]);
    const auto trail = static_cast<unsigned char>(i + 1 < len ? str[i + 1] : 0);
    if (i + 1 < len && IsChnChar(lead, 1, 0) && IsChnChar(trail, 0, 0)) {
      int ch = lead | trail << 8;
      if (lead == kFullStopWide[0] && trail == kFullStopWide[1])
        ch = 0xA3A1;  // 。
      else if (const int standard =
                   EngChar2GB_PunctuationStandardize(static_cast<unsigned long>(ch)))
        ch = standard;
      if (!IsChnSpace(static_cast<uint8_t>(ch), static_cast<uint8_t>(ch >> 8), 0))
        AddChar(m_strForecastHistory, ch);
      i += 2;
      continue;
    }
    const int ch = PeekEngChar2GB(lead, 2, 1);
    if (!ch || !IsChnSpace(static_cast<uint8_t>(ch), static_cast<uint8_t>(ch >> 8), 0))
      AddChar(m_strForecastHistory, ch);
    ++i;
  }
  const int excess = m_strForecastHistory.GetLength() - 2 * fcc::kHistoryChars;
  if (excess > 0) {
    m_strForecastHistory.DeleteLeft(excess);
    m_nForecastMatchEnd -= excess;
    if (m_nForecastMatchEnd < 0) m_nForecastMatchEnd = -1;
  }
  return 1;
}

int CChnChars::ZiCiForecasting(const char* str) {
  const int ok = GetForecastZiCi(str);
  IEngineHost& host = EngineHost();
  if (ok) {
    m_bForecastShown = 1;
    host.ShowZiCiForecastPane(1);
    if (!m_bKeepReSelection) {
      m_strTip += kForecastTip;
      if (m_arrForecast.GetSize() > 1) m_strTip += kForecastChoiceTip;
      host.ShowTipMsg(m_strTip);
    }
  } else {
    m_bForecastShown = 0;
    m_arrForecast.RemoveAll();
    host.ShowZiCiForecastPane(0);
  }
  return ok;
}

int CChnChars::ZiCiForecastingReset(int keep) {
  m_bForecastShown = 0;
  if (!keep) {
    m_arrForecast.RemoveAll();
    m_strForecastHistory.Empty();
  }
  EngineHost().ShowZiCiForecastPane(0);
  if (!keep) lastIdxDB = lastIdxRule = lastSubRule = -1;
  return 1;
}

int CChnChars::EnterForecast(unsigned long window, int item) {
  m_strTip.Empty();
  m_arrForecastReSel.RemoveAll();
  const int n = m_arrForecast.GetSize();
  if (n == 0) return 0;
  if (n > 1) m_arrForecastReSel = m_arrForecast;
  const int index = item < n ? (item < 0 ? 0 : item) : n - 1;
  const CString text = m_arrForecast[index];
  ResetChnInput(1, 0, 1);
  ZiCiForecastingReset(1);
  m_bForecastCommitting = 1;
  SendChnChar2HwndDirect(window, text, text.GetLength(), 0, 0);
  m_bForecastCommitting = 0;
  if (m_arrForecast.GetSize() >= 2) {
    m_nReSelIndex = index;
    m_hReSelWnd = window;
    InitReSelectionPos(window);
    m_nReSelState = 99;
  } else {
    m_nReSelIndex = -1;
  }
  return 1;
}
