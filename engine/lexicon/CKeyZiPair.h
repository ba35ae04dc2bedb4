// CKeyZiPair.h: one segment of a phrase being built from single picks: the
// text chosen for it and where its keys end in the phrase's key string. A
// plain value record; CChnChars::m_arrZuCiSegs holds the segments in order.
#pragma once

#include "base/CString.h"

struct CKeyZiPair {
  CString text;    // the chosen characters; empty while the segment is open
  int keyEnd = 0;  // end (exclusive) of its keys in m_strZuCiKeys
};
