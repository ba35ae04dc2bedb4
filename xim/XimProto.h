// XimProto.h: what the XIM server hands to the application and takes back:
// the protocol's opcodes and flags, and the request records (`IMProtocol`
// and its members) that the server fills from a client's message before it
// calls the application's protocol handler, and that the application passes
// to IMForwardEvent, IMCommitString and the other calls of XimServer.h.
//
// Records are plain data. Pointers inside a record handed to the protocol
// handler (strings, attribute lists) belong to the server and live only
// during that call. 16-bit fields are the protocol's 16-bit fields.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

typedef struct _XIMS* XIMS;

// Major opcodes of the protocol.
enum : uint8_t {
  XIM_CONNECT = 1,
  XIM_CONNECT_REPLY = 2,
  XIM_DISCONNECT = 3,
  XIM_DISCONNECT_REPLY = 4,
  XIM_AUTH_REQUIRED = 10,
  XIM_AUTH_REPLY = 11,
  XIM_AUTH_NEXT = 12,
  XIM_AUTH_SETUP = 13,
  XIM_AUTH_NG = 14,
  XIM_ERROR = 20,
  XIM_OPEN = 30,
  XIM_OPEN_REPLY = 31,
  XIM_CLOSE = 32,
  XIM_CLOSE_REPLY = 33,
  XIM_REGISTER_TRIGGERKEYS = 34,
  XIM_TRIGGER_NOTIFY = 35,
  XIM_TRIGGER_NOTIFY_REPLY = 36,
  XIM_SET_EVENT_MASK = 37,
  XIM_ENCODING_NEGOTIATION = 38,
  XIM_ENCODING_NEGOTIATION_REPLY = 39,
  XIM_QUERY_EXTENSION = 40,
  XIM_QUERY_EXTENSION_REPLY = 41,
  XIM_SET_IM_VALUES = 42,
  XIM_SET_IM_VALUES_REPLY = 43,
  XIM_GET_IM_VALUES = 44,
  XIM_GET_IM_VALUES_REPLY = 45,
  XIM_CREATE_IC = 50,
  XIM_CREATE_IC_REPLY = 51,
  XIM_DESTROY_IC = 52,
  XIM_DESTROY_IC_REPLY = 53,
  XIM_SET_IC_VALUES = 54,
  XIM_SET_IC_VALUES_REPLY = 55,
  XIM_GET_IC_VALUES = 56,
  XIM_GET_IC_VALUES_REPLY = 57,
  XIM_SET_IC_FOCUS = 58,
  XIM_UNSET_IC_FOCUS = 59,
  XIM_FORWARD_EVENT = 60,
  XIM_SYNC = 61,
  XIM_SYNC_REPLY = 62,
  XIM_COMMIT = 63,
  XIM_RESET_IC = 64,
  XIM_RESET_IC_REPLY = 65,
  XIM_GEOMETRY = 70,
  XIM_STR_CONVERSION = 71,
  XIM_STR_CONVERSION_REPLY = 72,
  XIM_PREEDIT_START = 73,
  XIM_PREEDIT_START_REPLY = 74,
  XIM_PREEDIT_DRAW = 75,
  XIM_PREEDIT_CARET = 76,
  XIM_PREEDIT_CARET_REPLY = 77,
  XIM_PREEDIT_DONE = 78,
  XIM_STATUS_START = 79,
  XIM_STATUS_DRAW = 80,
  XIM_STATUS_DONE = 81,
  XIM_EXTENSION = 128,
};

// Minor opcodes of the extensions the server offers (major XIM_EXTENSION).
enum : uint8_t {
  XIM_EXT_SET_EVENT_MASK = 48,
  XIM_EXT_FORWARD_KEYEVENT = 50,
  XIM_EXT_MOVE = 51,
};

// Flags of forward-event and commit requests.
enum : uint16_t {
  XimSYNCHRONUS = 1,
  XimLookupChars = 2,
  XimLookupKeySym = 4,
  XimLookupBoth = XimLookupChars | XimLookupKeySym,
};

// One trigger key row: on the wire three 32-bit values.
struct XIMTriggerKey {
  uint32_t keysym;
  uint32_t modifier;
  uint32_t modifier_mask;
};

struct XIMTriggerKeys {
  uint16_t count_keys;
  XIMTriggerKey* keylist;
};

// Encoding names; the names themselves stay the caller's.
struct XIMEncodings {
  uint16_t count_encodings;
  char** supported_encodings;
};

struct XIMStr {
  int length;
  char* name;
};

// A decoded IM or IC attribute value.
struct XICAttribute {
  int attribute_id;
  uint16_t name_length;
  char* name;
  int value_length;
  void* value;
  int type;
};
typedef XICAttribute XIMAttribute;

// The head every request record starts with.
struct IMAnyStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
};

struct IMConnectStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
  char byte_order;
  uint16_t major_version;
  uint16_t minor_version;
};

struct IMDisConnectStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
};

struct IMOpenStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
  XIMStr lang;
};

struct IMCloseStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
};

struct IMQueryExtensionStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
  uint16_t number;
  XIMStr* extension;
};

struct IMGetIMValuesStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
  uint16_t number;
  uint16_t* im_attr_list;
};

struct IMEncodingNegotiationStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
  uint16_t encoding_number;
  XIMStr* encoding;
  uint16_t encoding_info_number;
  XIMStr* encodinginfo;
  uint16_t category;
  int16_t enc_index;
};

struct IMChangeICStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
  uint16_t icid;
  uint16_t preedit_attr_num;
  uint16_t status_attr_num;
  uint16_t ic_attr_num;
  XICAttribute* preedit_attr;
  XICAttribute* status_attr;
  XICAttribute* ic_attr;
};

// Destroy, focus change, sync, preedit state and geometry requests carry
// only the input context.
struct IMICStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
  uint16_t icid;
};
typedef IMICStruct IMDestroyICStruct;
typedef IMICStruct IMChangeFocusStruct;
typedef IMICStruct IMSyncXlibStruct;
typedef IMICStruct IMPreeditStateStruct;
typedef IMICStruct IMGeometryCBStruct;

struct IMResetICStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
  uint16_t icid;
  uint16_t length;
  char* commit_string;
};

struct IMForwardEventStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
  uint16_t icid;
  uint16_t sync_bit;
  uint16_t serial_number;  // the high half of the event's serial
  XEvent event;
};

struct IMCommitStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
  uint16_t icid;
  uint16_t flag;
  uint32_t keysym;
  char* commit_string;  // COMPOUND_TEXT bytes, NUL-terminated; the caller's
};

struct IMTriggerNotifyStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
  uint16_t icid;
  uint32_t flag;  // 0 on, 1 off
  uint32_t key_index;
  uint32_t event_mask;
};

struct IMMoveStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
  uint16_t icid;
  int16_t x;
  int16_t y;
};

// Callback data of the server-to-client drawing messages.
struct IMPreeditDrawData {
  int32_t caret;
  int32_t chg_first;
  int32_t chg_length;
  uint16_t length;     // bytes of `string`
  char* string;        // may be null
  uint32_t* feedback;  // ends at the first 0; may be null
};

struct IMPreeditCaretData {
  int32_t position;
  uint32_t direction;
  uint32_t style;
};

struct IMPreeditCBStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
  uint16_t icid;
  union {
    int32_t return_value;
    IMPreeditDrawData draw;
    IMPreeditCaretData caret;
  } todo;
};

struct IMStatusCBStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
  uint16_t icid;
  uint32_t type;  // 0 text, 1 bitmap
  union {
    IMPreeditDrawData text;  // caret fields unused
    uint32_t bitmap;
  } todo;
};

struct IMStrConvCBStruct {
  int major_code;
  int minor_code;
  uint16_t connect_id;
  uint16_t icid;
  uint32_t position;
  uint32_t direction;
  uint32_t operation;
  uint16_t factor;
  uint16_t length;
  char* text;  // the client's reply; the server's during the call
};

union IMProtocol {
  int major_code;
  IMAnyStruct any;
  IMConnectStruct imconnect;
  IMDisConnectStruct imdisconnect;
  IMOpenStruct imopen;
  IMCloseStruct imclose;
  IMQueryExtensionStruct queryext;
  IMGetIMValuesStruct getim;
  IMEncodingNegotiationStruct encodingnego;
  IMChangeICStruct changeic;
  IMDestroyICStruct destroyic;
  IMChangeFocusStruct changefocus;
  IMSyncXlibStruct sync_xlib;
  IMPreeditStateStruct preedit_state;
  IMGeometryCBStruct geometry_callback;
  IMResetICStruct resetic;
  IMForwardEventStruct forwardevent;
  IMCommitStruct commitstring;
  IMTriggerNotifyStruct triggernotify;
  IMMoveStruct extmove;
  IMPreeditCBStruct preedit_callback;
  IMStatusCBStruct status_callback;
  IMStrConvCBStruct strconv_callback;
};

// The application's protocol handler: called for each request the
// application takes part in; for some requests 0 suppresses the reply.
typedef int (*IMProtoHandler)(XIMS ims, IMProtocol* call_data);
