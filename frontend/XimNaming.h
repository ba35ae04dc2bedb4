// XimNaming.h: how kvr names its XIM server and which locales it serves.
// The name comes from XMODIFIERS ("@im=NAME"); without a usable one the
// server is "Kivra" and XMODIFIERS is rewritten so that the programs kvr
// starts find it. The locale list is fixed, plus the locale kvr found at
// start-up when the list does not mention it.
#pragma once

#include "base/CString.h"

// The server name a value of XMODIFIERS selects: the text after the first
// "@im=" up to the end of the value; empty when the value is null, has no
// "@im=", names nothing, or names something that contains "none".
CString XimNameFromModifiers(const char* xmodifiers);

// The default name used when XimNameFromModifiers gives nothing.
constexpr const char* kDefaultXimName = "Kivra";

// The locales the server offers: the fixed list, then "," and sysLocale
// when sysLocale is not empty and does not occur anywhere in that list.
CString XimLocaleList(const char* sysLocale);
