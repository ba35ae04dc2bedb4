#include "image/PLTextException.h"

PLTextException::PLTextException(int code, const char* text)
    : m_Code(code), m_Text(text != nullptr ? text : "") {}
