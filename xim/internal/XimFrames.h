// XimFrames.h: the frame templates of every XIM message and of every record
// repeated inside one, laid out field by field as the protocol lays them out.
// Strings are byte arrays whose size the coder is told (FrameMgrSetSize);
// every list has a byte-length counter in front of it (one entry before it,
// or two when a padding stands between) unless noted.
#pragma once

#include "xim/internal/FrameMgr.h"

extern const XimFrameRec ximattr_fr[];
extern const XimFrameRec xicattr_fr[];
extern const XimFrameRec ximattribute_fr[];
extern const XimFrameRec xicattribute_fr[];
extern const XimFrameRec ximtriggerkey_fr[];
extern const XimFrameRec encodinginfo_fr[];
extern const XimFrameRec str_fr[];
extern const XimFrameRec xpcs_fr[];
extern const XimFrameRec ext_fr[];
extern const XimFrameRec inputstyle_fr[];
extern const XimFrameRec attr_head_fr[];
extern const XimFrameRec short_fr[];
extern const XimFrameRec long_fr[];
extern const XimFrameRec xrectangle_fr[];
extern const XimFrameRec xpoint_fr[];
extern const XimFrameRec fontset_fr[];
extern const XimFrameRec input_styles_fr[];
extern const XimFrameRec packet_header_fr[];
extern const XimFrameRec error_fr[];
extern const XimFrameRec connect_fr[];
extern const XimFrameRec connect_reply_fr[];
extern const XimFrameRec auth_required_fr[];
extern const XimFrameRec auth_reply_fr[];
extern const XimFrameRec auth_next_fr[];
extern const XimFrameRec auth_setup_fr[];
extern const XimFrameRec auth_ng_fr[];
extern const XimFrameRec disconnect_fr[];
extern const XimFrameRec disconnect_reply_fr[];
extern const XimFrameRec open_fr[];
extern const XimFrameRec open_reply_fr[];
extern const XimFrameRec close_fr[];
extern const XimFrameRec close_reply_fr[];
extern const XimFrameRec register_triggerkeys_fr[];
extern const XimFrameRec trigger_notify_fr[];
extern const XimFrameRec trigger_notify_reply_fr[];
extern const XimFrameRec set_event_mask_fr[];
extern const XimFrameRec encoding_negotiation_fr[];
extern const XimFrameRec encoding_negotiation_reply_fr[];
extern const XimFrameRec query_extension_fr[];
extern const XimFrameRec query_extension_reply_fr[];
extern const XimFrameRec get_im_values_fr[];
extern const XimFrameRec get_im_values_reply_fr[];
extern const XimFrameRec create_ic_fr[];
extern const XimFrameRec create_ic_reply_fr[];
extern const XimFrameRec destroy_ic_fr[];
extern const XimFrameRec destroy_ic_reply_fr[];
extern const XimFrameRec set_ic_values_fr[];
extern const XimFrameRec set_ic_values_reply_fr[];
extern const XimFrameRec get_ic_values_fr[];
extern const XimFrameRec get_ic_values_reply_fr[];
extern const XimFrameRec set_ic_focus_fr[];
extern const XimFrameRec unset_ic_focus_fr[];
extern const XimFrameRec forward_event_fr[];
extern const XimFrameRec sync_fr[];
extern const XimFrameRec sync_reply_fr[];
extern const XimFrameRec commit_chars_fr[];
extern const XimFrameRec commit_both_fr[];
extern const XimFrameRec reset_ic_fr[];
extern const XimFrameRec reset_ic_reply_fr[];
extern const XimFrameRec geometry_fr[];
extern const XimFrameRec str_conversion_fr[];
extern const XimFrameRec str_conversion_reply_fr[];
extern const XimFrameRec preedit_start_fr[];
extern const XimFrameRec preedit_start_reply_fr[];
extern const XimFrameRec preedit_draw_fr[];
extern const XimFrameRec preedit_caret_fr[];
extern const XimFrameRec preedit_caret_reply_fr[];
extern const XimFrameRec preedit_done_fr[];
extern const XimFrameRec status_start_fr[];
extern const XimFrameRec status_draw_text_fr[];
extern const XimFrameRec status_draw_bitmap_fr[];
extern const XimFrameRec status_done_fr[];
extern const XimFrameRec ext_set_event_mask_fr[];
extern const XimFrameRec ext_forward_keyevent_fr[];
extern const XimFrameRec ext_move_fr[];
