// Operations of later parts of the engine that the life cycle calls (phrase
// building, edit distance, strokes, association maps, forecasting, number
// phrases, V-mode, the lexicon writer, Big5 tables, fuzzy lists). Until each
// part lands they do nothing and report "nothing done"; the part that owns
// an operation removes it from this file when it defines it.
#include "engine/CChnChars.h"

void CChnChars::ClearZuCiMode() {
  m_nZuCiMode = 0;
  m_nZuCiCurSeg = 0;
  m_arrZuCiSegs.RemoveAll();
}
void CChnChars::LoadCharDependencyFiles() {}
int CChnChars::AddNewCiArrayToCiKu() { return 0; }
int CChnChars::SaveCiKuDirtyData() { return 0; }
int CChnChars::AddToCiKu(char*, int, int, int) { return 0; }
