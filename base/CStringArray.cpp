#include "base/CStringArray.h"

int CStringArray::AddUnique(const char* s) {
  for (int i = 0; i < GetSize(); ++i)
    if (ElementAt(i).Compare(s) == 0) return -1;
  return Add(s);
}
