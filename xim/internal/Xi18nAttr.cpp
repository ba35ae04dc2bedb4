// Xi18nAttr.cpp: the IM and IC attributes the server describes to every
// client in its open reply, and the protocol extensions it offers. An
// attribute id is the resource-manager quark of the attribute's name, kept
// in 16 bits: ids are numbers of this process, not fixed constants.
#include <X11/Xresource.h>

#include <cstdlib>
#include <cstring>

#include "xim/internal/Xi18nCore.h"

namespace {

struct IMListOfAttr {
  const char* name;
  uint16_t type;
};

constexpr IMListOfAttr Default_IMattr[] = {
    {"queryInputStyle", kTypeStyles},
    {nullptr, 0},
};

constexpr IMListOfAttr Default_ICattr[] = {
    {"inputStyle", kTypeCard32},
    {"clientWindow", kTypeWindow},
    {"focusWindow", kTypeWindow},
    {"filterEvents", kTypeCard32},
    {"preeditAttributes", kTypeNested},
    {"statusAttributes", kTypeNested},
    {"fontSet", kTypeFontSet},
    {"area", kTypeRectangle},
    {"areaNeeded", kTypeRectangle},
    {"colorMap", kTypeCard32},
    {"stdColorMap", kTypeCard32},
    {"foreground", kTypeCard32},
    {"background", kTypeCard32},
    {"backgroundPixmap", kTypeCard32},
    {"spotLocation", kTypePoint},
    {"lineSpace", kTypeCard32},
    {"preeditState", kTypeCard32},
    {"separatorofNestedList", kTypeSeparator},
    {nullptr, 0},
};

struct IMExtList {
  const char* name;
  uint8_t major_opcode;
  uint8_t minor_opcode;
};

constexpr IMExtList Default_Extension[kXi18nExtensions] = {
    {"XIM_EXT_MOVE", XIM_EXTENSION, XIM_EXT_MOVE},
    {"XIM_EXT_SET_EVENT_MASK", XIM_EXTENSION, XIM_EXT_SET_EVENT_MASK},
    {"XIM_EXT_FORWARD_KEYEVENT", XIM_EXTENSION, XIM_EXT_FORWARD_KEYEVENT},
};

int CountAttrList(const IMListOfAttr* list) {
  int n = 0;
  while (list[n].name) ++n;
  return n;
}

XIMAttr* CreateAttrList(Xi18nCore* core, const IMListOfAttr* list, int* total) {
  const int n = CountAttrList(list);
  XIMAttr* attrs = static_cast<XIMAttr*>(std::calloc(static_cast<size_t>(n) + 1, sizeof(XIMAttr)));
  if (!attrs) return nullptr;
  for (int i = 0; i < n; ++i) {
    XIMAttr& a = attrs[i];
    a.name = list[i].name;
    a.length = static_cast<uint16_t>(std::strlen(a.name));
    a.type = list[i].type;
    a.attribute_id = static_cast<uint16_t>(XrmStringToQuark(a.name));
    if (std::strcmp(a.name, "preeditAttributes") == 0) {
      core->address.preeditAttr_id = a.attribute_id;
    } else if (std::strcmp(a.name, "statusAttributes") == 0) {
      core->address.statusAttr_id = a.attribute_id;
    } else if (std::strcmp(a.name, "separatorofNestedList") == 0) {
      core->address.separatorAttr_id = a.attribute_id;
    }
  }
  *total = n;
  return attrs;
}

}  // namespace

int _Xi18nInitAttrList(Xi18nCore* core) {
  _Xi18nFreeAttrList(core);
  Xi18nAddressRec& a = core->address;
  a.xim_attr = CreateAttrList(core, Default_IMattr, &a.im_attr_num);
  a.xic_attr = CreateAttrList(core, Default_ICattr, &a.ic_attr_num);
  if (!a.xim_attr || !a.xic_attr) {
    _Xi18nFreeAttrList(core);
    return 0;
  }
  return 1;
}

void _Xi18nFreeAttrList(Xi18nCore* core) {
  Xi18nAddressRec& a = core->address;
  std::free(a.xim_attr);
  std::free(a.xic_attr);
  a.xim_attr = nullptr;
  a.xic_attr = nullptr;
  a.im_attr_num = a.ic_attr_num = 0;
}

void _Xi18nInitExtension(Xi18nCore* core) {
  Xi18nAddressRec& a = core->address;
  for (int i = 0; i < kXi18nExtensions; ++i) {
    a.extension[i].name = Default_Extension[i].name;
    a.extension[i].length = static_cast<uint16_t>(std::strlen(Default_Extension[i].name));
    a.extension[i].major_opcode = Default_Extension[i].major_opcode;
    a.extension[i].minor_opcode = Default_Extension[i].minor_opcode;
  }
  a.ext_num = kXi18nExtensions;
}
