// The frame coder: every message the server exchanges is put and got
// through it, so a fault here corrupts every reply or lets a hostile
// message read past its end.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/xim/FrameDecoders.h"
#include "tests/xim/FrameFixtures.h"
#include "tests/xim/WireBytes.h"
#include "xim/internal/FrameMgr.h"
#include "xim/internal/XimFrames.h"

using ximtest::SwapFor;
using ximtest::WireBytes;
using namespace ximtest::fixtures;

namespace {

// Encodes with `fill` into a buffer of the template's total size.
template <class Fill, class Prepare>
std::vector<uint8_t> Encode(XimFrame frame, bool big, Prepare prepare, Fill fill) {
  FrameMgr fm = FrameMgrInit(frame, nullptr, SwapFor(big));
  prepare(fm);
  const int total = FrameMgrGetTotalSize(fm);
  EXPECT_GE(total, 0);
  std::vector<uint8_t> buf(static_cast<size_t>(total < 0 ? 0 : total));
  FrameMgrSetBuffer(fm, buf.data());
  FrameMgrSetTotalSize(fm, total);
  fill(fm);
  FrameMgrFree(fm);
  return buf;
}

// ---- client messages: hand-built bytes decode to the same values in either order ----

struct DecodeCase {
  const char* name;
  std::string (*decode)(const std::vector<uint8_t>&, int);
  std::vector<uint8_t> (*bytes)(bool big);
  const char* want;
  int trailingPad;  // padding at the end that no field is read from
};

const DecodeCase kDecodeCases[] = {
    {"encoding_negotiation", ximtest::DecodeEncodingNegotiation, EncodingNegotiationBytes,
     "im=3 enc=['COMPOUND_TEXT','STRING',] info=['UTF8',]", 0},
    {"create_ic", ximtest::DecodeCreateIC, CreateICBytes,
     "im=1 attrs=[10:'\\x01\\x02\\x03\\x04',11:'ab',] ", 0},
    {"set_ic_values", ximtest::DecodeSetICValues, SetICValuesBytes,
     "im=1 ic=2 attrs=[10:'\\x01\\x02\\x03\\x04',11:'ab',] ", 0},
    {"get_ic_values", ximtest::DecodeGetICValues, GetICValuesBytes, "im=1 ic=2 ids=[7,8,9,]", 0},
    {"open", ximtest::DecodeOpen, OpenBytes, "locale='zh_CN.GBK'", 2},
    {"forward_event", ximtest::DecodeForwardEvent, ForwardEventBytes,
     "im=1 ic=2 flag=1 serial=4660 ", 0},
    {"trigger_notify", ximtest::DecodeTriggerNotify, TriggerNotifyBytes,
     "im=1 ic=2 flag=0 index=78 mask=3 ", 0},
    {"query_extension", ximtest::DecodeQueryExtension, QueryExtensionBytes,
     "im=1 names=['XIM_EXT_MOVE',] ", 3},
    {"open_reply", ximtest::DecodeOpenReply, OpenReplyBytes,
     "im=1 imattr=[5/10/ab,] icattr=[6/3/xyz,7/5/w,] ", 0},
};

TEST(FrameMgr, DecodesHandBuiltMessagesInBothByteOrders) {
  for (const DecodeCase& c : kDecodeCases) {
    for (bool big : {false, true}) {
      SCOPED_TRACE(testing::Message() << c.name << (big ? " big-endian" : " little-endian"));
      EXPECT_EQ(c.decode(c.bytes(big), SwapFor(big)), c.want);
    }
  }
}

TEST(FrameMgr, ConnectDecodesTheByteOrderAndAuthNamesByElementCount) {
  EXPECT_EQ(ximtest::DecodeConnect(ConnectBytes(false), SwapFor(false)),
            "order=108 major=1 minor=0 auth=['abc',]");
  EXPECT_EQ(ximtest::DecodeConnect(ConnectBytes(true), SwapFor(true)),
            "order=66 major=1 minor=0 auth=['abc',]");
}

// Every strict prefix of a valid message is refused with an error, and no
// read goes past the prefix (the decoder's buffer is exactly that long).
TEST(FrameMgr, TruncatedMessagesAreRefusedWithoutReadingPastTheirEnd) {
  for (const DecodeCase& c : kDecodeCases) {
    for (bool big : {false, true}) {
      const std::vector<uint8_t> full = c.bytes(big);
      for (size_t n = 0; n + c.trailingPad < full.size(); ++n) {
        std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(n));
        const std::string got = c.decode(cut, SwapFor(big));
        SCOPED_TRACE(testing::Message() << c.name << " cut at " << n << ": " << got);
        EXPECT_NE(got, c.want);
      }
    }
  }
}

// ---- server messages: values encode to hand-built bytes ----

TEST(FrameMgr, OpenReplyEncodesCountersAndPaddingInBothOrders) {
  for (bool big : {false, true}) {
    SCOPED_TRACE(big ? "big-endian" : "little-endian");
    const std::vector<uint8_t> got = Encode(
        open_reply_fr, big,
        [](FrameMgr fm) {
          ASSERT_EQ(FrameMgrSetIterCount(fm, 1), FmSuccess);
          ASSERT_EQ(FrameMgrSetIterCount(fm, 2), FmSuccess);
          ASSERT_EQ(FrameMgrSetSize(fm, 2), FmSuccess);
          ASSERT_EQ(FrameMgrSetSize(fm, 3), FmSuccess);
          ASSERT_EQ(FrameMgrSetSize(fm, 1), FmSuccess);
          EXPECT_EQ(FrameMgrSetSize(fm, 1), FmNoMoreData);
        },
        [](FrameMgr fm) {
          const char* names[] = {"ab", "xyz", "w"};
          const uint16_t ids[] = {5, 6, 7}, types[] = {10, 3, 5};
          EXPECT_EQ(FrameMgrPutToken(fm, uint16_t{1}), FmSuccess);
          for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(FrameMgrPutToken(fm, ids[i]), FmSuccess);
            EXPECT_EQ(FrameMgrPutToken(fm, types[i]), FmSuccess);
            EXPECT_EQ(FrameMgrPutToken(fm, static_cast<uint16_t>(std::strlen(names[i]))),
                      FmSuccess);
            EXPECT_EQ(FrameMgrPutToken(fm, names[i]), FmSuccess);
          }
          EXPECT_EQ(FrameMgrPutToken(fm, uint16_t{0}), FmEOD);
        });
    EXPECT_EQ(got, OpenReplyBytes(big));
  }
}

TEST(FrameMgr, TriggerKeysEncodeBothListsWithByteLengths) {
  for (bool big : {false, true}) {
    const std::vector<uint8_t> got = Encode(
        register_triggerkeys_fr, big,
        [](FrameMgr fm) {
          FrameMgrSetIterCount(fm, 2);
          FrameMgrSetIterCount(fm, 0);
        },
        [](FrameMgr fm) {
          FrameMgrPutToken(fm, uint16_t{0});
          const uint32_t rows[2][3] = {{0x61, 0, 0}, {0x20, 4, 4}};
          for (const auto& r : rows) {
            for (uint32_t v : r) EXPECT_EQ(FrameMgrPutToken(fm, v), FmSuccess);
          }
        });
    EXPECT_EQ(got, WireBytes(big)
                       .u16(0)
                       .zeros(2)
                       .u32(24)
                       .u32(0x61)
                       .u32(0)
                       .u32(0)
                       .u32(0x20)
                       .u32(4)
                       .u32(4)
                       .u32(0)
                       .bytes());
  }
}

TEST(FrameMgr, CommitTemplatesPadTheirStrings) {
  for (bool big : {false, true}) {
    const std::vector<uint8_t> chars = Encode(
        commit_chars_fr, big, [](FrameMgr fm) { FrameMgrSetSize(fm, 5); },
        [](FrameMgr fm) {
          for (uint16_t v : {1, 2, 3, 5}) FrameMgrPutToken(fm, v);
          FrameMgrPutToken(fm, "abcde");
        });
    EXPECT_EQ(chars, WireBytes(big).u16(1).u16(2).u16(3).u16(5).str("abcde").zeros(3).bytes());
    const std::vector<uint8_t> both = Encode(
        commit_both_fr, big, [](FrameMgr fm) { FrameMgrSetSize(fm, 2); },
        [](FrameMgr fm) {
          for (uint16_t v : {1, 2, 7}) FrameMgrPutToken(fm, v);
          FrameMgrPutToken(fm, uint32_t{0x61});  // steps over the two pad bytes
          FrameMgrPutToken(fm, uint16_t{2});
          FrameMgrPutToken(fm, "ab");
        });
    EXPECT_EQ(both,
              WireBytes(big).u16(1).u16(2).u16(7).zeros(2).u32(0x61).u16(2).str("ab").bytes());
  }
}

TEST(FrameMgr, InputStylesValueHasCountPadAndStyles) {
  for (bool big : {false, true}) {
    const std::vector<uint8_t> got = Encode(
        input_styles_fr, big, [](FrameMgr fm) { FrameMgrSetIterCount(fm, 2); },
        [](FrameMgr fm) {
          FrameMgrPutToken(fm, uint16_t{2});
          FrameMgrPutToken(fm, uint32_t{0x404});
          FrameMgrPutToken(fm, uint32_t{0x408});
        });
    EXPECT_EQ(got, WireBytes(big).u16(2).zeros(2).u32(0x404).u32(0x408).bytes());
  }
}

// ---- padding ----

TEST(FrameMgr, PaddingAlignsTheItemsItLooksBackOver) {
  static const XimFrameRec kLenString2[] = {{BIT16, 0, nullptr},
                                            {BARRAY, 0, nullptr},
                                            {PADDING, FmPadding(2, 4), nullptr},
                                            {EOL, 0, nullptr}};
  static const XimFrameRec kString1[] = {{BIT16, 0, nullptr},
                                         {BARRAY, 0, nullptr},
                                         {PADDING, FmPadding(1, 4), nullptr},
                                         {EOL, 0, nullptr}};
  static const XimFrameRec kAfter16[] = {
      {BIT16, 0, nullptr}, {PADDING, FmPadding(1, 4), nullptr}, {EOL, 0, nullptr}};
  static const XimFrameRec kAfter32[] = {
      {BIT32, 0, nullptr}, {PADDING, FmPadding(1, 4), nullptr}, {EOL, 0, nullptr}};
  static const XimFrameRec kAfterList[] = {{BIT8, 0, nullptr},
                                           {ITER, 0, nullptr},
                                           {BIT8, 0, nullptr},
                                           {PADDING, FmPadding(2, 4), nullptr},
                                           {EOL, 0, nullptr}};
  struct Case {
    XimFrame frame;
    int size;
    int count;
    int fields;
    int want;
  } const cases[] = {
      {kLenString2, 5, -1, 7, 1}, {kLenString2, 0, -1, 2, 2}, {kLenString2, 2, -1, 4, 0},
      {kString1, 5, -1, 7, 3},    {kString1, 4, -1, 6, 0},    {kAfter16, -1, -1, 2, 2},
      {kAfter32, -1, -1, 4, 0},   {kAfterList, -1, 5, 6, 2},  {kAfterList, -1, 3, 4, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "size " << c.size << " count " << c.count);
    FrameMgr fm = FrameMgrInit(c.frame, nullptr, 0);
    if (c.size >= 0) {
      ASSERT_EQ(FrameMgrSetSize(fm, c.size), FmSuccess);
    }
    if (c.count >= 0) {
      ASSERT_EQ(FrameMgrSetIterCount(fm, c.count), FmSuccess);
    }
    EXPECT_EQ(FrameMgrGetTotalSize(fm) - c.fields, c.want);
    FrameMgrFree(fm);
  }
}

// ---- single behaviours ----

TEST(FrameMgr, PutWidensAndSwapsCallerValues) {
  static const XimFrameRec k32[] = {{BIT32, 0, nullptr}, {BIT16, 0, nullptr}, {EOL, 0, nullptr}};
  uint8_t buf[6] = {};
  FrameMgr fm = FrameMgrInit(k32, buf, 1);
  EXPECT_EQ(FrameMgrPutToken(fm, uint8_t{0xab}), FmSuccess);
  EXPECT_EQ(FrameMgrPutToken(fm, uint32_t{0x12345678}), FmSuccess);  // narrowed to 0x5678
  const uint8_t big[6] = {0, 0, 0, 0xab, 0x56, 0x78};
  const uint8_t little[6] = {0xab, 0, 0, 0, 0x78, 0x56};
  const bool hostBig = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;
  EXPECT_EQ(std::memcmp(buf, hostBig ? little : big, 6), 0);
  FrameMgrFree(fm);
}

TEST(FrameMgr, GetZeroExtendsAndNarrows) {
  static const XimFrameRec k[] = {{BIT16, 0, nullptr}, {BIT16, 0, nullptr}, {EOL, 0, nullptr}};
  std::vector<uint8_t> bytes = WireBytes(false).u16(0xfffe).u16(0x1234).bytes();
  FrameMgr fm = FrameMgrInit(k, bytes.data(), SwapFor(false));
  FrameMgrSetTotalSize(fm, 4);
  uint32_t wide = 0;
  uint8_t narrow = 0;
  EXPECT_EQ(FrameMgrGetToken(fm, wide), FmSuccess);
  EXPECT_EQ(wide, 0xfffeu);
  EXPECT_EQ(FrameMgrGetToken(fm, narrow), FmSuccess);
  EXPECT_EQ(narrow, 0x34);
  EXPECT_EQ(FrameMgrGetToken(fm, narrow), FmEOD);
  FrameMgrFree(fm);
}

TEST(FrameMgr, RefusesBadWidthsUnboundedReadsAndSecondBuffers) {
  static const XimFrameRec k[] = {{BIT16, 0, nullptr}, {EOL, 0, nullptr}};
  uint8_t a[2] = {1, 2}, b[2] = {};
  FrameMgr fm = FrameMgrInit(k, a, 0);
  uint16_t v = 0;
  // No size limit set: a decoder must say how long the message is.
  EXPECT_EQ(FrameMgrGetToken(fm, v), FmInvalidCall);
  EXPECT_EQ(FrameMgrSetBuffer(fm, b), FmBufExist);
  FrameMgrSetTotalSize(fm, 2);
  uint64_t wide = 0;
  EXPECT_EQ(_FrameMgrGetToken(fm, &wide, 8), FmInvalidCall);  // and the walk stays
  EXPECT_EQ(_FrameMgrPutToken(fm, &wide, 3), FmInvalidCall);
  EXPECT_EQ(FrameMgrGetToken(fm, v), FmSuccess);
  EXPECT_EQ(v, a[0] | (a[1] << 8)) << "read from the first buffer";
  FrameMgrFree(fm);
}

TEST(FrameMgr, CounterOfAnOpenListCannotBeComputed) {
  std::vector<uint8_t> buf(64);
  FrameMgr fm = FrameMgrInit(get_im_values_fr, buf.data(), 0);
  EXPECT_EQ(FrameMgrPutToken(fm, uint16_t{1}), FmSuccess);
  EXPECT_EQ(FrameMgrPutToken(fm, uint16_t{7}), FmCannotCalc);
  FrameMgrFree(fm);
}

TEST(FrameMgr, ByteCountedListEndsWhereItsBytesEnd) {
  // get_im_values: 8 bytes of 16-bit ids, then another 16-bit field that
  // must not be taken for a fifth id.
  const std::vector<uint8_t> bytes =
      WireBytes(false).u16(1).u16(8).u16(1).u16(2).u16(3).u16(4).u16(0xeeee).bytes();
  ximtest::Decoder d(get_im_values_fr, bytes, SwapFor(false));
  uint16_t im, n, id;
  ASSERT_TRUE(d.Get(im) && d.Get(n));
  int count = 0;
  while (d.More()) {
    ASSERT_TRUE(d.Get(id));
    EXPECT_EQ(id, ++count);
  }
  EXPECT_EQ(count, 4);
  EXPECT_FALSE(d.Failed());
}

TEST(FrameMgr, ListLongerThanTheMessageEndsTheLoopWithAnError) {
  const std::vector<uint8_t> bytes = WireBytes(false).u16(1).u16(0xfff0).u16(1).u16(2).bytes();
  EXPECT_EQ(ximtest::DecodeQueryExtension(bytes, SwapFor(false)).substr(0, 5), "error");
  ximtest::Decoder d(get_im_values_fr, bytes, SwapFor(false));
  uint16_t im, n, id;
  ASSERT_TRUE(d.Get(im) && d.Get(n));
  int count = 0;
  while (d.More() && d.Get(id)) ++count;
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(d.Failed());
}

TEST(FrameMgr, EmptyListsAndEmptyStrings) {
  // No encoding names, an empty info list: both loops end at once.
  const std::vector<uint8_t> bytes = WireBytes(false).u16(1).u16(0).u16(0).zeros(2).bytes();
  EXPECT_EQ(ximtest::DecodeEncodingNegotiation(bytes, SwapFor(false)), "im=1 enc=[] info=[]");
  // A zero-length string comes back as a null pointer.
  const std::vector<uint8_t> open = WireBytes(false).u8(0).zeros(3).bytes();
  EXPECT_EQ(ximtest::DecodeOpen(open, SwapFor(false)), "locale=''");
}

TEST(FrameMgr, SkipAndResetWalkTheSameFields) {
  const std::vector<uint8_t> bytes = ForwardEventBytes(false);
  std::vector<uint8_t> copy = bytes;
  FrameMgr fm = FrameMgrInit(forward_event_fr, copy.data(), SwapFor(false));
  FrameMgrSetTotalSize(fm, static_cast<int>(copy.size()));
  EXPECT_EQ(FrameMgrSkipToken(fm, 3), FmSuccess);
  uint16_t serial = 0;
  EXPECT_EQ(FrameMgrGetToken(fm, serial), FmSuccess);
  EXPECT_EQ(serial, 0x1234);
  EXPECT_EQ(FrameMgrSkipToken(fm, 1), FmEOD);
  FrameMgrReset(fm);
  uint16_t im = 0;
  EXPECT_EQ(FrameMgrGetToken(fm, im), FmSuccess);
  EXPECT_EQ(im, 1);
  FrameMgrFree(fm);
}

}  // namespace

namespace {

// A list of records that each hold a list of strings: sizing walks into the
// nested lists in order, and the counters of both levels come out right.
TEST(FrameMgr, NestedListsAreSizedAndCountedInWalkOrder) {
  static const XimFrameRec kInner[] = {{COUNTER_BIT16, FmByteCounter(1), nullptr},
                                       {ITER, 0, nullptr},
                                       {POINTER, 0, nullptr},
                                       {PTR_ITEM, 0, str_fr},
                                       {EOL, 0, nullptr}};
  static const XimFrameRec kOuter[] = {{COUNTER_BIT16, FmByteCounter(1), nullptr},
                                       {ITER, 0, nullptr},
                                       {POINTER, 0, nullptr},
                                       {PTR_ITEM, 0, kInner},
                                       {EOL, 0, nullptr}};
  FrameMgr fm = FrameMgrInit(kOuter, nullptr, SwapFor(false));
  ASSERT_EQ(FrameMgrSetIterCount(fm, 2), FmSuccess);  // two records
  ASSERT_EQ(FrameMgrSetIterCount(fm, 2), FmSuccess);  // the first has two strings
  ASSERT_EQ(FrameMgrSetIterCount(fm, 1), FmSuccess);  // the second one
  EXPECT_EQ(FrameMgrSetIterCount(fm, 1), FmNoMoreData);
  for (int size : {1, 2, 3}) ASSERT_EQ(FrameMgrSetSize(fm, size), FmSuccess);
  EXPECT_EQ(FrameMgrSetSize(fm, 1), FmNoMoreData);
  const int total = FrameMgrGetTotalSize(fm);
  ASSERT_EQ(total, 2 + (2 + 2 + 3) + (2 + 4));
  std::vector<uint8_t> buf(static_cast<size_t>(total));
  FrameMgrSetBuffer(fm, buf.data());
  for (const char* s : {"a", "bc", "def"}) {
    EXPECT_EQ(FrameMgrPutToken(fm, static_cast<uint8_t>(std::strlen(s))), FmSuccess);
    EXPECT_EQ(FrameMgrPutToken(fm, s), FmSuccess);
  }
  FrameMgrFree(fm);
  EXPECT_EQ(buf, WireBytes(false)
                     .u16(13)
                     .u16(5)
                     .u8(1)
                     .str("a")
                     .u8(2)
                     .str("bc")
                     .u16(4)
                     .u8(3)
                     .str("def")
                     .bytes());
}

}  // namespace
