// ICStore.h: the input-context store. One record per input context that a
// client created: its style, windows and the preedit and status attributes
// the client set. The protocol handler creates a record on XIM_CREATE_IC,
// stores every create and set request into it, answers get requests from it
// and removes it on XIM_DESTROY_IC; when a connection ends (XIM_DISCONNECT,
// or its window is destroyed) every record of that connection goes.
//
// Ids are unique across all clients: they count up from 1, skip 0 and skip
// ids still in use when the 16-bit counter wraps. A request may only touch
// the records of its own connection; any other id counts as unknown.
//
// Ownership: the store owns its records and their font names. Values handed
// out by GetIC are malloc'd and belong to the server, which frees them after
// its reply. One thread, like the server.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "xim/XimProto.h"

// The attributes the preedit and status areas share.
struct StatusAttributes {
  XRectangle area;
  XRectangle area_needed;
  uint32_t cmap;
  uint32_t foreground;
  uint32_t background;
  uint32_t bg_pixmap;
  char* base_font;  // owned, NUL-terminated; null until set
  uint32_t line_space;
  uint32_t cursor;
};

struct PreeditAttributes : StatusAttributes {
  XPoint spot_location;
};

struct IC {
  uint16_t id;
  uint16_t connect_id;  // the connection that created it
  uint32_t input_style;
  Window client_win;
  Window focus_win;
  PreeditAttributes pre_attr;
  StatusAttributes sts_attr;
  IC* next;
};

// Store globals: written only by the functions below, read by the protocol
// handler through them. ic_list holds the records in use, newest first;
// free_list the records kept for reuse; icid the last id handed out.
extern IC* ic_list;
extern IC* free_list;
extern uint16_t icid;

// A new record for the request's connection, filled from the request; its
// id goes into call_data->icid. 0 when memory runs out or every id is in use.
[[nodiscard]] int CreateIC(IMChangeICStruct* call_data);
// Stores the request's values into its record. 0 when the id is unknown.
[[nodiscard]] int SetIC(IMChangeICStruct* call_data);
// Fills value and value_length of the asked attributes the store knows
// (new malloc'd values); the rest stay empty. 0 when the id is unknown.
[[nodiscard]] int GetIC(IMChangeICStruct* call_data);
// Removes the request's record. 0 when the id is unknown.
[[nodiscard]] int DestroyIC(IMDestroyICStruct* call_data);

// A cleared record with a fresh id at the head of ic_list; null when memory
// runs out or every id is in use.
IC* NewIC();
// The record with that id, or null.
IC* FindIC(uint16_t id);
// Moves the record to free_list; an unknown id does nothing.
void DeleteIC(uint16_t id);
// Whether the attribute's name is exactly `name`.
bool Is(const char* name, const XICAttribute* attr);

// Removes every record of a connection (it disconnected or vanished).
void DeleteClientICs(uint16_t connect_id);
// Frees every record, in use or kept, and resets the counter.
void FreeICStore();
