#include "frontend/BarCommands.h"

#include <cstdio>

#include "base/CString.h"
#include "engine/CChnChars.h"
#include "engine/FrameCommands.h"
#include "engine/InputSettings.h"
#include "framework/CWinApp.h"
#include "framework/UIStrings.h"
#include "frontend/BarDialogs.h"
#include "frontend/BarKeys.h"
#include "frontend/BarWorld.h"
#include "frontend/CMainFrame.h"
#include "frontend/CMdiApp.h"
#include "frontend/CommandIds.h"
#include "frontend/MainBar.h"
#include "frontend/Settings.h"

const char kMsgNewWordsHelp[] =
    "When you input new word using ZuCi method,the new word will be entered in dictionary "
    "automatically.To enter new word:type in new word's complete PinYin, then type <Enter>.";
const char kMsgTypeVOrAltF[] = "Please type v or Alt+F.";
const char kMsgTypeAltF[] = "Please type Alt+F.";
const char kMsgLexiconUnsaved[] =
    "The lexicon could not be saved, so the input method was not changed. Your new words are "
    "kept; please check the disk and try again.";
const char kMsgKeymapStatus[] = "ShengDiao/BiHua Keys Distribution";

namespace {

// 请敲数字键.字母 O 输 Ｏ；数字 0 输 十。 (GBK)
const char kChnNumFanTiTip[] =
    "\xC7\xEB\xC7\xC3\xCA\xFD\xD7\xD6\xBC\xFC.\xD7\xD6\xC4\xB8 O \xCA\xE4 \xA3\xCF\xA3\xBB\xCA\xFD"
    "\xD7\xD6 0 \xCA\xE4 \xCA\xAE\xA1\xA3";

// ---- The engine's own operations.

void OnInputMDChangeOp(int onlyMode) { dictionary.OnInputMDChange(onlyMode); }
int MakeCapHitEvenOp(int a, int b, int c) { return dictionary.MakeCapHitEven(a, b, c); }
int SetChnNumModeOp() { return dictionary.SetChnNumMode(); }
// What a reload of the phrase indexes would drop is saved: the store and
// the indexes. (The queue of new phrases stays in memory across a reload.)
bool FileLexiconOp() {
  CChnChars& d = dictionary;
  d.AddNewCiArrayToCiKu();
  d.SaveCiKuDirtyData();
  return d.m_tmCiKuChanged == 0 && !d.m_bCiZuFlatDirty && !d.m_bCiZuIdxDirty[kXingMa] &&
         !d.m_bCiZuIdxDirty[kPinYin] && !d.m_bShouZiMuIdxDirty;
}

void InitBiHuaKeysOp() { dictionary.InitBiHuaKeys(); }
void SavePyDicOp() { dictionary.SavePyDic(); }
void InitKey2ChsDicPYOp() { dictionary.InitKey2ChsDicPY(); }
void ForecastDBLoadUnloadOp() { dictionary.ForecastDBLoadUnload(); }
void ZiCiForecastingResetOp(int keep) { dictionary.ZiCiForecastingReset(keep); }
void SetPageSizeOp(int size) { dictionary.m_nPageSize = size; }

CommandEngineOps g_engineOps = EngineCommandOps();

IBarWorld& World() { return *BarWorld(); }

bool ChineseInput() { return cfgInputManager.InputMode == kChineseInput; }

void ResetInput() { GetBarEngineOps().resetChnInput(1, 0, 1); }

// The status message while the keymap is shown: under a Chinese UI its
// [UI_STR] translation when there is one, looked up at the first showing
// and kept for the run.
const char* KeymapStatusText() {
  static const CString text =
      cfgInputManager.ChnUI != 0 ? LoadStringChn(kMsgKeymapStatus, 1) : CString(kMsgKeymapStatus);
  return text;
}

void OpenGuideAndReset(const char* fileName) {
  World().OpenGuide(fileName);
  ResetInput();
}

// ---- The command table.

enum : uint8_t {
  kChnOnly = 1,   // does nothing in English input
  kMenu = 2,      // then ChangeMenuState (saves the profile)
  kRepaint = 4,   // then the bar is repainted
  kOpensBox = 8,  // opens a message box or a menu (a modal loop of its own)
};

struct CommandCtx {
  CMainFrame& frame;
  CMdiApp& app;
};

struct CommandEntry {
  uint32_t id;
  uint8_t marks;
  void (*run)(CommandCtx&);
};

// The engine posts these ids itself (engine/FrameCommands.h); the table must
// answer the same numbers.
static_assert(kCmdToggleInputMode == framecmd::kToggleInputMode, "engine's mode toggle");
static_assert(kCmdClearInput == framecmd::kClearInput, "engine's clear input");
static_assert(kCmdAltA == framecmd::kAltA, "engine's right Alt+A");

const CommandEntry kCommands[] = {
    {kCmdToggleInputMode, kMenu | kRepaint, [](CommandCtx& c) { c.frame.OnInputmodeToggle(); }},
    {kCmdHelpMenu, kOpensBox, [](CommandCtx&) { World().RaiseMenu(2); }},
    {kCmdAbout, kOpensBox, [](CommandCtx& c) { c.app.OnAppAbout(); }},
    {kCmdPrefsMenu, kOpensBox, [](CommandCtx&) { World().RaiseMenu(1); }},
    {kCmdPrintKeymap, 0, [](CommandCtx& c) { c.frame.OnPrintkeymap(); }},
    {kCmdKeymap, kChnOnly | kMenu | kRepaint | kOpensBox,
     [](CommandCtx& c) { c.frame.OnShowkeymap(); }},
    {kCmdRepeatLast, 0, [](CommandCtx& c) { c.frame.OnRepeatlastchnchar(); }},
    {kCmdChnNumber, kMenu | kRepaint, [](CommandCtx& c) { c.frame.OnInputChnnum(); }},
    {kCmdChnNumberFanTi, kMenu | kRepaint, [](CommandCtx& c) { c.frame.OnInputChnnumFanti(); }},
    {kCmdGuide, 0, [](CommandCtx& c) { c.frame.OnReadme2(); }},
    {kCmdChnPunct, kChnOnly | kMenu | kRepaint,
     [](CommandCtx& c) { c.app.OnOptionChnpunctuation(); }},
    {kCmdReadme, 0, [](CommandCtx& c) { c.frame.OnReadme3(); }},
    {kCmdKvrGuide, 0, [](CommandCtx& c) { c.frame.OnReadme4(); }},
    {kCmdUiEnglish, kMenu, [](CommandCtx& c) { c.app.OnChgUi(); }},
    {kCmdTips, kOpensBox, [](CommandCtx& c) { c.frame.OnAppTips(); }},
    {kCmdMainMenu, kOpensBox, [](CommandCtx&) { World().RaiseMenu(0); }},
    {kCmdClearInput, 0, [](CommandCtx& c) { c.frame.OnClearinputbuffer(); }},
    // The menu and the bar follow an accepted dialog only (OnInputoptions).
    {kCmdInputOptions, kOpensBox, [](CommandCtx& c) { c.frame.OnInputoptions(); }},
    {kCmdToggleInputMethod, kChnOnly | kMenu | kRepaint | kOpensBox,
     [](CommandCtx& c) { c.frame.OnToggleInputmethod(); }},
    {kCmdFanTi, kMenu | kRepaint, [](CommandCtx& c) { c.frame.OnFanTiJianTiToggle(); }},
    {kCmdPhraseBuilding, kChnOnly | kMenu, [](CommandCtx& c) { c.frame.OnInputmthdCizu(); }},
    {kCmdSlideShow, 0, [](CommandCtx& c) { c.frame.OnSlideshow(); }},
    {kCmdReSelect, 0, [](CommandCtx& c) { c.app.OnViewCiReselect(); }},
    {kCmdShowBar, 0, [](CommandCtx&) { ActivatePlatform(); }},
    {kCmdHideBar, 0, [](CommandCtx&) { MakeSleepPlatform(); }},
    {kCmdFullWidth, kChnOnly | kMenu | kRepaint,
     [](CommandCtx& c) { c.app.OnOptionChnfullsize(); }},
    {kCmdHelpNewWords, kOpensBox, [](CommandCtx&) { World().MessageBox(kMsgNewWordsHelp); }},
    {kCmdDelayedReset, 0,
     [](CommandCtx&) {
       World().Sleep(1);
       ResetInput();
     }},
    {kCmdAddSpace, kMenu, [](CommandCtx& c) { c.frame.OnAddspacetochn(); }},
    {kCmdUiSimplified, kMenu, [](CommandCtx& c) { c.app.OnChgUi1(); }},
    {kCmdUiTraditional, kMenu, [](CommandCtx& c) { c.app.OnChgUi2(); }},
    {kCmdBarStyle, kOpensBox, [](CommandCtx&) { RaiseDialog(114); }},
    {kCmdResetInput, 0, [](CommandCtx&) { ResetInput(); }},
    {kCmdHelpSymbols, kOpensBox,
     [](CommandCtx&) {
       const bool plainPinYin = cfgInputManager.IsPinYinMethod() && !cfgInputManager.ShuangPin;
       World().MessageBox(plainPinYin ? kMsgTypeVOrAltF : kMsgTypeAltF);
     }},
    {kCmdFindSaying, kOpensBox, [](CommandCtx& c) { c.frame.OnFindASaying(); }},
};

const CommandEntry* FindCommand(uint32_t id) {
  for (const CommandEntry& e : kCommands) {
    if (e.id == id) return &e;
  }
  return nullptr;
}

}  // namespace

const CommandEngineOps& EngineCommandOps() {
  static const CommandEngineOps ops = {
      OnInputMDChangeOp,      MakeCapHitEvenOp, SetChnNumModeOp,    FileLexiconOp,
      InitBiHuaKeysOp,        SavePyDicOp,      InitKey2ChsDicPYOp, ForecastDBLoadUnloadOp,
      ZiCiForecastingResetOp, SetPageSizeOp};
  return ops;
}
const CommandEngineOps& GetCommandEngineOps() { return g_engineOps; }
void SetCommandEngineOps(const CommandEngineOps& ops) { g_engineOps = ops; }

int OnBarCommand(uint32_t id) {
  const CommandEntry* entry = FindCommand(id);
  CMdiApp* app = dynamic_cast<CMdiApp*>(uniqueAFCAppPointer);
  if (!entry || !gpMainFrame || !app || !BarWorld()) return 1;
  if ((entry->marks & kChnOnly) && !ChineseInput()) return 1;
  CommandCtx ctx{*gpMainFrame, *app};
  entry->run(ctx);
  if (entry->marks & kMenu) World().ChangeMenuState();
  if (entry->marks & kRepaint) World().RepaintBar();
  return 1;
}

int RunCommandInOrder(uint32_t id) {
  const CommandEntry* entry = FindCommand(id);
  if (entry && !(entry->marks & kOpensBox)) return OnBarCommand(id);
  if (BarWorld()) World().PostCommand(id);
  return 1;
}

int ActivatePlatform() {
  IBarWorld* w = BarWorld();
  if (!w || w->IsBarShown()) return 1;
  if (!ChineseInput()) RunCommandInOrder(kCmdToggleInputMode);
  w->MapBar(true);
  return 1;
}

int MakeSleepPlatform() {
  IBarWorld* w = BarWorld();
  if (!w || !w->IsBarShown()) return 1;
  if (gpMainFrame) gpMainFrame->OnClearinputbuffer();
  if (ChineseInput()) RunCommandInOrder(kCmdToggleInputMode);
  w->MapBar(false);
  return 1;
}

// ---- CMainFrame's handlers.

void CMainFrame::OnInputmodeToggle() {
  typInputSettings& c = cfgInputManager;
  if (c.InputMode == kEnglishInput) {
    c.InputMode = kChineseInput;
  } else if (dictionary.m_bIMode) {
    RunCommandInOrder(kCmdClearInput);
    return;
  } else {
    c.InputMode = kEnglishInput;
  }
  g_engineOps.onInputMDChange(1);
  g_engineOps.makeCapHitEven(c.InputMode == kEnglishInput, 0, 0);
  if (BarWorld()) World().RepaintBar();
}

void CMainFrame::OnToggleInputmethod() {
  typInputSettings& c = cfgInputManager;
  if (dictionary.m_nEngineMissing != kBothInstalled) {
    World().MessageBox(c.IsXingMaMethod() ? "PinYin Not Installed!" : "XingMa Not Installed!");
    return;
  }
  // What the user taught the engine is filed under the method it was learned
  // in and saved before the phrase indexes are dropped and reloaded for the
  // other method; a lexicon that cannot be saved keeps the method as it is,
  // so the reload cannot throw the new words away.
  ResetInput();
  if (!g_engineOps.fileLexicon()) {
    World().MessageBox(kMsgLexiconUnsaved);
    return;
  }
  c.InputMthd = c.IsXingMaMethod() ? kPinYin : kXingMa;
  c.useCizu = 1;
  g_engineOps.onInputMDChange(0);
}

void CMainFrame::OnFanTiJianTiToggle() {
  typInputSettings& c = cfgInputManager;
  c.FanTi = !c.FanTi;
  c.ChnUI = c.FanTi ? 2 : 1;
  SetAppUiLang(c.ChnUI);
}

void CMainFrame::OnInputChnnum() { g_engineOps.setChnNumMode(); }

void CMainFrame::OnInputChnnumFanti() {
  if (!ChineseInput()) return;
  CChnChars& d = dictionary;
  d.m_bChnNumFanTi = !d.m_bChnNumFanTi;
  if (d.m_bChnNumFanTi) {
    d.m_bChnNum = 0;
    ResetInput();
    d.ForgetLastCommit();
  }
  SetChnNumModeUsingRdOnlyPane();
  d.m_strTip = d.m_bChnNumFanTi ? kChnNumFanTiTip : "";
  World().ShowTipMsg(d.m_strTip);
}

void CMainFrame::OnInputmthdCizu() {
  typInputSettings& c = cfgInputManager;
  c.useCizu = c.IsXingMaMethod() ? !c.useCizu : 1;
}

void CMainFrame::OnAddspacetochn() {
  cfgInputManager.AddSpaceInOutput = !cfgInputManager.AddSpaceInOutput;
}

void CMainFrame::OnClearinputbuffer() { ResetInput(); }

void CMainFrame::OnShowkeymap() {
  IBarWorld& w = World();
  bool shown;
  if (m_pKeymap) {
    shown = !w.IsWindowShown(*m_pKeymap);
    w.ShowWindow(*m_pKeymap, shown);
  } else {
    m_pKeymap = w.MakeKeymap(this);
    shown = m_pKeymap && w.IsWindowShown(*m_pKeymap);
  }
  w.ShowTipMsg(shown ? KeymapStatusText() : "");
}
void CMainFrame::OnAppTips() {
  typInputSettings& c = cfgInputManager;
  int32_t fields[kTipsFieldCount] = {};
  fields[kTipsAtStart] = c.TipAtStart;
  fields[kTipsNum] = c.TipNum;
  const int result = World().RunDialog(kDlgTips, fields, kTipsFieldCount);
  // The tip shown stays the last one shown, however the dialog ends; the
  // profile gets both with its next save.
  c.TipNum = fields[kTipsNum];
  if (result == 1) c.TipAtStart = fields[kTipsAtStart];
}
void CMainFrame::OnFindASaying() {
  IBarWorld* world = BarWorld();
  if (!world) return;
  gbDlgUp = 1;
  world->RunDialog(kDlgFindSaying, nullptr, 0);
  gbDlgUp = 0;
}

void CMainFrame::OnReadme2() { OpenGuideAndReset("kivraguide.htm"); }
void CMainFrame::OnReadme3() { OpenGuideAndReset("readme2.igb"); }
void CMainFrame::OnReadme4() { OpenGuideAndReset("KVRGUIDE.HTM"); }

void CMainFrame::OnInputmodeChn() {
  cfgInputManager.InputMode = kChineseInput;
  g_engineOps.onInputMDChange(1);
  g_engineOps.makeCapHitEven(0, 0, 0);
}

void CMainFrame::OnInputmodeEnglish() {
  cfgInputManager.InputMode = kEnglishInput;
  g_engineOps.onInputMDChange(1);
  g_engineOps.makeCapHitEven(1, 0, 0);
}

void CMainFrame::OnInputmthdXingMa() {
  cfgInputManager.InputMthd = kXingMa;
  cfgInputManager.useCizu = 1;
  g_engineOps.onInputMDChange(0);
}

void CMainFrame::OnInputmthdPinyin() {
  cfgInputManager.InputMthd = kPinYin;
  cfgInputManager.StdPinYin = 1;
  cfgInputManager.useCizu = 1;
  g_engineOps.onInputMDChange(0);
}

// ---- CMdiApp's handlers.

void CMdiApp::OnOptionChnpunctuation() {
  cfgInputManager.UseChnPunctMark = !cfgInputManager.UseChnPunctMark;
}

void CMdiApp::OnOptionChnfullsize() { cfgInputManager.FullSize = !cfgInputManager.FullSize; }

void CMdiApp::OnChgUi() {
  cfgInputManager.ChnUI = 0;
  SetAppUiLang(0);
}

void CMdiApp::OnChgUi1() {
  cfgInputManager.ChnUI = 1;
  SetAppUiLang(1);
}

void CMdiApp::OnChgUi2() {
  cfgInputManager.ChnUI = 2;
  SetAppUiLang(2);
}

void CMdiApp::OnViewCiReselect() { GetBarEngineOps().processKeyMsg(kKeyWithAlt, '-', 0); }
