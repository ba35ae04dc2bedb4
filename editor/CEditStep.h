// CEditStep.h: one step of the editor's undo list. A step says what one
// change did at one display position (x the byte offset in the row, y the
// row, in the rows of the moment the step was made), so that the view can
// apply it the other way round: the bytes it removed, the number of bytes it
// inserted, or both. The document (AEdtStor.h) keeps the list and decides
// when a typed character extends the last step instead of adding one.
//
// A plain value: copies are whole copies (the text is a shared CString).
#pragma once

#include <cstdint>

#include "base/CString.h"
#include "base/Geometry.h"

// What a step did at its position.
enum typStepID : int32_t {
  kStepDeleted = 0,   // m_strText was removed
  kStepInserted = 1,  // m_nLength bytes were inserted
  kStepReplaced = 2,  // m_strText was removed and m_nLength bytes put in its place
};

// Merge classes the view gives typed single characters; 0 never merges.
constexpr int32_t kMergeNever = 0;
constexpr int32_t kMergeIdentChar = 1;  // letter, digit or underscore
constexpr int32_t kMergeOtherChar = 2;

class CEditStep {
 public:
  CEditStep();  // empty text, then Reset; the position is (0, 0)
  CEditStep(const CEditStep& other) = default;
  CEditStep& operator=(const CEditStep& other) = default;
  ~CEditStep() = default;

  // Empties the text and sets the merge class and the length to 0; the kind
  // and the position stay as they are.
  void Reset();

  typStepID m_nKind = kStepInserted;
  int32_t m_nMergeClass = kMergeNever;
  CPoint m_pt;            // where the step starts: x byte offset in row y
  CString m_strText;      // removed bytes (kinds 0 and 2), else empty
  int32_t m_nLength = 0;  // inserted bytes (kinds 1 and 2)
};
