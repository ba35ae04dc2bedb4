// PLTextException.h: the one error of image decoding, a code (PLConstants.h)
// and a text. Decoders throw it; it never leaves the image subsystem through
// PLDecodeFile, which turns it into a return value.
#pragma once

#include <cstdint>
#include <string>

#include "image/PLObject.h"

class PLTextException : public PLObject {
 public:
  // Copies text; a null text is taken as "".
  PLTextException(int code, const char* text);
  PLTextException(const PLTextException&) = default;
  PLTextException& operator=(const PLTextException&) = default;
  ~PLTextException() override = default;

  void AssertValid() const override {}
  virtual int GetCode() const { return m_Code; }
  virtual operator const char*() const { return m_Text.c_str(); }

 private:
  int32_t m_Code;
  std::string m_Text;
};
