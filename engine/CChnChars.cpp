#include "engine/CChnChars.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "engine/EngineHost.h"

// The engine. Its member objects are constructed here; InitFirst sets the
// rest. Written and read by the front end, the XIM glue, the edit controls
// and the engine itself.
CChnChars dictionary;
// Written by InitDictionary and CloseDictionary; read by InitFirst.
int gbInitDone = 0;
// Written by the stroke filters (InitBiHuaKeys); read by the key handler.
const char* gszBiHuaMa = "-=[];";
// Written by the fuzzy-pinyin helpers; read by the lookups.
CString strFuzzyPy1stChar;

namespace {

// Records per pool block of every map of the engine.
constexpr int kMapBlock = 16;
using AbstractMap = AMap<CString, const char*, CStringArray, CStringArray&>;
using VModeKeyList = AList<typVModeKey2Index, typVModeKey2Index&>;
using ForecastKeyMap = AMap<unsigned short, unsigned short, CDWordArray, CDWordArray&>;

bool FileExists(const CString& path) { return access(path, F_OK) == 0; }

template <class T>
void FreeBuffer(T*& p) {
  free(p);
  p = nullptr;
}

}  // namespace

CChnChars::CChnChars()
    : m_pBusyMarker(nullptr),
      m_pKey2ChsDic2(nullptr),
      m_bUseCh2KeysPY(0),
      m_listVModeKeys{VModeKeyList(kMapBlock), VModeKeyList(kMapBlock), VModeKeyList(kMapBlock),
                      VModeKeyList(kMapBlock)},
      m_mapBiHua(kMapBlock),
      m_abstracts{AbstractMap(kMapBlock), AbstractMap(kMapBlock)},
      m_forecastKeys{ForecastKeyMap(kMapBlock), ForecastKeyMap(kMapBlock),
                     ForecastKeyMap(kMapBlock), ForecastKeyMap(kMapBlock),
                     ForecastKeyMap(kMapBlock), ForecastKeyMap(kMapBlock)},
      m_mapDepend2(kMapBlock),
      m_mapDepend1(kMapBlock) {
  // Every pointer member starts null so that a CloseDictionary without
  // InitFirst releases nothing; InitFirst sets the rest.
  m_pCiZuIdx[0] = m_pCiZuIdx[1] = nullptr;
  m_pCiZuFlat = nullptr;
  m_pZiIdx2Keys[0] = m_pZiIdx2Keys[1] = nullptr;
  m_pCiZuIdx2Keys[0] = m_pCiZuIdx2Keys[1] = nullptr;
  m_pShouZiMuIdx = nullptr;
  m_pShouZiMuIdx2Keys = nullptr;
  m_pKey2Chs[0] = m_pKey2Chs[1] = nullptr;
  m_pPyFlat = nullptr;
  m_pGbk2Big5 = m_pBig5Gbk = nullptr;
  m_bGbk2Big5Failed = m_bBig5GbkFailed = 0;
  m_mapBiHua.m_nTextHash = 1;
  m_abstracts[0].m_nTextHash = 1;
  m_abstracts[1].m_nTextHash = 1;
  m_lastCommit.kind = kFatNone;
  m_reSelItem.kind = kFatNone;
  // The rule base outlives InitFirst's state reset: only its own load and
  // unload change this.
  m_bForecastLoaded = 0;
  ResetState();
}

CChnChars::~CChnChars() = default;

void CChnChars::ResetState() {
  m_bCiZuIdxDirty[0] = m_bCiZuIdxDirty[1] = 0;
  m_bCiZuFlatDirty = 0;
  m_bCiZuFlatRefused = 0;
  m_tmCiKuChanged = 0;
  m_nCiZuIdxEntryLen[0] = m_nCiZuIdxEntryLen[1] = 3;
  m_nCiZuFlatLen = 0;
  m_nCiZuIdxLen[0] = m_nCiZuIdxLen[1] = 0;
  m_nShouZiMuIdxLen = 0;
  m_nKey2ChsLen[0] = m_nKey2ChsLen[1] = 0;
  m_nPyFlatEntryLen = 2;
  m_nPyFlatLen = 0;
  m_bPyFlatDirty = 0;

  m_nInsertPt = 0;
  m_tmKeySeqBak = 0;
  m_lastCommit = typCharFatFmt();
  m_lastCommit.kind = kFatNone;
  m_nPageSize = ClampedCandidatesShown(cfgInputManager);

  for (int s = 0; s < 2; ++s) m_nRows[s] = m_nRowsMaxMatch[s] = m_nRowsMinDist[s] = 0;
  m_nSegOutcome = m_nSegRows = m_nSegMaxMatch = m_nSegMinDist = 0;
  m_bTryNumCizu = 0;
  m_bSoleCandMapHit = 0;
  m_nSkippedKeys = 0;
  m_nTipCountdown = 0;
  m_tTipTime = 0;
  m_bChoicesFound = m_bTailRetryHit = m_bPrefixOnly = 0;
  m_bSegDisplay = m_nExactHits = m_bOneBestSplit = m_nLeadChoices = 0;
  m_bLongCiInExact = m_bLookAheadHit = 0;
  m_chLookAheadKey = 0;
  m_nApostrophes = 0;

  m_nReSelState = m_nReSelIndex = -1;
  m_hReSelWnd = 0;
  m_bKeepReSelection = 0;
  m_reSelItem = typCharFatFmt();
  m_reSelItem.kind = kFatNone;
  m_nEdtCommitRow = m_nEdtCommitCol = -1;

  m_nZuCiMode = m_nZuCiCurSeg = 0;
  m_nInsertDirChanges = 0;
  m_nInsertLastDir = 0;
  m_bReplayingKey = 0;
  m_nPendingCiMethod = 0;
  m_nNewCiQueueMethod = 0;
  m_arrNewCiQueue.RemoveAll();
  m_bShouZiMuIdxDirty = 0;
  m_bDependDirty = 0;
  m_bDependRefused[0] = m_bDependRefused[1] = 0;
  m_tmPyFlatChanged = 0;
  m_tmLastSaveFailed = 0;
  m_tmNewCiQueued = 0;

  m_bAlt = m_bCtrl = m_bShift = 0;
  m_nXState = 0;
  memset(m_szKeyText, 0, sizeof m_szKeyText);

  memset(&m_fwdEvent, 0, sizeof m_fwdEvent);
  m_nKeyFlags = 0;
  m_nLastKey = m_nPrevKey = 0;
  m_bLeftAlt = m_bAltAlone = 0;
  m_bChnNum = m_bChnNumFanTi = 0;
  m_bDoubleQuoteOpen = m_bSingleQuoteOpen = 1;
  m_nCurPage = 0;
  m_bIMode = 0;
  m_tmEngKey = 0;
  m_bEngTipShown = 0;
  m_nEngineMissing = kBothInstalled;
  m_bModalBox = 0;
  m_pModalBox = nullptr;
  m_bPyLookup = 0;

  m_bForecastShown = 0;
  m_nForecastMatchEnd = -1;
  m_bForecastCommitting = 0;
  m_curPriorId = 0;
  std::memset(m_priorIds, 0, sizeof m_priorIds);
  m_nFccDepth = 0;
  m_nFccSteps = 0;

  m_strEngKeys.Empty();
  m_strPendingCi.Empty();
}

void CChnChars::BuildPaths() {
  const CString dir(EngineHost().DataDir());
  m_strCiZuFlatPath = dir + "CiZuFlat.igb";
  m_strCiZuIdxPath[kXingMa] = dir + "pxcizudic.idx";
  m_strCiZuIdxPath[kPinYin] = dir + "pycizudic.idx";
  m_strGbkFlatPath = dir + "gbkflat.dic";
  m_strFlatAdjustPath = dir + "flatAdjust.dic";
  m_strFlatAutoPath = dir + "flatAuto.dic";
  m_strPyKeysPath = dir + "pykeys.dic";
  m_strDepend1Path = dir + "depend1.map";
  m_strDepend2Path = dir + "depend2.map";
  m_strShouZiMuIdxPath = dir + "py2_3ZiCi1stZuMu.idx";
}

void CChnChars::DecideInstalledMethods() {
  // A method whose phrase index file is absent is not installed for the
  // whole run, whatever the profile says.
  if (!FileExists(m_strCiZuIdxPath[kXingMa])) {
    m_nEngineMissing = kXingMaMissing;
    cfgInputManager.InputMthd = kPinYin;
    cfgInputManager.useCizu = 1;
  } else if (!FileExists(m_strCiZuIdxPath[kPinYin])) {
    m_nEngineMissing = kPinYinMissing;
    cfgInputManager.InputMthd = kXingMa;
  } else {
    m_nEngineMissing = kBothInstalled;
  }
}

void CChnChars::InitFirst() {
  if (gbInitDone == 1) return;
  // A profile may hold any page size; the dialogs offer 2 to 10, and the
  // paging arithmetic divides by it.
  cfgInputManager.NumberOfCandidatesShown = ClampedCandidatesShown(cfgInputManager);
  if (!m_pKey2ChsDic2) m_pKey2ChsDic2 = new AMapStringToString(kKey2ChsDic2Block);
  ReleaseAll();
  ResetState();
  BuildPaths();
  DecideInstalledMethods();
  ClearZuCiMode();
}

void CChnChars::LoadCurrentCiZuIdx() {
  if (cfgInputManager.IsPinYinMethod()) {
    (void)LoadKey2IdxIntoCizuDic(kPinYin, 1);
  } else if (cfgInputManager.useCizu != 0) {
    cfgInputManager.useCizu = LoadKey2IdxIntoCizuDic(kXingMa, 1);
  }
}

void CChnChars::InitDictionary() {
  const bool xingMa = m_nEngineMissing != kXingMaMissing;
  const bool pinYin = m_nEngineMissing < kPinYinMissing;
  cfgInputManager.NumberOfCandidatesShown = ClampedCandidatesShown(cfgInputManager);
  m_nPageSize =
      cfgInputManager.IsPinYinMethod() ? cfgInputManager.NumberOfCandidatesShown : kXingMaPageSize;
  if (xingMa) LoadChn2KeyMapPX();
  if (pinYin) {
    LoadChn2KeyMapPY();
    LoadChn2KeyMapPYOld();
  }
  SavePyDic();
  InitKey2ChsDicPY();
  InitKey2ChsDicPX();
  if (xingMa) InitKey2ChsDic2FromBinary();
  InitCh2UsageDic(0);
  InitAdjcntCharPairs();

  ReleaseCiZuIdx(kXingMa);
  ReleaseCiZuIdx(kPinYin);
  ReleaseCiZuFlat();
  (void)LoadFlatCizuDic();
  if (cfgInputManager.InputMode == kChineseInput) LoadCurrentCiZuIdx();

  if (pinYin) {
    Load1KeyPyDic();
    (void)Load_mapShouZiMuKeyTo2_3Ci();
    LoadBihaKuOrPingZheKuFromBin(1);
  }
  LoadCharDependencyFiles();
  ForecastDBLoadUnload();
  InitNumUnitWords();
  m_bCiZuIdxDirty[0] = m_bCiZuIdxDirty[1] = 0;
  m_bCiZuFlatDirty = 0;
  m_bShouZiMuIdxDirty = 0;
  m_tmCiKuChanged = 0;
  if (pinYin) {
    InitBiHuaKeys();
    InitVModeDic();
  }
  m_bAlt = m_bCtrl = m_bShift = 0;
  gbInitDone = 1;
}

int CChnChars::ReLoadCizuDics(int withStore) {
  // Learned weights and added phrases still in the indexes are written
  // before the indexes are dropped. When that save fails, the indexes stay
  // as they are (also in English input): reloading them from the files
  // would lose what was learned; the idle work tries the save again.
  if (SaveCiKuDirtyData() < 0) return 1;
  ReleaseCiZuIdx(kXingMa);
  ReleaseCiZuIdx(kPinYin);
  if (withStore) ReleaseCiZuFlat();
  if (cfgInputManager.InputMode != kChineseInput) return 1;
  if (!withStore) {
    AddNewCiArrayToCiKu();
    SaveCiKuDirtyData();
  } else {
    (void)LoadFlatCizuDic();
  }
  LoadCurrentCiZuIdx();
  return 1;
}

void CChnChars::ReleaseAll() {
  FreeBuffer(m_pPyFlat);
  m_nPyFlatLen = 0;
  for (int m = 0; m < 2; ++m) {
    FreeBuffer(m_pZiIdx2Keys[m]);
    ReleaseCiZuIdx(static_cast<typInputMethod>(m));
    FreeBuffer(m_pKey2Chs[m]);
    m_nKey2ChsLen[m] = 0;
  }
  if (m_pKey2ChsDic2) m_pKey2ChsDic2->RemoveAll();
  // The per-character tables go too, so that a restart with a method
  // missing finds none of that method's tables left from before.
  m_mapCh2Usage.RemoveAll();
  m_mapCh2KeysPX.RemoveAll();
  m_mapCh2PYs.RemoveAll();
  m_charIsCommon.clear();
  m_mapCh2KeysPY.RemoveAll();
  m_mapCh2PYsDiaoInOrder.RemoveAll();
  for (CString& s : m_str1KeyPy) s.Empty();
  ReleaseCiZuFlat();
  FreeBuffer(m_pShouZiMuIdx);
  m_nShouZiMuIdxLen = 0;
  FreeBuffer(m_pShouZiMuIdx2Keys);
}

void CChnChars::CloseDictionary() {
  if (!m_strPendingCi.IsEmpty()) {
    m_strPendingCi += m_strPendingCiTail;
    CString phrase = m_strPendingCi;
    AddToCiKu(phrase.GetBuffer(phrase.GetLength()), m_nPendingCiMethod, 0, -1);
    phrase.ReleaseBuffer();
    m_strPendingCi.Empty();
  }
  AddNewCiArrayToCiKu();
  SaveCiKuDirtyData();
  SavePyDic();
  ReleaseAll();
  // The map is deleted through its own, most derived type.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdelete-non-virtual-dtor"
  delete m_pKey2ChsDic2;
#pragma GCC diagnostic pop
  m_pKey2ChsDic2 = nullptr;
  UnloadGbk2Big5Dic();
  UnloadBig5GbkDic();
  UnloadForecastDB();
  gbInitDone = 0;
}
