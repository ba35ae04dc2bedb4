#include "editor/CEditStep.h"

CEditStep::CEditStep() { Reset(); }

void CEditStep::Reset() {
  m_strText.Empty();
  m_nMergeClass = kMergeNever;
  m_nLength = 0;
}
