#include "image/PLFilter.h"

#include "image/PLAnyBmp.h"

PLFilter::~PLFilter() = default;

void PLFilter::ApplyInPlace(PLBmp* bitmap) const {
  PLAnyBmp temporary;
  Apply(bitmap, &temporary);
  *bitmap = temporary;
}

void PLFilter::Apply(const PLBmp* source, PLBmp* destination) const {
  *destination = *source;
  ApplyInPlace(destination);
}
