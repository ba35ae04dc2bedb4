// CChnChars.h: the input engine, one object: the global `dictionary`.
//
// The object owns every dictionary, index and table in memory for the whole
// run, the typed keys, the candidates, the state of every sub-mode, the key
// record that the front end or an edit control fills before each key, and
// the copy of the last forwarded XIM key request. It has no base class and
// no virtual operations. Its members are grouped as the concepts that use
// them; each group names the header whose loader or operation fills it.
//
// Life cycle: the front end loads cfgInputManager, calls InitFirst and then
// InitDictionary once, ForecastDBLoadUnload after its option dialog, and
// CloseDictionary at exit (which kvr normally never reaches: it ends by a
// signal). Everything the engine needs of the world (panes, commits,
// beeps, clocks, the data directory) goes through IEngineHost
// (engine/EngineHost.h).
//
// Ownership: every byte buffer a pointer member holds comes from the C
// allocator (malloc/realloc) and is freed with free(): the lexicon writer
// grows the phrase indexes in place and the character-order dialog hands
// over a new pinyin character list (AdoptPyFlat). Each buffer read from a
// file is followed by kPadBytes zero bytes, so scans stop at a zero byte
// without a length test. Released pointers are set to null.
//
// Members of later parts of the engine (the ranked rows, the phrase-building
// segments, the lexicon queue, the number-phrase units, the stroke table,
// the V-mode keys and the forecast rules) are declared by the headers of
// those parts and added here by them.
#pragma once

#include <cstdint>

#include "engine/ChnCharReadings.h"
#include "engine/FwdEvent.h"
#include "engine/InputSettings.h"
#include "engine/PhraseStoreFormat.h"
#include "engine/internal/FrameworkTypes.h"
#include "engine/tagE_Dist.h"
#include "engine/typCharFatFmt.h"

// Zero bytes after each buffer loaded from a file.
constexpr int kPadBytes = static_cast<int>(phrasestore::kPaddingBytes);
// Buckets of a two-key table: 50 ordinals of a first key character times 50
// of a second.
constexpr int kTwoKeyOrdinals = 50;
constexpr int kTwoKeyBuckets = kTwoKeyOrdinals * kTwoKeyOrdinals;
// Kinds of BuildIdx2KeysInDic.
enum : int { kIdxZiKeys = 0, kIdxCiZu = 1, kIdxShouZiMu = 2 };
// Values of m_nEngineMissing.
enum : int { kBothInstalled = 0, kXingMaMissing = 1, kPinYinMissing = 2 };
// One-key lists of py_1key.dic: letters 'b' to 'z'.
constexpr int kOneKeyLetters = 25;
// Records per pool block of the sole-candidate map of chndic2.bin.
constexpr int kKey2ChsDic2Block = 4000;
// Bytes of the key text of the key record.
constexpr int kKeyTextBytes = 256;

class CChnChars {
 public:
  CChnChars();
  ~CChnChars();  // destroys member objects only; see CloseDictionary
  CChnChars(const CChnChars&) = delete;
  CChnChars& operator=(const CChnChars&) = delete;

  // ---- Life cycle (CChnChars.cpp)
  // One-time set-up: paths, state, which input methods are installed. Does
  // nothing while gbInitDone is 1.
  void InitFirst();
  // Loads every dictionary of the installed methods; sets gbInitDone.
  void InitDictionary();
  // Loads or unloads the forecast data to follow useZiCiForecast.
  void ForecastDBLoadUnload();
  // Drops the phrase indexes (and with withStore the phrase store) and loads
  // what the current mode and method need; always 1.
  int ReLoadCizuDics(int withStore);
  // Files pending phrases, saves the lexicon and the learned order, releases
  // every buffer; gbInitDone 0.
  void CloseDictionary();

  // ---- Phrase store and phrase indexes (CiZuDic.cpp)
  [[nodiscard]] int LoadFlatCizuDic();
  [[nodiscard]] int LoadKey2IdxIntoCizuDic(typInputMethod method, int buildTable);
  [[nodiscard]] int Load_mapShouZiMuKeyTo2_3Ci();
  // Releases a phrase index, its two-key table, the store (each sets its
  // length to 0 and its pointer to null).
  void ReleaseCiZuIdx(typInputMethod method);
  void ReleaseCiZuFlat();

  // ---- Two-key tables (Idx2Keys.cpp)
  int BuildIdx2KeysInDic(int kind, typInputMethod method);
  static short GetKeyOrdinalNum(char c);
  static int GetArrPosForIndexVal(const char* key);

  // ---- Character dictionaries and pinyin lists (ChnCharDics.cpp,
  // PyCharList.cpp)
  int InitKey2ChsDicPX();
  int InitKey2ChsDicPY();
  int SavePyDic();
  int GetPyDicExt(CString& ext);
  int LoadChn2KeyMapPY();
  int LoadChn2KeyMapPX();
  int LoadChn2KeyMapPYOld();
  int InitKey2ChsDic2FromBinary();
  int InitCh2UsageDic(int unused);
  int Load1KeyPyDic();
  // Takes over buf (malloc'ed, nBytes of character list) as the pinyin
  // character list, releasing the old one; the character-order dialog calls
  // it with the manual order it has just written. Entries are 2 bytes.
  void AdoptPyFlat(unsigned char* buf, uint32_t nBytes);
  // The number of characters of m_pPyFlat.
  uint32_t PyFlatChars() const;

  // ---- Hooks of later parts, called by the life cycle. Each is defined by
  // the part that owns it.
  void ClearZuCiMode();
  void InitAdjcntCharPairs();
  void LoadBihaKuOrPingZheKuFromBin(int which);
  void LoadCharDependencyFiles();
  int LoadForecastDB();
  int UnloadForecastDB();
  void InitNumUnitWords();
  void InitBiHuaKeys();
  int InitVModeDic();
  int AddNewCiArrayToCiKu();
  int SaveCiKuDirtyData();
  int AddToCiKu(char* phrase, int method, int unused, int offset);
  int UnloadGbk2Big5Dic();
  int UnloadBig5GbkDic();
  int GenerateFuzzyPyDic(CString flatPath, CString suffix);

  // ---- Lookup: key strings to candidates (Lookup0.cpp, LookupExact.cpp,
  // ReverseLookup.cpp, PrefixSearch.cpp, PrefixTiers.cpp, RankedRows.cpp,
  // WildcardSearch.cpp), fuzzy pinyin (FuzzyPinyin.cpp, FuzzyPyDic.cpp) and
  // ShuangPin (ShuangPin.cpp). Each fills the list it is given and leaves
  // its side results in the members below until the next lookup.
  int Lookup0(CString key, AArray<typCharFatFmt, typCharFatFmt&>& out, int showTip, int ignored,
              int noExact);
  int LookupExact(CString key, AArray<typCharFatFmt, typCharFatFmt&>& out, int what);
  int LookupExactHelper(CString key, AArray<typCharFatFmt, typCharFatFmt&>& out, int mode,
                        typInputMethod method);
  void SortAndRemoveRareChar(AArray<typCharFatFmt, typCharFatFmt&>& list);
  int GetKeysByChar(const char* ch, CStringArray& keys, int method);
  CString GetPY1stChar(const char* ch);
  int GetPyCharsCountAndIndexInGbkFlat(const char* syllable, long& count, long& start);
  int GetKeyNCharsByChar(const char* ch, CString& key, CString& chars);
  int Lookup_PrefixOk(CString key, AArray<typCharFatFmt, typCharFatFmt&>& out, int ignored,
                      int noExact);
  int LookupFuzzySegment(CString seg, AArray<typCharFatFmt, typCharFatFmt&>& list,
                         AMapStringToPtr& seen, AMapStringToPtr& mine, int method);
  int Lookup_PrefixOkHelper(CString& key, int set, AMapStringToPtr& seen, int budget);
  void MergeRowSets(int keyLen, int budget);
  void SwapShortKeyRows(int keyLen);
  int LookUpWzWildCard(CString key, AArray<typCharFatFmt, typCharFatFmt&>& out);
  int LookUpWzWildCardHelper(CString pattern, AArray<typCharFatFmt, typCharFatFmt&>& out,
                             CStringArray& keys, int mode);
  int GetFuzziPyAllPossibleForms(const char* py, CStringArray& forms);
  int GetFuzziPyCommonFactor(const char* py, CString& common);
  int IsFuzzyPyCommonFactor(CString py, CString& partner, int& which);
  void GetFuzziPyAllPossibleForms_Cizu(const char* py, CStringArray& forms);
  void GetFuzziPyAllPossibleForms_CizuHelper(const char* py, int start, int len,
                                             CStringArray& forms);
  int GetCiPyClass(const char* py, int expectInitial);
  void ShuangPinGetYunMu_MS_ZR(char initialKey, char finalKey, CString& final);
  void ShuangPinGetYunMu_C_Star(char initialKey, char finalKey, CString& final);
  void ShuangPin2FullPinyin(CString& keys);
  CString MapToUniquePY(CString py);

  // ---- Services of later parts that the lookup calls (each defined by
  // the part that owns it; engine/internal/PendingLookupServices.cpp holds
  // the interim ones).
  int IsPYProper(const char* py);
  int GetNextInsertPt(const char* keys, short& point, int forward, int fine);
  int MapChnToKeysLookup(unsigned short ch, CStringArray& out, int method, int complete);
  int IsCommonChar(char* ch);
  int NumCizuMatch(CString key, AArray<typCharFatFmt, typCharFatFmt&>& out);
  int UnitCiMatch(CString key, AArray<typCharFatFmt, typCharFatFmt&>& out);

  // ==== Members. The busy marker must stay the first field: the front end
  // reads it as such. Nothing in this system sets it.
  void* m_pBusyMarker;

  // ---- Phrase store and phrase indexes (CiZuDic.cpp)
  unsigned char* m_pCiZuIdx[2];     // index file bytes as read (+pad); null
  int m_bCiZuIdxDirty[2];
  unsigned char* m_pCiZuFlat;       // store unscrambled (+pad); null
  int m_bCiZuFlatDirty;
  uint32_t m_tmCiKuChanged;         // time of the last unsaved change; 0
  CString m_strCiZuFlatPath;
  CString m_strCiZuIdxPath[2];
  uint16_t m_nCiZuIdxEntryLen[2];   // 3, or 4 for a weighted pinyin index
  uint32_t m_nCiZuFlatLen;
  uint32_t m_nCiZuIdxLen[2];
  uint32_t* m_pZiIdx2Keys[2];       // kTwoKeyBuckets offsets each; null
  uint32_t* m_pCiZuIdx2Keys[2];
  CString m_strShouZiMuIdxPath;
  uint32_t m_nShouZiMuIdxLen;
  unsigned char* m_pShouZiMuIdx;
  uint32_t* m_pShouZiMuIdx2Keys;

  // ---- Character dictionaries (ChnCharDics.cpp, PyCharList.cpp)
  AMapStringToString* m_pKey2ChsDic2;  // owned; created by InitFirst
  AMapWordToPtr m_mapCh2Usage;         // character -> rank (value, not pointer)
  AMap<unsigned short, unsigned short, CStringArray, CStringArray&> m_mapCh2KeysPX;
  AMap<unsigned short, unsigned short, typArrPYs, typArrPYs&> m_mapCh2PYs;
  AMap<unsigned short, unsigned short, CStringArray, CStringArray&> m_mapCh2KeysPY;
  int m_bUseCh2KeysPY;
  AMap<unsigned short, unsigned short, typArrPYsDiaoInOrder, typArrPYsDiaoInOrder&>
      m_mapCh2PYsDiaoInOrder;
  unsigned char* m_pKey2Chs[2];  // chdicres.bin, pykeys.dic (+pad); null
  uint32_t m_nKey2ChsLen[2];
  unsigned char* m_pPyFlat;      // pinyin character list (+pad); null
  int m_nPyFlatEntryLen;         // 2, or 3 with usage weights
  CString m_strGbkFlatPath, m_strFlatAdjustPath, m_strFlatAutoPath, m_strPyKeysPath;
  uint32_t m_nPyFlatLen;
  int m_bPyFlatDirty;
  CString m_str1KeyPy[kOneKeyLetters];

  // ---- Typed keys and the tables of the sub-modes
  CString m_strKeySeq;
  int16_t m_nInsertPt;
  CString m_strKeySeqBak;
  uint32_t m_tmKeySeqBak;
  typCharFatFmt m_lastCommit;  // kind kFatNone without a commit
  CString m_strPane2;
  int m_nPageSize;
  CString m_strNumCi;
  CStringArray m_arrWords;

  // ---- Lookup results and the shown list
  int m_nRows[2];
  int m_nRowsMaxMatch[2];
  int m_nRowsMinDist[2];
  int m_nSegOutcome;
  int m_nSegRows;
  int m_nSegMaxMatch;
  int m_nSegMinDist;
  int m_bTryNumCizu;
  AArray<typCharFatFmt, typCharFatFmt&> m_arrSegChoices;
  CString m_strRowKey[2][2][64];
  AArray<typCharFatFmt, typCharFatFmt&> m_arrRowCands[2][2][64];
  int m_bSoleCandMapHit;
  int m_nSkippedKeys;
  CString m_strTip;
  int m_nTipCountdown;
  uint32_t m_tTipTime;
  int m_bChoicesFound;
  int m_bTailRetryHit;
  CStringArray m_arrFuzzyForms;
  int m_bPrefixOnly;
  AArray<typCharFatFmt, typCharFatFmt&> m_arrChoices;
  CStringArray m_arrWildKeys;
  int m_bSegDisplay;
  int m_nExactHits;
  int m_bOneBestSplit;
  int m_nLeadChoices;
  int m_bLongCiInExact;
  int m_bLookAheadHit;
  char m_chLookAheadKey;
  int m_nApostrophes;
  tagE_Dist m_rows[3][kMaxRows];  // set 0, set 1, merged (RankedRows.cpp)
  AArray<tagE_Dist, tagE_Dist&> m_arrRowOrder;  // fuzzy pinyin: row per candidate

  // ---- Re-selection
  int m_nReSelState;            // -1 none
  int m_nReSelIndex;            // -1 none
  unsigned long m_hReSelWnd;    // X window of the last commit / edit control
  int m_bKeepReSelection;
  AArray<typCharFatFmt, typCharFatFmt&> m_arrReSelCands;
  typCharFatFmt m_reSelItem;
  int m_nEdtCommitRow;          // last commit into an edit control: row and
  int m_nEdtCommitCol;          // byte column (the editor reads them)

  // ---- Phrase building and the lexicon queue
  int m_nZuCiMode;
  int m_nZuCiCurSeg;
  CString m_strZuCiKeys;
  int m_nInsertDirChanges;
  int m_nInsertLastDir;
  int m_bReplayingKey;
  CString m_strPendingCi;
  CString m_strPendingCiTail;
  int m_nPendingCiMethod;
  int m_nNewCiQueueMethod;

  // ---- Key record: written by the front end or an edit control before
  // every ProcessKeyMsg.
  int m_bAlt;
  int m_bCtrl;
  int m_bShift;
  uint32_t m_nXState;           // the key's whole X modifier state
  char m_szKeyText[kKeyTextBytes];

  // ---- XIM request, key messages and modes
  typFwdEventView m_fwdEvent;   // last forwarded key request (front end)
  uint32_t m_nKeyFlags;
  int m_nLastKey;
  int m_nPrevKey;
  int m_bLeftAlt;
  int m_bAltAlone;
  int m_bChnNum;
  int m_bChnNumFanTi;
  int m_bDoubleQuoteOpen, m_bSingleQuoteOpen;
  int m_nCurPage;
  int m_bIMode;
  CString m_strEngKeys;
  uint32_t m_tmEngKey;
  int m_bEngTipShown;
  CStringArray m_arrVModeLines;
  int m_nEngineMissing;         // kBothInstalled, kXingMaMissing, kPinYinMissing
  int m_bModalBox;              // a modal engine box takes every key while
  void* m_pModalBox;            // both are set; this system never sets them
  int m_bPyLookup;              // right Alt+F in shape-code input

  // ---- Forecasting
  int m_bForecastShown;
  CString m_strForecastHistory;
  int m_nForecastMatchEnd;
  CStringArray m_arrForecast;
  CStringArray m_arrForecastReSel;
  AMap<CString, const char*, CStringArray, CStringArray&> m_abstracts[2];
  AMap<unsigned short, unsigned short, CDWordArray, CDWordArray&> m_forecastKeys[6];
  int m_bForecastCommitting;
  char m_curPriorId;

  // ---- Association and Big5
  AMap<unsigned long, unsigned long, CDWordArray, CDWordArray&> m_mapDepend2;
  AMap<unsigned short, unsigned short, CDWordArray, CDWordArray&> m_mapDepend1;
  CString m_strDepend2Path, m_strDepend1Path;
  unsigned char* m_pGbk2Big5;
  unsigned char* m_pBig5Gbk;

 private:
  void ResetState();
  void BuildPaths();
  void DecideInstalledMethods();
  void LoadCurrentCiZuIdx();
  void ReleaseAll();
  int LoadPyKeys(const CString& ext);
  bool MakePyFlatCopy(const CString& listPath, const CString& ext);
  void ReleasePyLists();
  void BoundPyKeysToList();

  // Where the pinyin character list in memory came from, and whether it is
  // the learned order: SavePyDic writes it back there, even after the
  // options changed the order or the fuzzy pairs.
  CString m_strPyFlatFile;
  int m_bPyFlatLearned = 0;
};

// The engine. Written and read by the front end, the XIM glue, the edit
// controls and the engine itself, all on the one thread.
extern CChnChars dictionary;
// 1 after InitDictionary, 0 after CloseDictionary.
extern int gbInitDone;
// The five stroke keys; "-=[];" at start (the stroke filters set it).
extern const char* gszBiHuaMa;
// The initials fuzzy pinyin currently pairs; empty at start.
extern CString strFuzzyPy1stChar;

// The C library's string comparison of two fixed-size key records, for
// qsort.
int compare0(const void* a, const void* b);
