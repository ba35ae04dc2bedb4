// AStack.h: AStack<TYPE, ARG_TYPE>, a stack on an AList of block size 10;
// the list's tail is the top. The resource-script compiler keeps its nesting
// (files, menus, conditions) on it. Top needs a non-empty stack.
#pragma once

#include "base/AList.h"

template <class TYPE, class ARG_TYPE>
class AStack : public AList<TYPE, ARG_TYPE> {
 public:
  AStack() : AList<TYPE, ARG_TYPE>(10) {}

  void Push(ARG_TYPE v) { this->AddTail(v); }
  // Empty: returns 0 and leaves out alone. Else out = the top record, which
  // is removed, and returns 1.
  int Pop(TYPE& out) {
    if (this->GetCount() == 0) return 0;
    out = this->RemoveTail();
    return 1;
  }
  TYPE& Top() { return this->GetTail(); }
  int GetSize() const { return this->GetCount(); }
  void Reset() { this->RemoveAll(); }
};
