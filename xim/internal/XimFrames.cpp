// XimFrames.cpp: the frame templates. Each table follows the protocol's
// layout of its message; PADDING(n, 4) aligns the n items before it to four
// bytes, a counter names the distance to the list it measures.
#include "xim/internal/XimFrames.h"

namespace {

constexpr XimFrameRec F(XimFrameType t, uint32_t data = 0) { return XimFrameRec{t, data, nullptr}; }
constexpr XimFrameRec Pad(uint32_t nItems) { return F(PADDING, FmPadding(nItems, 4)); }
constexpr XimFrameRec Count16(uint32_t distance) {
  return F(COUNTER_BIT16, FmByteCounter(distance));
}
constexpr XimFrameRec Count32(uint32_t distance) {
  return F(COUNTER_BIT32, FmByteCounter(distance));
}
constexpr XimFrameRec Elements16(uint32_t distance) {
  return F(COUNTER_BIT16, FmCountCounter(distance));
}
constexpr XimFrameRec Ptr(const XimFrameRec* nested) { return XimFrameRec{PTR_ITEM, 0, nested}; }
constexpr XimFrameRec kEol = F(EOL);

}  // namespace

// ---- records repeated inside messages ----

// XIMATTR / XICATTR: id, type, name length, name, pad(2 + n)
const XimFrameRec ximattr_fr[] = {F(BIT16), F(BIT16), F(BIT16), F(BARRAY), Pad(2), kEol};
const XimFrameRec xicattr_fr[] = {F(BIT16), F(BIT16), F(BIT16), F(BARRAY), Pad(2), kEol};
// XIMATTRIBUTE / XICATTRIBUTE: id, value length, value, pad(n)
const XimFrameRec ximattribute_fr[] = {F(BIT16), F(BIT16), F(BARRAY), Pad(1), kEol};
const XimFrameRec xicattribute_fr[] = {F(BIT16), F(BIT16), F(BARRAY), Pad(1), kEol};
// XIMTRIGGERKEY: keysym, modifier, modifier mask
const XimFrameRec ximtriggerkey_fr[] = {F(BIT32), F(BIT32), F(BIT32), kEol};
// ENCODINGINFO: length, bytes, pad(2 + n)
const XimFrameRec encodinginfo_fr[] = {F(BIT16), F(BARRAY), Pad(2), kEol};
// STR: 8-bit length and bytes, unpadded
const XimFrameRec str_fr[] = {F(BIT8), F(BARRAY), kEol};
// XPCS and the protocol's STRING: 16-bit length, bytes, pad(2 + n)
const XimFrameRec xpcs_fr[] = {F(BIT16), F(BARRAY), Pad(2), kEol};
// EXT: major, minor, name length, name, pad(n)
const XimFrameRec ext_fr[] = {F(BIT8), F(BIT8), F(BIT16), F(BARRAY), Pad(1), kEol};
const XimFrameRec inputstyle_fr[] = {F(BIT32), kEol};
const XimFrameRec attr_head_fr[] = {F(BIT16), F(BIT16), kEol};
const XimFrameRec short_fr[] = {F(BIT16), kEol};
const XimFrameRec long_fr[] = {F(BIT32), kEol};
const XimFrameRec xrectangle_fr[] = {F(BIT16), F(BIT16), F(BIT16), F(BIT16), kEol};
const XimFrameRec xpoint_fr[] = {F(BIT16), F(BIT16), kEol};
// XFontSet value: base font name length, names, pad(2 + n)
const XimFrameRec fontset_fr[] = {F(BIT16), F(BARRAY), Pad(2), kEol};
// queryInputStyle value: style count (set by the caller), pad, styles
const XimFrameRec input_styles_fr[] = {F(BIT16),           Pad(1), F(ITER), F(POINTER),
                                       Ptr(inputstyle_fr), kEol};

// ---- messages ----

// major opcode, minor opcode, length in 4-byte units
const XimFrameRec packet_header_fr[] = {F(BIT8), F(BIT8), F(BIT16), kEol};
// im id, ic id, flag, error code, detail length, detail type, detail, pad(n)
const XimFrameRec error_fr[] = {F(BIT16), F(BIT16),  F(BIT16), F(BIT16), F(BIT16),
                                F(BIT16), F(BARRAY), Pad(1),   kEol};
// byte order, unused, major and minor version, count of auth names, names
const XimFrameRec connect_fr[] = {F(BIT8),       F(PADDING, FmPadding(1, 2)),
                                  F(BIT16),      F(BIT16),
                                  Elements16(1), F(ITER),
                                  F(POINTER),    Ptr(xpcs_fr),
                                  kEol};
const XimFrameRec connect_reply_fr[] = {F(BIT16), F(BIT16), kEol};
// auth protocol index, unused, data length, unused, data, pad(n)
const XimFrameRec auth_required_fr[] = {F(BIT8),   F(BIT8), F(BIT16), F(BIT16),
                                        F(BARRAY), Pad(1),  kEol};
const XimFrameRec auth_reply_fr[] = {F(BIT16), F(BIT16), F(BARRAY), Pad(1), kEol};
const XimFrameRec auth_next_fr[] = {F(BIT16), F(BIT16), F(BARRAY), Pad(1), kEol};
const XimFrameRec auth_setup_fr[] = {Elements16(2), Pad(1),       F(ITER),
                                     F(POINTER),    Ptr(xpcs_fr), kEol};
const XimFrameRec auth_ng_fr[] = {kEol};
const XimFrameRec disconnect_fr[] = {kEol};
const XimFrameRec disconnect_reply_fr[] = {kEol};
// locale name (STR), pad
const XimFrameRec open_fr[] = {F(POINTER), Ptr(str_fr), Pad(1), kEol};
// im id, IM attributes, IC attribute byte length, unused, IC attributes
const XimFrameRec open_reply_fr[] = {F(BIT16),        Count16(1),      F(ITER), F(POINTER),
                                     Ptr(ximattr_fr), Count16(2),      Pad(1),  F(ITER),
                                     F(POINTER),      Ptr(xicattr_fr), kEol};
const XimFrameRec close_fr[] = {F(BIT16), Pad(1), kEol};
const XimFrameRec close_reply_fr[] = {F(BIT16), Pad(1), kEol};
// im id, unused, on-keys byte length and list, off-keys byte length and list
const XimFrameRec register_triggerkeys_fr[] = {F(BIT16),   Pad(1),
                                               Count32(1), F(ITER),
                                               F(POINTER), Ptr(ximtriggerkey_fr),
                                               Count32(1), F(ITER),
                                               F(POINTER), Ptr(ximtriggerkey_fr),
                                               kEol};
// im id, ic id, flag, key index, event mask
const XimFrameRec trigger_notify_fr[] = {F(BIT16), F(BIT16), F(BIT32), F(BIT32), F(BIT32), kEol};
const XimFrameRec trigger_notify_reply_fr[] = {F(BIT16), F(BIT16), kEol};
// im id, ic id, forward mask, synchronous mask
const XimFrameRec set_event_mask_fr[] = {F(BIT16), F(BIT16), F(BIT32), F(BIT32), kEol};
// im id, encoding names (STR list), pad, info byte length, unused, infos
const XimFrameRec encoding_negotiation_fr[] = {
    F(BIT16),   Count16(1), F(ITER), F(POINTER), Ptr(str_fr),          Pad(1),
    Count16(2), Pad(1),     F(ITER), F(POINTER), Ptr(encodinginfo_fr), kEol};
// im id, category, index, unused
const XimFrameRec encoding_negotiation_reply_fr[] = {F(BIT16), F(BIT16), F(BIT16), Pad(1), kEol};
// im id, names asked (STR list), pad
const XimFrameRec query_extension_fr[] = {F(BIT16),    Count16(1), F(ITER), F(POINTER),
                                          Ptr(str_fr), Pad(1),     kEol};
// im id, extensions
const XimFrameRec query_extension_reply_fr[] = {F(BIT16),   Count16(1),  F(ITER),
                                                F(POINTER), Ptr(ext_fr), kEol};
// im id, attribute ids, pad
const XimFrameRec get_im_values_fr[] = {F(BIT16), Count16(1), F(ITER), F(BIT16), Pad(1), kEol};
// im id, attribute values
const XimFrameRec get_im_values_reply_fr[] = {F(BIT16),   Count16(1),           F(ITER),
                                              F(POINTER), Ptr(ximattribute_fr), kEol};
// im id, attribute values
const XimFrameRec create_ic_fr[] = {F(BIT16),   Count16(1),           F(ITER),
                                    F(POINTER), Ptr(xicattribute_fr), kEol};
const XimFrameRec create_ic_reply_fr[] = {F(BIT16), F(BIT16), kEol};
const XimFrameRec destroy_ic_fr[] = {F(BIT16), F(BIT16), kEol};
const XimFrameRec destroy_ic_reply_fr[] = {F(BIT16), F(BIT16), kEol};
// im id, ic id, byte length, unused, attribute values
const XimFrameRec set_ic_values_fr[] = {F(BIT16), F(BIT16),   Count16(2),           Pad(1),
                                        F(ITER),  F(POINTER), Ptr(xicattribute_fr), kEol};
const XimFrameRec set_ic_values_reply_fr[] = {F(BIT16), F(BIT16), kEol};
// im id, ic id, attribute ids, pad(2 + n)
const XimFrameRec get_ic_values_fr[] = {F(BIT16), F(BIT16), Count16(1), F(ITER),
                                        F(BIT16), Pad(2),   kEol};
// im id, ic id, byte length, unused, attribute values
const XimFrameRec get_ic_values_reply_fr[] = {F(BIT16), F(BIT16),   Count16(2),           Pad(1),
                                              F(ITER),  F(POINTER), Ptr(xicattribute_fr), kEol};
const XimFrameRec set_ic_focus_fr[] = {F(BIT16), F(BIT16), kEol};
const XimFrameRec unset_ic_focus_fr[] = {F(BIT16), F(BIT16), kEol};
// im id, ic id, flag, serial; the 32-byte X event follows, coded apart
const XimFrameRec forward_event_fr[] = {F(BIT16), F(BIT16), F(BIT16), F(BIT16), kEol};
const XimFrameRec sync_fr[] = {F(BIT16), F(BIT16), kEol};
const XimFrameRec sync_reply_fr[] = {F(BIT16), F(BIT16), kEol};
// im id, ic id, flag, string length, string, pad(n)
const XimFrameRec commit_chars_fr[] = {F(BIT16),  F(BIT16), F(BIT16), F(BIT16),
                                       F(BARRAY), Pad(1),   kEol};
// im id, ic id, flag, unused, keysym, string length, string, pad(2 + n)
const XimFrameRec commit_both_fr[] = {F(BIT16), F(BIT16),  F(BIT16), Pad(1), F(BIT32),
                                      F(BIT16), F(BARRAY), Pad(2),   kEol};
const XimFrameRec reset_ic_fr[] = {F(BIT16), F(BIT16), kEol};
// im id, ic id, string length, string, pad(2 + n)
const XimFrameRec reset_ic_reply_fr[] = {F(BIT16), F(BIT16), F(BIT16), F(BARRAY), Pad(2), kEol};
const XimFrameRec geometry_fr[] = {F(BIT16), F(BIT16), kEol};
// im id, ic id, position, direction, operation, factor, length to multiply
const XimFrameRec str_conversion_fr[] = {F(BIT16), F(BIT16), F(BIT32), F(BIT32),
                                         F(BIT32), F(BIT16), F(BIT16), kEol};
// im id, ic id, feedback, string length, string, pad, feedback byte length,
// unused, feedback values
const XimFrameRec str_conversion_reply_fr[] = {F(BIT16),  F(BIT16), F(BIT32),   F(BIT16),
                                               F(BARRAY), Pad(2),   Count16(2), Pad(1),
                                               F(ITER),   F(BIT32), kEol};
const XimFrameRec preedit_start_fr[] = {F(BIT16), F(BIT16), kEol};
// im id, ic id, return value
const XimFrameRec preedit_start_reply_fr[] = {F(BIT16), F(BIT16), F(BIT32), kEol};
// im id, ic id, caret, chg_first, chg_length, status, string length, string,
// pad(2 + n), feedback byte length, unused, feedback values
const XimFrameRec preedit_draw_fr[] = {F(BIT16), F(BIT16), F(BIT32),  F(BIT32), F(BIT32),
                                       F(BIT32), F(BIT16), F(BARRAY), Pad(2),   Count16(2),
                                       Pad(1),   F(ITER),  F(BIT32),  kEol};
// im id, ic id, position, direction, style
const XimFrameRec preedit_caret_fr[] = {F(BIT16), F(BIT16), F(BIT32), F(BIT32), F(BIT32), kEol};
// im id, ic id, position
const XimFrameRec preedit_caret_reply_fr[] = {F(BIT16), F(BIT16), F(BIT32), kEol};
const XimFrameRec preedit_done_fr[] = {F(BIT16), F(BIT16), kEol};
const XimFrameRec status_start_fr[] = {F(BIT16), F(BIT16), kEol};
// im id, ic id, type (0), status, string length, string, pad(2 + n),
// feedback byte length, unused, feedback values
const XimFrameRec status_draw_text_fr[] = {F(BIT16), F(BIT16),  F(BIT32), F(BIT32),
                                           F(BIT16), F(BARRAY), Pad(2),   Count16(2),
                                           Pad(1),   F(ITER),   F(BIT32), kEol};
// im id, ic id, type (1), pixmap
const XimFrameRec status_draw_bitmap_fr[] = {F(BIT16), F(BIT16), F(BIT32), F(BIT32), kEol};
const XimFrameRec status_done_fr[] = {F(BIT16), F(BIT16), kEol};
// im id, ic id, filter, intercept, select, forward and synchronous masks
const XimFrameRec ext_set_event_mask_fr[] = {F(BIT16), F(BIT16), F(BIT32), F(BIT32),
                                             F(BIT32), F(BIT32), F(BIT32), kEol};
// im id, ic id, flag, sequence, type, keycode, state, time, window
const XimFrameRec ext_forward_keyevent_fr[] = {F(BIT16), F(BIT16), F(BIT16), F(BIT16), F(BIT8),
                                               F(BIT8),  F(BIT16), F(BIT32), F(BIT32), kEol};
// im id, ic id, x, y
const XimFrameRec ext_move_fr[] = {F(BIT16), F(BIT16), F(BIT16), F(BIT16), kEol};
