// EdtDocAccess.h: the document's layout settings as the view reads them, in
// one place, so the view's files do not depend on how the document names
// its fields.
#pragma once

#include "editor/AEdtStor.h"

inline int DocRowCount(const AEdtStor& d) { return d.GetLineCount(); }
inline int DocWrapWidth(const AEdtStor& d) { return d.m_nWrapWidth; }
inline int DocWidest(const AEdtStor& d) { return d.m_nWidest; }
inline bool DocWordWrap(const AEdtStor& d) { return d.m_bWordWrap != 0; }
inline bool DocSingleLine(const AEdtStor& d) { return d.m_bSingleLine != 0; }
inline int DocLanguage(const AEdtStor& d) { return d.m_nLanguage; }
// A tab width below 1 would divide by zero in every column count.
inline int DocTabWidth(const AEdtStor& d) { return d.m_nTabWidth > 0 ? d.m_nTabWidth : 1; }
inline bool DocListMode(const AEdtStor& d) { return d.m_bListMode != 0; }
