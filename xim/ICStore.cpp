// ICStore.cpp: the input-context records. Attribute values arrive decoded by
// the server (ICValues.h): numbers as 1, 2 or 4 host-order bytes, rectangles
// and points as XRectangle and XPoint, font sets as NUL-terminated strings.
// Every value is read through its length, never by the width of a C type.
#include "xim/ICStore.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>

IC* ic_list = nullptr;
IC* free_list = nullptr;
uint16_t icid = 0;

namespace {

// The lines a client's text may be set at; a get request always reports
// this, whatever the client stored.
constexpr uint32_t kLineSpace = 18;
// KeyPressMask | KeyReleaseMask: the events an input context filters.
constexpr uint32_t kFilterEvents = 3;

// A number attribute of 1, 2 or 4 bytes; false for any other length.
bool CardValue(const XICAttribute& a, uint32_t* out) {
  if (!a.value) return false;
  switch (a.value_length) {
    case 1: *out = *static_cast<const uint8_t*>(a.value); return true;
    case 2: {
      uint16_t v;
      std::memcpy(&v, a.value, 2);
      *out = v;
      return true;
    }
    case 4: {
      uint32_t v;
      std::memcpy(&v, a.value, 4);
      *out = v;
      return true;
    }
    default: return false;
  }
}

template <class T>
bool StructValue(const XICAttribute& a, T* out) {
  if (!a.value || a.value_length < static_cast<int>(sizeof(T))) return false;
  std::memcpy(out, a.value, sizeof(T));
  return true;
}

void StoreFont(const XICAttribute& a, char** font) {
  if (!a.value) return;
  const char* name = static_cast<const char*>(a.value);
  const size_t n = strnlen(name, a.value_length > 0 ? static_cast<size_t>(a.value_length) : 0);
  char* copy = static_cast<char*>(std::malloc(n + 1));
  if (!copy) return;
  std::memcpy(copy, name, n);
  copy[n] = '\0';
  std::free(*font);
  *font = copy;
}

// The preedit and status attributes share every field but the spot
// location, which only the preedit list stores.
void StoreCommon(const XICAttribute& a, StatusAttributes* s) {
  uint32_t v = 0;
  if (Is("area", &a)) {
    StructValue(a, &s->area);
  } else if (Is("areaNeeded", &a)) {
    StructValue(a, &s->area_needed);
  } else if (Is("colorMap", &a) || Is("stdColorMap", &a)) {
    if (CardValue(a, &v)) s->cmap = v;
  } else if (Is("foreground", &a)) {
    if (CardValue(a, &v)) s->foreground = v;
  } else if (Is("background", &a)) {
    if (CardValue(a, &v)) s->background = v;
  } else if (Is("backgroundPixmap", &a)) {
    if (CardValue(a, &v)) s->bg_pixmap = v;
  } else if (Is("fontSet", &a)) {
    StoreFont(a, &s->base_font);
  } else if (Is("lineSpace", &a)) {
    if (CardValue(a, &v)) s->line_space = v;
  } else if (Is("cursor", &a)) {
    if (CardValue(a, &v)) s->cursor = v;
  }
}

void StoreIC(IC* rec, const IMChangeICStruct* call_data) {
  uint32_t v = 0;
  for (int i = 0; i < call_data->ic_attr_num; ++i) {
    const XICAttribute& a = call_data->ic_attr[i];
    if (!CardValue(a, &v)) continue;
    if (Is("inputStyle", &a)) {
      rec->input_style = v;
    } else if (Is("clientWindow", &a)) {
      rec->client_win = v;
    } else if (Is("focusWindow", &a)) {
      rec->focus_win = v;
    }
  }
  for (int i = 0; i < call_data->preedit_attr_num; ++i) {
    const XICAttribute& a = call_data->preedit_attr[i];
    if (Is("spotLocation", &a)) {
      StructValue(a, &rec->pre_attr.spot_location);
    } else {
      StoreCommon(a, &rec->pre_attr);
    }
  }
  for (int i = 0; i < call_data->status_attr_num; ++i) {
    StoreCommon(call_data->status_attr[i], &rec->sts_attr);
  }
}

// A request may name only its own connection's contexts.
IC* FindOwnIC(uint16_t id, uint16_t connect_id) {
  IC* rec = FindIC(id);
  return rec && rec->connect_id == connect_id ? rec : nullptr;
}

bool SetValue(XICAttribute* a, const void* bytes, size_t n) {
  void* v = std::malloc(n > 0 ? n : 1);
  if (!v) return false;
  if (n > 0) std::memcpy(v, bytes, n);
  std::free(a->value);
  a->value = v;
  a->value_length = static_cast<int>(n);
  return true;
}

bool SetCard(XICAttribute* a, uint32_t v) { return SetValue(a, &v, sizeof v); }

void GetCommon(XICAttribute* a, const StatusAttributes& s) {
  if (Is("area", a)) {
    SetValue(a, &s.area, sizeof s.area);
  } else if (Is("areaNeeded", a)) {
    SetValue(a, &s.area_needed, sizeof s.area_needed);
  } else if (Is("fontSet", a)) {
    const char* font = s.base_font ? s.base_font : "";
    SetValue(a, font, std::strlen(font));
  } else if (Is("foreground", a)) {
    SetCard(a, s.foreground);
  } else if (Is("background", a)) {
    SetCard(a, s.background);
  } else if (Is("lineSpace", a)) {
    SetCard(a, kLineSpace);
  }
}

void FreeRecord(IC* rec) {
  std::free(rec->pre_attr.base_font);
  std::free(rec->sts_attr.base_font);
  delete rec;
}

}  // namespace

bool Is(const char* name, const XICAttribute* attr) {
  return attr && attr->name && std::strcmp(name, attr->name) == 0;
}

IC* FindIC(uint16_t id) {
  for (IC* rec = ic_list; rec; rec = rec->next) {
    if (rec->id == id) return rec;
  }
  return nullptr;
}

IC* NewIC() {
  // Ids wrap after 65535 creations: skip 0 and every id still in use.
  uint16_t id = icid;
  for (int tries = 0;; ++tries) {
    if (tries > 0xffff) return nullptr;
    ++id;
    if (id != 0 && !FindIC(id)) break;
  }
  IC* rec;
  if (free_list) {
    rec = free_list;
    free_list = rec->next;
    std::free(rec->pre_attr.base_font);
    std::free(rec->sts_attr.base_font);
  } else {
    rec = new (std::nothrow) IC;
    if (!rec) return nullptr;
  }
  *rec = IC{};
  icid = id;
  rec->id = id;
  rec->next = ic_list;
  ic_list = rec;
  return rec;
}

void DeleteIC(uint16_t id) {
  for (IC** link = &ic_list; *link; link = &(*link)->next) {
    IC* rec = *link;
    if (rec->id != id) continue;
    *link = rec->next;
    std::free(rec->pre_attr.base_font);
    std::free(rec->sts_attr.base_font);
    rec->pre_attr.base_font = rec->sts_attr.base_font = nullptr;
    rec->next = free_list;
    free_list = rec;
    return;
  }
}

int CreateIC(IMChangeICStruct* call_data) {
  IC* rec = NewIC();
  if (!rec) return 0;
  rec->connect_id = call_data->connect_id;
  StoreIC(rec, call_data);
  call_data->icid = rec->id;
  return 1;
}

int SetIC(IMChangeICStruct* call_data) {
  IC* rec = FindOwnIC(call_data->icid, call_data->connect_id);
  if (!rec) return 0;
  StoreIC(rec, call_data);
  return 1;
}

int GetIC(IMChangeICStruct* call_data) {
  IC* rec = FindOwnIC(call_data->icid, call_data->connect_id);
  if (!rec) return 0;
  for (int i = 0; i < call_data->ic_attr_num; ++i) {
    XICAttribute* a = &call_data->ic_attr[i];
    if (Is("filterEvents", a)) SetCard(a, kFilterEvents);
  }
  for (int i = 0; i < call_data->preedit_attr_num; ++i) {
    XICAttribute* a = &call_data->preedit_attr[i];
    if (Is("spotLocation", a)) {
      SetValue(a, &rec->pre_attr.spot_location, sizeof rec->pre_attr.spot_location);
    } else {
      GetCommon(a, rec->pre_attr);
    }
  }
  for (int i = 0; i < call_data->status_attr_num; ++i) {
    GetCommon(&call_data->status_attr[i], rec->sts_attr);
  }
  return 1;
}

int DestroyIC(IMDestroyICStruct* call_data) {
  if (!FindOwnIC(call_data->icid, call_data->connect_id)) return 0;
  DeleteIC(call_data->icid);
  return 1;
}

void DeleteClientICs(uint16_t connect_id) {
  IC* rec = ic_list;
  while (rec) {
    IC* next = rec->next;
    if (rec->connect_id == connect_id) DeleteIC(rec->id);
    rec = next;
  }
}

void FreeICStore() {
  for (IC** list : {&ic_list, &free_list}) {
    while (IC* rec = *list) {
      *list = rec->next;
      FreeRecord(rec);
    }
  }
  icid = 0;
}
