// Operations of later parts of the engine that the life cycle calls (phrase
// building, edit distance, strokes, association maps, forecasting, number
// phrases, V-mode, the lexicon writer, Big5 tables, fuzzy lists). Until each
// part lands they do nothing and report "nothing done"; the part that owns
// an operation removes it from this file when it defines it.
#include "engine/CChnChars.h"

void CChnChars::ClearZuCiMode() {}
void CChnChars::LoadBihaKuOrPingZheKuFromBin(int) {}
void CChnChars::LoadCharDependencyFiles() {}
int CChnChars::LoadForecastDB() { return 0; }
int CChnChars::UnloadForecastDB() { return 1; }
void CChnChars::InitNumUnitWords() {}
void CChnChars::InitBiHuaKeys() {}
int CChnChars::InitVModeDic() { return 0; }
int CChnChars::AddNewCiArrayToCiKu() { return 0; }
int CChnChars::SaveCiKuDirtyData() { return 0; }
int CChnChars::AddToCiKu(char*, int, int, int) { return 0; }
int CChnChars::UnloadGbk2Big5Dic() { return 1; }
int CChnChars::UnloadBig5GbkDic() { return 1; }
