// Xi18nArgs.cpp: the server's IM values. Open and set store copies; get
// hands back new copies. A value, once set, cannot be set again (open and
// later set calls alike), except the protocol handler, which may be
// replaced.
#include <cstdlib>
#include <cstring>

#include "xim/internal/Xi18nCore.h"

namespace {

char* CopyString(const char* s) {
  if (!s) return nullptr;
  const size_t n = std::strlen(s) + 1;
  char* p = static_cast<char*>(std::malloc(n));
  if (p) std::memcpy(p, s, n);
  return p;
}

template <class T>
T* CopyArray(const T* src, size_t n) {
  T* p = static_cast<T*>(std::malloc(n ? n * sizeof(T) : 1));
  if (p && n) std::memcpy(p, src, n * sizeof(T));
  return p;
}

template <class T>
T* FromWord(uintptr_t w) {
  return reinterpret_cast<T*>(w);
}

// ---- open and set ----

bool StoreValue(Xi18nAddressRec* a, const XIMArg& arg, uint32_t bit) {
  if (bit == I18N_IMSERVER_WIN) {
    a->im_window = static_cast<Window>(arg.value);
  } else if (bit == I18N_IM_NAME || bit == I18N_IM_LOCALE || bit == I18N_IM_ADDRESS) {
    const char* s = FromWord<const char>(arg.value);
    if (!s) return false;
    char* copy = CopyString(s);
    if (!copy) return false;
    (bit == I18N_IM_NAME ? a->im_name : bit == I18N_IM_LOCALE ? a->im_locale : a->im_addr) = copy;
  } else if (bit == I18N_INPUT_STYLES) {
    const XIMStyles* s = FromWord<const XIMStyles>(arg.value);
    if (!s || (s->count_styles && !s->supported_styles)) return false;
    XIMStyle* styles = CopyArray(s->supported_styles, s->count_styles);
    if (!styles) return false;
    a->input_styles.count_styles = s->count_styles;
    a->input_styles.supported_styles = styles;
  } else if (bit == I18N_ON_KEYS || bit == I18N_OFF_KEYS) {
    const XIMTriggerKeys* k = FromWord<const XIMTriggerKeys>(arg.value);
    if (!k || (k->count_keys && !k->keylist)) return false;
    XIMTriggerKey* rows = CopyArray(k->keylist, k->count_keys);
    if (!rows) return false;
    XIMTriggerKeys& dst = bit == I18N_ON_KEYS ? a->on_keys : a->off_keys;
    dst.count_keys = k->count_keys;
    dst.keylist = rows;
  } else if (bit == I18N_IM_HANDLER) {
    a->improto = reinterpret_cast<IMProtoHandler>(arg.value);
  } else if (bit == I18N_ENCODINGS) {
    const XIMEncodings* e = FromWord<const XIMEncodings>(arg.value);
    if (!e || (e->count_encodings && !e->supported_encodings)) return false;
    char** names = CopyArray(e->supported_encodings, e->count_encodings);
    if (!names) return false;
    a->encoding_list.count_encodings = e->count_encodings;
    a->encoding_list.supported_encodings = names;
  } else if (bit == I18N_FILTERMASK) {
    a->filterevent_mask = static_cast<uint32_t>(arg.value);
  }
  return true;
}

// ---- get ----

bool ReadValue(const Xi18nAddressRec* a, const XIMArg& arg, uint32_t bit) {
  void* out = FromWord<void>(arg.value);
  if (!out || !(a->imvalue_mask & bit)) return false;
  if (bit == I18N_IMSERVER_WIN) {
    *static_cast<Window*>(out) = a->im_window;
  } else if (bit == I18N_IM_HANDLER) {
    *static_cast<IMProtoHandler*>(out) = a->improto;
  } else if (bit == I18N_FILTERMASK) {
    *static_cast<uint32_t*>(out) = a->filterevent_mask;
  } else if (bit == I18N_IM_NAME || bit == I18N_IM_LOCALE || bit == I18N_IM_ADDRESS) {
    const char* s = bit == I18N_IM_NAME     ? a->im_name
                    : bit == I18N_IM_LOCALE ? a->im_locale
                                            : a->im_addr;
    char* copy = CopyString(s);
    if (!copy) return false;
    *static_cast<char**>(out) = copy;
  } else if (bit == I18N_INPUT_STYLES) {
    // One block: the header followed by its array.
    const size_t n = a->input_styles.count_styles;
    XIMStyles* block =
        static_cast<XIMStyles*>(std::malloc(sizeof(XIMStyles) + n * sizeof(XIMStyle)));
    if (!block) return false;
    block->count_styles = static_cast<unsigned short>(n);
    block->supported_styles = reinterpret_cast<XIMStyle*>(block + 1);
    if (n)
      std::memcpy(block->supported_styles, a->input_styles.supported_styles, n * sizeof(XIMStyle));
    *static_cast<XIMStyles**>(out) = block;
  } else if (bit == I18N_ON_KEYS || bit == I18N_OFF_KEYS) {
    const XIMTriggerKeys& src = bit == I18N_ON_KEYS ? a->on_keys : a->off_keys;
    const size_t n = src.count_keys;
    XIMTriggerKeys* block = static_cast<XIMTriggerKeys*>(
        std::malloc(sizeof(XIMTriggerKeys) + n * sizeof(XIMTriggerKey)));
    if (!block) return false;
    block->count_keys = static_cast<uint16_t>(n);
    block->keylist = reinterpret_cast<XIMTriggerKey*>(block + 1);
    if (n) std::memcpy(block->keylist, src.keylist, n * sizeof(XIMTriggerKey));
    *static_cast<XIMTriggerKeys**>(out) = block;
  } else if (bit == I18N_ENCODINGS) {
    // The header, the pointer array and the names, one after another.
    const size_t n = a->encoding_list.count_encodings;
    size_t bytes = sizeof(XIMEncodings) + n * sizeof(char*);
    for (size_t i = 0; i < n; ++i)
      bytes += std::strlen(a->encoding_list.supported_encodings[i]) + 1;
    XIMEncodings* block = static_cast<XIMEncodings*>(std::malloc(bytes));
    if (!block) return false;
    block->count_encodings = static_cast<uint16_t>(n);
    block->supported_encodings = reinterpret_cast<char**>(block + 1);
    char* text = reinterpret_cast<char*>(block->supported_encodings + n);
    for (size_t i = 0; i < n; ++i) {
      const size_t len = std::strlen(a->encoding_list.supported_encodings[i]) + 1;
      std::memcpy(text, a->encoding_list.supported_encodings[i], len);
      block->supported_encodings[i] = text;
      text += len;
    }
    *static_cast<XIMEncodings**>(out) = block;
  }
  return true;
}

struct NamedBit {
  const char* name;
  uint32_t bit;
};

constexpr NamedBit kValues[] = {
    {IMServerWindow, I18N_IMSERVER_WIN}, {IMServerName, I18N_IM_NAME},
    {IMLocale, I18N_IM_LOCALE},          {IMServerTransport, I18N_IM_ADDRESS},
    {IMInputStyles, I18N_INPUT_STYLES},  {IMOnKeysList, I18N_ON_KEYS},
    {IMOffKeysList, I18N_OFF_KEYS},      {IMProtocolHandler, I18N_IM_HANDLER},
    {IMEncodingList, I18N_ENCODINGS},    {IMFilterEventMask, I18N_FILTERMASK},
};

uint32_t BitOf(const char* name) {
  for (const NamedBit& v : kValues) {
    if (std::strcmp(v.name, name) == 0) return v.bit;
  }
  return 0;
}

}  // namespace

const char* ParseArgs(Xi18nAddressRec* a, const XIMArg* args, Xi18nArgMode mode) {
  for (const XIMArg* arg = args; arg && arg->name; ++arg) {
    const uint32_t bit = BitOf(arg->name);
    if (!bit) continue;  // other names (such as "modifiers") are not ours
    if (mode == Xi18nArgMode::Get) {
      if (!ReadValue(a, *arg, bit)) return arg->name;
      continue;
    }
    if ((a->imvalue_mask & bit) && bit != I18N_IM_HANDLER) return arg->name;
    if (!StoreValue(a, *arg, bit)) return arg->name;
    a->imvalue_mask |= bit;
  }
  if (mode == Xi18nArgMode::Open) {
    if (!(a->imvalue_mask & I18N_IM_LOCALE)) return IMLocale;
    if (!(a->imvalue_mask & I18N_IM_ADDRESS)) return IMServerTransport;
    // The selection is named after the server: without a name there is
    // nothing to register.
    if (!(a->imvalue_mask & I18N_IM_NAME)) return IMServerName;
  }
  return nullptr;
}

void FreeArgCopies(Xi18nAddressRec* a) {
  std::free(a->im_name);
  std::free(a->im_locale);
  std::free(a->im_addr);
  std::free(a->input_styles.supported_styles);
  std::free(a->on_keys.keylist);
  std::free(a->off_keys.keylist);
  std::free(a->encoding_list.supported_encodings);
  a->im_name = a->im_locale = a->im_addr = nullptr;
  a->input_styles = XIMStyles{};
  a->on_keys = XIMTriggerKeys{};
  a->off_keys = XIMTriggerKeys{};
  a->encoding_list = XIMEncodings{};
}
