// WinMsg.h: window messages, the framework's own notifications between
// windows. A window message is an X ClientMessage of format 32 whose message
// type holds a plain integer id and whose data words l[0] to l[2] carry the
// parameters. Because a plain id could equal an atom number (the XIM
// transport's messages are ClientMessages too), every window message also
// carries kWinMsgMagic in l[4]; the loops recognise window messages by it and
// dispatch them before Xlib's filters can take them.
//
// A sent message (SendWinEvent) is a direct call and its words may hold
// pointers. A posted one (PostWinEvent) travels through the X server, which
// keeps only 32 bits of each word: post ids, codes and coordinates, never a
// pointer, and read the words back with WinMsgWord / WinMsgInt.
#pragma once

#include <cstdint>

#include "framework/XTypes.h"

// The framework's ids.
enum AfcWinMsg : int {
  WM_AFC_COMMAND = 273,       // posted by menus and hot keys: l[0] the command id
  WM_AFC_TIMER = 1000,        // posted by the timer pump: l[0] slot, l[1] tick count
  WM_AFC_CREATE = 1200,       // sent by CreateWin: l[0] creation parameter
  WM_AFC_DESTROY = 1201,      // sent by DestroyWin: a result of 0 refuses
  WM_AFC_AFTERCREATE = 1203,  // posted by CreateWin after 1200
  WM_AFC_SHOW = 1205,         // posted by ShowWin: l[0] 1 shown, 0 hidden
  WM_AFC_DBLCLICK = 1381,     // posted by the click counting: l[0] x, l[1] y
};

// The mark in data word 4 of every window message ("KVRW").
constexpr uint32_t kWinMsgMagic = 0x4B565257u;
constexpr int kWinMsgMagicWord = 4;

// True when event is a window message (sent or posted).
bool IsWinMsg(const XEvent* event);
// The message id of a window message (its message type), or 0.
int WinMsgId(const XEvent* event);
// Data word i (0 to 2) of a window message as the 32 bits that a post keeps.
uint32_t WinMsgWord(const XEvent* event, int i);
// The same word as a signed 32-bit value (negative coordinates survive).
int32_t WinMsgInt(const XEvent* event, int i);
// Data word i in full; only meaningful for sent messages, whose words may
// hold pointers.
unsigned long WinMsgLong(const XEvent* event, int i);
