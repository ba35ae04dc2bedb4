// PLFilter.h: the base of bitmap filters. A filter overrides at least one of
// Apply (from a source into a destination) and ApplyInPlace; the other falls
// back on it through a temporary copy.
#pragma once

#include "image/PLObject.h"

class PLBmp;

class PLFilter : public PLObject {
 public:
  PLFilter() = default;
  ~PLFilter() override = 0;

  // Apply(bitmap, temporary), then bitmap becomes a copy of the temporary.
  virtual void ApplyInPlace(PLBmp* bitmap) const;
  // destination becomes a copy of source, then ApplyInPlace(destination).
  virtual void Apply(const PLBmp* source, PLBmp* destination) const;
};
