// PLObject.h: the root of the image classes. It gives every image object a
// virtual destructor, so a bitmap or decoder can be deleted through a base
// pointer, and a validity hook that debug code may override.
#pragma once

class PLObject {
 public:
  PLObject() = default;
  PLObject(const PLObject&) = default;
  PLObject& operator=(const PLObject&) = default;
  virtual ~PLObject() = default;
  // Checks the object's own invariants; the base checks nothing.
  virtual void AssertValid() const {}
};
