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

#include <climits>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/AList.h"
#include "engine/FwdEvent.h"
#include "engine/InputSettings.h"
#include "engine/dics/CharCodeMaps.h"
#include "engine/dics/CharUsageRanks.h"
#include "engine/dics/ChnCharReadings.h"
#include "engine/dics/typBiHuaDistribution.h"
#include "engine/forecast/typForecastCell.h"
#include "engine/formats/PhraseStoreFormat.h"
#include "engine/internal/FrameworkTypes.h"
#include "engine/lexicon/CKeyZiPair.h"
#include "engine/lexicon/StoreCache.h"
#include "engine/lexicon/typCiZuRec.h"
#include "engine/lookup/tagE_Dist.h"
#include "engine/lookup/typNumUnitWord.h"
#include "engine/lookup/typVModeKey2Index.h"
#include "engine/typCharFatFmt.h"

struct ForecastTables;

// Types of ProcessKeyMsg.
enum : int { kAltReleasedAlone = 1, kKeyWithAlt = 2, kKeyPressNoAlt = 3, kKeyReleaseNoAlt = 4 };
// Keys of the US punctuation row (cPosToCharUS).
constexpr int kPunctRowKeys = 11;
// A key's place in the punctuation row (GetKeyContext).
struct typKeyContext {
  uint16_t layoutWord[2];  // always 0
  uint16_t keyPos;         // 0..10
};

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

class CandidateSeen;  // engine/lookup/CandidateSeen.h

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
  // Makes the pinyin character list listPath when no file is there, as the
  // loader does: a copy of gbkflat.dic, turned into its fuzzy form (with
  // its own pykeys.dic) for a nonempty suffix. 1 when the file is there
  // afterwards.
  int MakePyFlatIfMissing(const CString& listPath, const CString& suffix);
  // Whether path names the 2-byte character list the engine has loaded, so
  // that a new table for that file may be handed over with AdoptPyFlat.
  bool IsLoadedPyFlat(const CString& path) const;

  // ---- Hooks of later parts, called by the life cycle. Each is defined by
  // the part that owns it.
  void ClearZuCiMode();
  void InitAdjcntCharPairs();
  void LoadBihaKuOrPingZheKuFromBin(int which);
  void LoadCharDependencyFiles();
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
                         CandidateSeen& seen, CandidateSeen& mine, int method);
  int Lookup_PrefixOkHelper(CString& key, int set, CandidateSeen& seen, int budget);
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

  // ---- Candidate display (CandidateDisplay.cpp, FuzzyChoiceMerge.cpp,
  // ChoiceTips.cpp). After every change of the keys, the page or the
  // phrase-building state: looks m_strKeySeq up (keepList 0) or only lays
  // the current list out again (keepList nonzero, after a page key), fills
  // the pane globals and m_strPane2, composes the status tip and hands it
  // all to the host's panes. keepReSelection 0 closes the re-selection of
  // the last commit before a fresh lookup. m_strKeySeq is unchanged after.
  void ShowChoiceList(int keepList, int keepReSelection);
  // The fuzzy-pinyin lookup of prepared keys into m_arrChoices.
  void LookupFuzzyMerged(const CString& keys);
  // The status tip of one display from the prepared keys and pane text.
  void ComposeChoiceTip(const CString& keys, const CString& paneText, CString& tip);

  // ---- Coding tips (CodingTips.cpp). tip = "注意:" + the hint of the first
  // rule that matches keys; 1 when a rule matched, else 0 and tip empty.
  int GetTipMsg(CString keys, CString& tip, int unused);
  int GetTipMsg2(CString keys, CString& hint, int unused);
  int GetTipMsg3(CString keys, CString& hint, int unused);
  int GetTipMsg4(CString keys, CString& hint, int unused);
  int GetTipMsg5(CString keys, CString& hint);

  // ---- Key sequence editing (KeySeqEditing.cpp, ProperMatches.cpp). The
  // pieces of TranslateChnKey's road that edit m_strKeySeq.
  // The character a key enters the key string as (0: the key has none).
  char KeyToKeySeqChar(unsigned long key, char c);
  // 1 (after the beeps) when ch may not enter: too many equal keys before
  // the insert point or a full key string.
  int RefuseKeyOverLimits(char ch);
  // 1 when, in pinyin input, ch from key is a page key rather than a key.
  int IsPinyinPageKey(unsigned long key, char ch);
  // '<' or '>' moves m_nCurPage (wrapping; by 3 in the multi-row layout).
  void TurnPinyinPage(char ch);
  // Inserts ch at the insert point by the rules of the input method (tones
  // and strokes after the letters); ch 0 inserts nothing. Always takes the
  // back copy and returns to page 0.
  void InsertKeySeqChar(char ch);
  // Deletes the key before the insert point and shows the candidates
  // again: 1; 0 when the insert point is at 0.
  int BackSpaceKeySeq();
  int AdjustInsertPt(unsigned long key);
  int GetNextInsertPt(const char* keys, short& point, int forward, int fine);
  short FindMatchingKeySeqEndingPt(const char* keys, int phraseOk, int wholeOk, int* found);
  int IsProperMatches(const char* text, int phraseOk, int* exact);
  int IsCombinationOfProperMatches(const char* text, int phraseOk);
  void RemoveTrailingQuestionMark(int all);

  // ---- Candidate selection and commit (ChoiceSelection.cpp,
  // LastCommitPick.cpp). Each returns TranslateChnKey's result, or
  // kGoOnWithKey when the key goes on along the road.
  // Space or a function key chooses from the page or the segment rows.
  int SelectChoiceKey(unsigned long key, unsigned long window, int hasWildcard);
  // The commit of a chosen candidate (nBytes kChosenCandidate) or of one
  // character by value (nBytes 1 or 2: the bytes in chosen.data, lead
  // byte first); index is the chosen index or -1.
  int CommitChoice(unsigned long window, typCharFatFmt chosen, int nBytes, int index,
                   int pickedFromList, int hasWildcard);
  // CommitChoice of a chosen candidate; in shape-code input the keys typed
  // after the code it consumed stay as the new keys.
  int CommitAndKeepRest(unsigned long window, typCharFatFmt chosen, int index, int pickedFromList,
                        int hasWildcard);
  // Right Alt with a digit or the grave accent: picks one character of the
  // last commit, or turns key into a selection key (kGoOnWithKey).
  int PickCharOfLastCommit(unsigned long& key, unsigned long window);
  // Shape code: the last key typed again picks by pinyin initial c.
  int DoubledKeyPick(char c, unsigned long window, int hasWildcard);

  // ---- Services of the state machine, the commit path, phrase building,
  // re-selection, association ordering and the stroke and tone filters
  // that the display and the selection call.
  void ResetChnInput(int resetReSel, int keepTip, int keepForecast);
  void MakeBackCopyOfm_strKeySeq();
  int SelectCharDlg(unsigned long window, AArray<typCharFatFmt, typCharFatFmt&>& list, int flag);
  int MakeCapHitEven(int a, int b, int c);
  void SendChnChar2HwndDirect(unsigned long window, const char* text, int length, int, int);
  void SendChnChar2Hwnd(unsigned long window, typCharFatFmt candidate);
  int SetZuCiMode(int insertPt, int noShow);
  int SetZuCiOneCharAndFireIfDone(typCharFatFmt* pick, unsigned long window, int force, int learn);
  int ZuCiKeySplit();
  int GetZuCiUnusedKeys(CString& out);
  void ResetReSelectionData();
  int IsReSelectionDataResetNeeded(unsigned long window);
  int InitReSelectionData(int index, unsigned long window,
                          AArray<typCharFatFmt, typCharFatFmt&>& list);
  int InitReSelectionPos(unsigned long window);
  int BasicLianXianAdjustOrder(AArray<typCharFatFmt, typCharFatFmt&>& list);
  int IsBiHuaCode(unsigned long key, unsigned long ch, unsigned long unused);
  char Translate2NormalBiHua(short stroke);

  // ---- Phrase building (ZuCi.cpp). The segments of the word being built
  // are m_arrZuCiSegs; every operation that changes them ends by showing
  // the keys or the candidates again.
  // 1 when the word is complete after pick (null: no pick), else 0.
  int ZuCiCompleted(typCharFatFmt* pick);
  // out = the texts of the segments before the current one; 1 when any.
  int GetZuCiMatchedZis(CString& out);

  // ---- Usage learning (UsageWeights.cpp). item is a committed candidate
  // with its key text. 1 when a weight changed (the data is then dirty).
  int AdjustZiUsageWeight(typCharFatFmt& item);
  // which 0: the weighted pinyin index, 1: the initials index.
  int AdjustCiUsageWeight(typCharFatFmt& item, int which);

  // ---- The lexicon: adding phrases (CiKuStore.cpp), saving it
  // (CiKuSave.cpp) and the association maps (Dependency.cpp).
  // Every key of phrase (n / 2 characters) under method: full keys in keys,
  // initials keys (pinyin, initials index loaded) in initialKeys; only keys
  // an index can hold, at most kMaxKeysPerPhrase in all. 1 when keys has
  // any.
  int GetKeyFromCi(const char* phrase, int method, CStringArray& keys, CStringArray& initialKeys);
  // Writes both association maps now (normally part of SaveCiKuDirtyData):
  // 1 written, -1 a file could not be replaced (the maps stay dirty).
  int SaveCharDependencyFiles();
  // The front end's idle work, called often: files the queue of new
  // phrases and saves the lexicon and the learned character order once
  // kIdleSaveDelaySec have passed since they changed (and, after a failed
  // save, since the last try). 1 when it saved, -1 when a save failed, 0
  // when nothing was due.
  int SaveLexiconWhenIdle(uint32_t nowSec);
  // Something of the lexicon or the learned order waits to be saved.
  bool LexiconDirty() const;

  // ---- Stroke and tone filters (StrokeToneFilters.cpp, StrokeTable.cpp,
  // PinyinKeyHelpers.cpp). A filter never empties a list: when it would
  // remove every candidate it leaves the list and returns 0.
  static int GetBiHuaIndex(char key);
  // 1 the character (two GBK bytes at ch) starts with strokes in one of its
  // readings, 0 in none (or no reading), -1 strokes empty or undecided.
  int IsBiHuaOK(char* ch, char* strokes);
  int IsBiHuaOK(CString py, char* ch, char* strokes);
  int IsBiHuaOKHelper(char* ch, char* strokes, typBiHuaDistribution& dist);
  int IsShengDiaoOK(char* ch, char tone);
  int IsShengDiaoOK(CString py, char* ch, char tone);
  int FindShengDiao(CString py, char* ch, CString& tones, int unused);
  int ShengDiaoRemoveChar(AArray<typCharFatFmt, typCharFatFmt&>& list, CString key, char tone);
  int BiHuaRemoveChar(AArray<typCharFatFmt, typCharFatFmt&>& list, CString key, char* strokes);
  int ShengDiaoOrBiHuaRemoveCharHelper(AArray<typCharFatFmt, typCharFatFmt&>& list, CString key,
                                       int isTone, char tone, char* strokes);
  int FantiRemoveChar(AArray<typCharFatFmt, typCharFatFmt&>& list, CString key);
  char GetPingZeMa(char* keys);
  int GetCountOfBiHuaMa(char* keys, int* start, char* out);
  void RemvFenHaoAtEnds(CString& keys);
  int ChnCharHasThisPY1stLetter(const char* ch, char letter);

  // ---- GBK and Big5 (Big5Conversion.cpp), punctuation and symbols
  // (Punctuation.cpp). Codes are in code order (lead byte high); the
  // punctuation results and IsChnNumeric/IsChnPunctuation take memory order
  // (lead byte low).
  [[nodiscard]] int LoadGbk2Big5Dic();
  [[nodiscard]] int LoadBig5GbkDic();
  unsigned short Gbk2Big5(unsigned short code, unsigned short before2, unsigned short before1,
                          unsigned short after1, unsigned short after2);
  unsigned short Big5ToGbk(unsigned short code);
  // Maps a key and, for '"' and '\'', flips the quotation flag: only the
  // code that types the mark calls it.
  int EngChar2GB(unsigned long key, int mapKind, int chnPunct);
  int EngChar2GB_Punctuation(unsigned long key, int chnPunct);
  // What EngChar2GB would give now, leaving the quotation flags alone: for
  // callers that only compare (history scans, end-character matching).
  int PeekEngChar2GB(unsigned long key, int mapKind, int chnPunct) const;
  static int EngChar2GB_PunctuationStandardize(unsigned long ch);
  static int EngChar2GB_Symbol(unsigned long key);
  static int IsChnAlphaNumeric(unsigned short code);
  static int IsChnNumeric(unsigned short ch);
  static int IsChnPunctuation(unsigned short ch);

  // ---- Number phrases and V-mode (NumberPhrases.cpp, VModeWords.cpp)
  void ShowChnNumMode(int) {}  // the number mode has no display of its own
  // ---- Key translation (KeyTranslation.cpp, KeyTranslationSteps.cpp,
  // PinyinKeyFilter.cpp). TranslateChnKey decides what one key press does
  // in Chinese input: 1 used, 0 pass it on to the client. window is where
  // committed text goes (0: the focus window). The key record and
  // m_nKeyFlags are filled before the call (ProcessKeyMsg does it).
  int TranslateChnKey(unsigned long key, unsigned long window, unsigned long unused);
  // Leaves the focused input: drops a trailing wildcard and closes the
  // re-selection (Chinese input only).
  void DoThingsAtLoseActive();
  // The character of the key record's text (signed first byte). flag
  // nonzero lowers letters (a letter keysym gives its own letter); flag 0
  // gives the shifted form of a US digit or punctuation key.
  int MyMapVirtualKey(unsigned long key, int flag, int unused);
  // The front end's pinyin box for shape-code input: does nothing, 1.
  int JUXXingMaInputPYDlg(unsigned long window, long point);

  // ---- Key messages (KeyMessages.cpp, KeyMessageHotKeys.cpp,
  // EnglishLetters.cpp). type 1 an Alt released alone, 2 a key with Alt
  // held (the Alt press included), 3 a key pressed without Alt, 4 a key
  // released without Alt. Only the upper 16 bits of flags are kept
  // (m_nKeyFlags; 0x4000 there marks a repeat that swallows letters):
  // callers pass 0. 1 the key was used, 0 pass it on.
  int ProcessKeyMsg(int type, unsigned long key, unsigned long flags);
  // act 0 records the state an Escape starts from (always 1); act 1 says
  // whether that Escape still counts as used (hides the status window).
  int DicStateAct(int act);
  // Commits the typed letters (before any tone or stroke key) as English.
  void EnterAsEnglish(unsigned long window);
  void DoEnglishKeyDown(unsigned long key);
  void DoAfterSwitch2Chn();
  // After a change of input mode (onlyMode 1) or of the method or options.
  void OnInputMDChange(int onlyMode);
  // The key of the US punctuation row at position 0..10, else 0.
  static char GetKeyCode(int position, unsigned long unused = 0);
  // Looks key up in the punctuation row: keyPos of ctx and
  // gIsKeyContextValid; returns gIsKeyContextValid.
  static int GetKeyContext(unsigned long key, unsigned long, typKeyContext* ctx, unsigned long);
  // The right-Alt click after English letters: BackSpaces for the letters,
  // then the letters as pinyin keys.
  void CorrectEnglishLetters();
  // Empties the English-letter record.
  void ForgetEnglishLetters();
  // A key press that leaves the English-letter record as it is: Control_L
  // or Control_R, Space with Ctrl, F12 while it is the switch key
  // (ChnEnglshSwitchKey 0), Escape in the i-mode, '=' with Alt. These are
  // the keys on the way to Chinese input, where the record is offered for
  // correction. Any other non-letter press empties it.
  bool KeepsEnglishLetters(unsigned long key) const;
  // Re-chooses the last commit (right Alt with '-', 'P' or 'I').
  void ReChooseLastCommit(unsigned long focus);
  // The re-choice during phrase building: the segment just filled takes
  // text, and its keys follow the new candidate's key length.
  void ReChooseZuCiSegment(const CString& text, int oldIndex);

  // ---- Direct output, i-mode and number digits (DirectOutput.cpp,
  // IModeKeys.cpp). Each step returns TranslateChnKey's result or
  // kGoOnWithKey.
  int InputDirectChnChar(unsigned long window, unsigned char lead, unsigned char trail);
  int InputDirectChnChar(unsigned long window, unsigned short code);
  // Commits m_lastCommit again (when there is one) and closes the
  // re-selection.
  void Repeatlastchnchar(unsigned long window);
  int IModeKeyStep(unsigned long key, unsigned long window);
  int ChnNumDigitStep(unsigned long key, unsigned long window);
  int DirectOutputStep(unsigned long key, unsigned long window);
  // m_lastCommit becomes "none" (kind kFatNone, association mark 0).
  void ForgetLastCommit();

  // ---- Phrase forecasting: the rule base (ForecastRuleBase.cpp), matching
  // (ForecastMatch.cpp), results (ForecastResults.cpp), firing
  // (ForecastFiring.cpp), history, pane and entry (ForecastHistory.cpp).
  // Texts are GBK; history spans [s, e) are even byte positions. The
  // matcher's failures (an inconsistent rule that got past the loader, a
  // depth or step budget exhausted) go to the diagnostics and fail the
  // match.
  // Loads fccdic.bin from the data directory after unloading what is
  // loaded: 1 loaded; 0 when it cannot be opened or is refused (a refusal
  // leaves the rule base empty and says why in the diagnostics).
  int LoadForecastDB();
  // Empties the rule base and resets the forecast (ZiCiForecastingReset(0)).
  int UnloadForecastDB();
  // The engine's tables as the rule-base reader takes them.
  ForecastTables ForecastTablesOf();
  // 1 when cell matches [s, e) of text exactly; group: whose rules a
  // reference cell names.
  int ForecastMatchHelper(char* text, int s, int e, typForecastCell* cell, int group);
  // 1 when cells[from..to) match [s, e) one after another, covering it.
  int Group2GroupMatch(char* text, int s, int e, ForecastCellList& cells, int from, int to,
                       int group);
  // 1 when the len bytes at text are a member of entry name of abstract
  // set `set`, or the beginning of one; index: the member's position.
  int MatchAbstract(const char* text, int len, CString name, int set, unsigned short& index);
  // 1 when history character ch (memory order) is one of the end
  // characters ends (7 bytes at most); loose accepts any sentence end for
  // the ASCII ones.
  int IsMatchingBiaoDian(unsigned short ch, const char* ends, int loose) const;
  // The cell's end characters, following reference cells to their rule.
  const char* GetRuleEndChars(typForecastCell* cell, int group);
  // Adds forecast strings of rule (children from on) to out; 1 when out
  // then holds any string. The word-search dialog calls it with from 0.
  int GetForecastResult(typForecastCell* rule, int from, CStringArray& out, int group);
  // out: the text cell produces; 1 when it produces text (maybe empty).
  int GetForecastResultHelper(typForecastCell* cell, CString& out);
  // 1 when [s, e) is the beginning of what cell matches; out gets the
  // rest; partial 1 when no rest may be offered.
  int IsCellPrefixNGetForecastResult(char* text, int s, int e, typForecastCell* cell, CString& out,
                                     int group, int& partial);
  // Appends the cell's end character (as after a forecast) to every
  // string; ForecastAddEndcharsSingle to one.
  int ForecastAddEndchars(CStringArray& list, typForecastCell* cell);
  int ForecastAddEndcharsSingle(CString& str, typForecastCell* cell);
  // m_arrForecast for the history after the commit of str (null: none);
  // 1 when a rule fired or continued.
  int GetForecastZiCi(const char* str);
  int GetForecastZiCiHelper(char* text, int i, int n);
  // Fires rule `rule` of group on [s, e) (cont 0), or continues the last
  // fired rule (cont 1); adds the forecast to out.
  int ForecastMatch(char* text, int s, int e, CStringArray& out, int group, int rule, int cont);
  // Adds committed text to the history (widened, spaces dropped, at most
  // 20 characters kept); always 1.
  int ZiCiForecastAddString(const char* text);
  // Runs the forecast for the commit of text and shows or hides the pane;
  // 1 when a forecast is shown.
  int ZiCiForecasting(const char* text);
  // Hides the pane; keep 0 also forgets the forecast, the history and the
  // last fired rule. Always 1.
  int ZiCiForecastingReset(int keep);
  // Commits forecast string number item (the last when too large) to
  // window; 0 when there is no forecast.
  int EnterForecast(unsigned long window, int item);

  // ---- Number mode and phrase building's key moves, and the re-selection
  // cycle, as the key handler and the commit path call them.
  int SetChnNumMode();
  int RemvKeyInZuCiMode();
  int AdjustZuCiState(unsigned long key);
  int RemvZiInZuCiMode();
  int GetNextChoice(CString& text);

  // ---- Services the lookup calls.
  int IsPYProper(const char* py);
  int MapChnToKeysLookup(unsigned short ch, CStringArray& out, int method, int complete);
  int IsCommonChar(char* ch);
  // IsCommonChar asked of the reading maps themselves (v: the character's
  // two bytes, the first low).
  int CommonInReadingMaps(unsigned short v) const;
  int NumCizuMatch(CString key, AArray<typCharFatFmt, typCharFatFmt&>& out);
  int UnitCiMatch(CString key, AArray<typCharFatFmt, typCharFatFmt&>& out);

  // ==== Members. The busy marker must stay the first field: the front end
  // reads it as such. Nothing in this system sets it.
  void* m_pBusyMarker;

  // ---- Phrase store and phrase indexes (CiZuDic.cpp)
  unsigned char* m_pCiZuIdx[2];  // index file bytes as read (+pad); null
  int m_bCiZuIdxDirty[2];
  unsigned char* m_pCiZuFlat;  // store unscrambled (+pad); null
  int m_bCiZuFlatDirty;
  // CiZuFlat.igb is there but was refused (unreadable, too large): no
  // phrase is added, so no save ever writes a new store over it.
  int m_bCiZuFlatRefused;
  uint32_t m_tmCiKuChanged;  // time of the last unsaved change; 0
  CString m_strCiZuFlatPath;
  CString m_strCiZuIdxPath[2];
  uint16_t m_nCiZuIdxEntryLen[2];  // 3, or 4 for a weighted pinyin index
  uint32_t m_nCiZuFlatLen;
  uint32_t m_nCiZuIdxLen[2];
  // Two-key tables, kTwoKeyBuckets offsets each, then the record index of
  // the list (KeyScan.h: a count and the offset of every record in
  // order, for binary searches); null when not built.
  uint32_t* m_pZiIdx2Keys[2];
  uint32_t* m_pCiZuIdx2Keys[2];
  CString m_strShouZiMuIdxPath;
  uint32_t m_nShouZiMuIdxLen;
  unsigned char* m_pShouZiMuIdx;
  uint32_t* m_pShouZiMuIdx2Keys;

  // ---- Character dictionaries (ChnCharDics.cpp, PyCharList.cpp)
  AMapStringToString* m_pKey2ChsDic2;  // owned; created by InitFirst
  // Character -> usage rank (sort.dic); changed only by InitCh2UsageDic
  // and SetUsageRank.
  CharUsageRanks m_mapCh2Usage;
  // Gives character ch (first byte low) the usage rank, or none (rank 0).
  void SetUsageRank(uint16_t ch, int32_t rank);
  // Character -> codes and readings, built by the loaders of
  // ChnCharDics.cpp and only looked up afterwards (CharCodeMaps.h).
  CharCodeMap m_mapCh2KeysPX;
  CharReadingMap<typArrPYs> m_mapCh2PYs;
  CharCodeMap m_mapCh2KeysPY;
  int m_bUseCh2KeysPY;
  CharReadingMap<typArrPYsDiaoInOrder> m_mapCh2PYsDiaoInOrder;
  // IsCommonChar's answer for every character value (the two reading maps
  // hold long hash chains and copy a reading list a lookup), made by
  // LoadChn2KeyMapPY after the maps; empty when the maps were not loaded.
  std::vector<uint8_t> m_charIsCommon;
  // The records (offset, distance) each fuzzy segment search matched, by
  // method, distance limit and segment; emptied whenever a phrase index
  // is built again or released (BuildIdx2KeysInDic, ReleaseCiZuIdx).
  std::unordered_map<std::string, std::vector<std::pair<uint32_t, int>>> m_segMatches;
  static constexpr size_t kMaxSegMatches = 4096;
  unsigned char* m_pKey2Chs[2];  // chdicres.bin, pykeys.dic (+pad); null
  uint32_t m_nKey2ChsLen[2];
  unsigned char* m_pPyFlat;  // pinyin character list (+pad); null
  int m_nPyFlatEntryLen;     // 2, or 3 with usage weights
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
  tagE_Dist m_rows[3][kMaxRows];                // set 0, set 1, merged (RankedRows.cpp)
  AArray<tagE_Dist, tagE_Dist&> m_arrRowOrder;  // fuzzy pinyin: row per candidate

  // ---- Re-selection
  int m_nReSelState;          // -1 none
  int m_nReSelIndex;          // -1 none
  unsigned long m_hReSelWnd;  // X window of the last commit / edit control
  int m_bKeepReSelection;
  AArray<typCharFatFmt, typCharFatFmt&> m_arrReSelCands;
  typCharFatFmt m_reSelItem;
  int m_nEdtCommitRow;  // last commit into an edit control: row and
  int m_nEdtCommitCol;  // byte column (the editor reads them)

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
  // New phrases waiting to be filed in the other input method's index.
  AArray<typCiZuRec, typCiZuRec&> m_arrNewCiQueue;
  // Dirty flags of the lexicon parts without one above: the initials index
  // and the association maps.
  int m_bShouZiMuIdxDirty;
  int m_bDependDirty;
  // depend1.map, depend2.map there but unreadable: left as they are by
  // every save (the map in memory lacks what they hold).
  int m_bDependRefused[2];
  // Time of the first unsaved change of the learned order (m_pPyFlat); 0
  // when saved. m_tmCiKuChanged plays that part for the lexicon.
  uint32_t m_tmPyFlatChanged;
  // Time of the last save that failed (0 none): the idle save waits before
  // it tries again, and the user is told once, not at every try.
  uint32_t m_tmLastSaveFailed;
  // Time the queue of new phrases got its first phrase; 0 when empty.
  uint32_t m_tmNewCiQueued;
  // The phrase store's text index and scrambled image (StoreCache.h),
  // made at the first phrase added, kept up by AddToCiKu, cleared by
  // ReleaseCiZuFlat.
  ciku::StoreCache m_storeCache;

  // ---- Key record: written by the front end or an edit control before
  // every ProcessKeyMsg.
  int m_bAlt;
  int m_bCtrl;
  int m_bShift;
  uint32_t m_nXState;  // the key's whole X modifier state
  char m_szKeyText[kKeyTextBytes];

  // ---- XIM request, key messages and modes
  typFwdEventView m_fwdEvent;  // last forwarded key request (front end)
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
  // V-mode keys of column 0 and the three ShuangPin schemes, each sorted.
  AList<typVModeKey2Index, typVModeKey2Index&> m_listVModeKeys[4];
  AArray<typNumUnitWord, typNumUnitWord&> m_arrNumUnitWords;
  // Stroke groups per full pinyin syllable (bihuaku.bin).
  AMap<CString, const char*, typBiHuaDistribution, typBiHuaDistribution&> m_mapBiHua;
  // IsPYProper's answers by the asked keys (at most six bytes, packed with
  // their length); emptied whenever m_mapBiHua is loaded again or holds
  // another number of syllables than when they were given. The lookup asks
  // the same few prefixes of the typed keys many times a key.
  std::unordered_map<uint64_t, bool> m_pyProperMemo;
  int m_nPyProperMemoSyllables = 0;
  // FindMatchingKeySeqEndingPt's pinyin answers without phrases (length,
  // found) by keys and wholeOk, while one lookup runs: its syllable walk
  // asks the same tails again for every insert point. Null outside a
  // lookup; nothing those answers depend on changes during one.
  std::unordered_map<std::string, std::pair<short, int>>* m_pEndingPtMemo = nullptr;
  static constexpr size_t kMaxPyProperMemo = 4096;
  int m_nEngineMissing;  // kBothInstalled, kXingMaMissing, kPinYinMissing
  int m_bModalBox;       // a modal engine box takes every key while
  void* m_pModalBox;     // both are set; this system never sets them
  int m_bPyLookup;       // right Alt+F in shape-code input

  // ---- Forecasting
  int m_bForecastShown;
  CString m_strForecastHistory;
  int m_nForecastMatchEnd;
  CStringArray m_arrForecast;
  CStringArray m_arrForecastReSel;
  AMap<CString, const char*, CStringArray, CStringArray&> m_abstracts[2];
  AMap<unsigned short, unsigned short, CDWordArray, CDWordArray&> m_forecastKeys[6];
  ForecastCellList m_forecastRules[6];  // the word-search dialog reads them
  typPriorIdInfo m_priorIds[kPriorIdSlots];
  int m_bForecastCommitting;
  char m_curPriorId;
  // Set exactly while a rule base is loaded (set 0 may be empty in a good
  // file, so its count does not say).
  int m_bForecastLoaded;
  // Run-time bounds of one match: nesting of the recursive calls and the
  // steps left; a match that runs out fails.
  int m_nFccDepth;
  long m_nFccSteps;

  // ---- Association and Big5
  AMap<unsigned long, unsigned long, CDWordArray, CDWordArray&> m_mapDepend2;
  AMap<unsigned short, unsigned short, CDWordArray, CDWordArray&> m_mapDepend1;
  CString m_strDepend2Path, m_strDepend1Path;
  unsigned char* m_pGbk2Big5;
  unsigned char* m_pBig5Gbk;
  // A table whose load failed is not tried again on every character.
  int m_bGbk2Big5Failed, m_bBig5GbkFailed;

  // ---- Phrase building: the segments of the phrase being built, in order.
  AArray<CKeyZiPair, CKeyZiPair&> m_arrZuCiSegs;

 private:
  void ResetState();
  void BuildPaths();
  // Marks a change of the lexicon / of the learned order now.
  void MarkCiKuChanged();
  void MarkPyFlatChanged();
  // Steps of AddToCiKu (CiKuStore.cpp).
  int FindCiInStore(const CString& phrase, uint32_t& ab, uint32_t& bc);
  int FileCiKeys(const CStringArray& keys, const CStringArray& initialKeys, int method,
                 uint32_t offset);
  void AddCiDependencies(const CString& phrase, uint32_t offset, uint32_t ab, uint32_t bc);
  void DecideInstalledMethods();
  void LoadCurrentCiZuIdx();
  void ReleaseAll();
  int LoadPyKeys(const CString& ext);
  bool MakePyFlatCopy(const CString& listPath, const CString& ext);
  void ReleasePyLists();
  void BoundPyKeysToList();

  // Steps of the candidate display (CandidateDisplay.cpp, ChoiceTips.cpp).
  void LookupWithTailRetry(const CString& keys);
  void ApplyPinyinFilters(const CString& keys, char tone, const char* strokes,
                          CString& filterMessage);
  void LayOutChoiceList(const CString& keys, char tone, const char* strokes, int& highlightLength,
                        bool& colourFlag, CString& filterMessage, CString& pagingHint);
  CString ChoiceLabel(const CString& keys, int item, int index);
  CString RowKeyText(const tagE_Dist& row) const;
  void LayOutSegmentRows(int& highlightLength, bool& colourFlag);
  void AppendHelpLine(const CString& keys, CString& tip);
  // The backward move into a long proper match (ProperMatches.cpp).
  int RefineBackwardStop(const char* keys, int start, int m, int point);
  // Steps of the selection (ChoiceSelection.cpp).
  int ChooseIndexForKey(unsigned long key, int listSize);
  void StartPartialPick(const typCharFatFmt& chosen);
  void PrepareReSelection(unsigned long window, int index,
                          AArray<typCharFatFmt, typCharFatFmt&>& list, int resetNeeded);
  int PageIndexToListIndex(int index, int listSize);
  int FillZuCiSegment(typCharFatFmt chosen, unsigned long window, int index,
                      AArray<typCharFatFmt, typCharFatFmt&>& list);
  int IsDoubledKeyException(const CString& keys) const;
  AArray<typCharFatFmt, typCharFatFmt&>& ReSelectionList();
  int ZuCiLearnFlag() const;
  void BuildCommitTip(const typCharFatFmt& chosen, int nBytes, int index, int hasWildcard,
                      CString& tip);

  // Where the pinyin character list in memory came from, and whether it is
  // the learned order: SavePyDic writes it back there, even after the
  // options changed the order or the fuzzy pairs.
  CString m_strPyFlatFile;
  // Set while the queue of new phrases is filed: one save at the end.
  bool m_bHoldCiKuSave = false;
  int m_bPyFlatLearned = 0;
};

// The engine. Written and read by the front end, the XIM glue, the edit
// controls and the engine itself, all on the one thread.
extern CChnChars dictionary;
// 1 after InitDictionary, 0 after CloseDictionary.
extern int gbInitDone;
// "Error%d: Cannot open file[%s]!": a lexicon file could not be saved
// (with the code and the path).
extern const char* pMsgCannotOpenFile;
// The US punctuation row by key position, no terminator.
extern const char cPosToCharUS[kPunctRowKeys];
// The last GetKeyContext: its record and whether the key was found.
extern typKeyContext keyContext;
extern int gIsKeyContextValid;
// The five stroke keys; "-=[];" at start (the stroke filters set it).
extern const char* gszBiHuaMa;
// The five tone keys, "12345" (KeySeqEditing.cpp).
extern const char* const gszPingZeMa;
// Picks the rotating help line of the candidate display; advanced modulo 12
// by each display of more than two keys, never reset (ChoiceTips.cpp).
extern int nRotate;
// The tip of the i-mode (its leading blank included).
extern const char gI_ModeStr[];
// Result of the selection branches: the key goes on along TranslateChnKey's
// road.
constexpr int kGoOnWithKey = -1;
// Byte count of CommitChoice for a chosen candidate.
constexpr int kChosenCandidate = 999;
// The initials fuzzy pinyin currently pairs; empty at start.
extern CString strFuzzyPy1stChar;

// Grabs the selection keys on window while candidates are shown (through
// the host); always 1.
int DoThingsAfterChoicesShown(unsigned long window);
// The engine's Gbk2Big5 without context, in the form the framework's hook
// takes: the front end installs it at start-up with
//   EngineHooks h; h.gbk2Big5 = &DictionaryGbk2Big5; SetEngineHooks(h);
unsigned short DictionaryGbk2Big5(unsigned short gbk);

// The C library's string comparison of two fixed-size key records, for
// qsort.
int compare0(const void* a, const void* b);
