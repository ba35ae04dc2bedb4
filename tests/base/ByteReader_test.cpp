// ByteReader and the byte-order helpers: every width in both orders, reads at
// odd offsets, and the sticky error at and after the end.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "base/ByteOrder.h"
#include "base/ByteReader.h"

TEST(ByteReader, ReadsEachWidthInItsOrder) {
  const uint8_t bytes[] = {0xAA, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08,
                           0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11};
  ByteReader r(bytes, sizeof bytes);
  EXPECT_EQ(r.U8(), 0xAA);  // everything after this is unaligned
  EXPECT_EQ(r.Le16(), 0x0201);
  EXPECT_EQ(r.Le32(), 0x06050403u);
  EXPECT_EQ(r.Be16(), 0x0708);
  EXPECT_EQ(r.Be24(), 0x090A0Bu);
  EXPECT_EQ(r.Be32(), 0x0C0D0E0Fu);
  EXPECT_EQ(r.Offset(), 16u);
  EXPECT_EQ(r.Remaining(), 2u);
  const uint8_t* p = r.Bytes(2);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p[1], 0x11);
  EXPECT_EQ(r.Remaining(), 0u);
  EXPECT_TRUE(r.Ok());
  EXPECT_EQ(r.Bytes(0), bytes + sizeof bytes);  // an empty read at the end is fine
}

TEST(ByteReader, ErrorIsSticky) {
  const uint8_t bytes[] = {1, 2, 3};
  struct Case {
    const char* name;
    bool (*read)(ByteReader&);
  } const cases[] = {
      {"Le32", [](ByteReader& r) { return r.Le32() == 0; }},
      {"Be32", [](ByteReader& r) { return r.Be32() == 0; }},
      {"Be24 after 1",
       [](ByteReader& r) {
         r.U8();
         return r.Be24() == 0;
       }},
      {"Bytes", [](ByteReader& r) { return r.Bytes(4) == nullptr; }},
      {"Bytes huge",
       [](ByteReader& r) {
         r.U8();
         return r.Bytes(SIZE_MAX) == nullptr;
       }},
      {"Skip", [](ByteReader& r) { return !r.Skip(4); }},
      {"Seek", [](ByteReader& r) { return !r.Seek(4); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ByteReader r(bytes, sizeof bytes);
    EXPECT_TRUE(c.read(r));
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(r.Remaining(), 0u);
    // Everything after the failure fails too, even what would fit.
    EXPECT_EQ(r.U8(), 0);
    EXPECT_EQ(r.Le16(), 0);
    EXPECT_EQ(r.Bytes(0), nullptr);
    EXPECT_FALSE(r.Seek(0));
    EXPECT_FALSE(r.Ok());
  }
  ByteReader r(bytes, sizeof bytes);
  EXPECT_TRUE(r.Seek(3));
  EXPECT_TRUE(r.Seek(1));
  EXPECT_EQ(r.Le16(), 0x0302);
  ByteReader none(nullptr, 10);
  EXPECT_EQ(none.Size(), 0u);
  EXPECT_EQ(none.U8(), 0);
  EXPECT_FALSE(none.Ok());
}

TEST(ByteOrder, StoresRoundTripAtOddOffsets) {
  std::vector<uint8_t> buf(16, 0xEE);
  uint8_t* p = buf.data() + 1;
  little_endian::Store16(p, 0x1234);
  EXPECT_EQ(std::memcmp(p, "\x34\x12", 2), 0);
  little_endian::Store32(p, 0x89ABCDEFu);
  EXPECT_EQ(std::memcmp(p, "\xEF\xCD\xAB\x89", 4), 0);
  EXPECT_EQ(little_endian::Load32(p), 0x89ABCDEFu);
  big_endian::Store16(p, 0x1234);
  EXPECT_EQ(std::memcmp(p, "\x12\x34", 2), 0);
  big_endian::Store24(p, 0x800123u);
  EXPECT_EQ(std::memcmp(p, "\x80\x01\x23", 3), 0);
  EXPECT_EQ(big_endian::Load24(p), 0x800123u);
  big_endian::Store32(p, 0x89ABCDEFu);
  EXPECT_EQ(std::memcmp(p, "\x89\xAB\xCD\xEF", 4), 0);
  EXPECT_EQ(big_endian::Load32(p), 0x89ABCDEFu);
  EXPECT_EQ(big_endian::Load16(p), 0x89AB);
  EXPECT_EQ(little_endian::Load16(p), 0xAB89);
  EXPECT_EQ(buf[0], 0xEE);
  EXPECT_EQ(buf[5], 0xEE);
}
