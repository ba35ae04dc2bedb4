// IniLookup.h: the ini reader's lookup without a fixed buffer, for framework
// code that must tell a missing entry from an empty one and must not cut a
// long default (LoadStringChn). Same rules as GetIniFileString (IniFile.h).
#pragma once

#include <string>

enum class IniLookupResult { kNoFile, kNotFound, kFound };

// Finds key in section of the ini file at path; on kFound, value holds the
// whole value (trimmed on the right, as the reader trims it).
IniLookupResult LookupIniValue(const char* path, const char* section, const char* key,
                               std::string& value);
