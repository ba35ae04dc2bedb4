#include "frontend/XimNaming.h"

#include <cstring>

CString XimNameFromModifiers(const char* xmodifiers) {
  if (!xmodifiers) return CString();
  const char* at = std::strstr(xmodifiers, "@im=");
  if (!at) return CString();
  CString name(at + 4);
  if (name.IsEmpty() || name.Find("none", 0) >= 0) return CString();
  return name;
}

CString XimLocaleList(const char* sysLocale) {
  CString list(
      "zh_CN.GB18030,zh_CN.GBK,zh_CN.GB2312,zh_CN,zh_CN.UTF8,zh_CN.eucCN,zh_CN.UTF-8,en_US.UTF8,"
      "en_US.UTF-8");
  list += ",zh_TW.Big5,zh_TW,zh_TW.eucTW,zh_TW.UTF8,zh_TW.UTF-8";
  // A plain substring search: "zh_CN" counts as listed (inside zh_CN.GB18030).
  if (sysLocale && *sysLocale && list.Find(sysLocale, 0) < 0) {
    list += ",";
    list += sysLocale;
  }
  return list;
}
