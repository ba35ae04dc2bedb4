// The input-context store: ids, values read by their length, cleanup per
// connection.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "xim/ICStore.h"

namespace {

class Store : public testing::Test {
 protected:
  void TearDown() override { FreeICStore(); }
};

uint16_t Create(uint16_t conn) {
  IMChangeICStruct c{};
  c.connect_id = conn;
  EXPECT_EQ(CreateIC(&c), 1);
  return c.icid;
}

TEST_F(Store, IdsCountUpReuseRecordsAndSkipZeroAndIdsInUseWhenTheyWrap) {
  EXPECT_EQ(Create(1), 1);
  EXPECT_EQ(Create(1), 2);
  IC* first = FindIC(1);
  DeleteIC(1);
  EXPECT_EQ(FindIC(1), nullptr);
  EXPECT_EQ(Create(1), 3);
  EXPECT_EQ(FindIC(3), first);  // the kept record, with a new id
  DeleteIC(77);                 // unknown: nothing happens
  // Wrapping: 65535, then 0 and the ids 2 and 3 still in use are skipped.
  icid = 0xfffe;
  struct Case {
    uint16_t want;
  } const cases[] = {{0xffff}, {1}, {4}, {5}};
  for (const Case& k : cases) EXPECT_EQ(Create(1), k.want);
}

XICAttribute Attr(const char* name, const void* value, int length) {
  XICAttribute a{};
  a.name = const_cast<char*>(name);
  a.name_length = static_cast<uint16_t>(std::strlen(name));
  a.value = const_cast<void*>(value);
  a.value_length = length;
  return a;
}

TEST_F(Store, ValuesAreReadByTheirLengthNeverPastIt) {
  const uint16_t id = Create(4);
  const uint32_t window = 0xfedcba98;
  const uint16_t shortStyle = 0x404;
  const uint8_t threeBytes[3] = {1, 2, 3};
  const char font[] = {'a', 'b', 'c'};  // no NUL: the length ends it
  const XRectangle area{1, 2, 30, 40};
  std::vector<XICAttribute> ic = {Attr("focusWindow", &window, 4),
                                  Attr("inputStyle", &shortStyle, 2),
                                  Attr("clientWindow", threeBytes, 3)};
  std::vector<XICAttribute> pre = {Attr("fontSet", font, 3), Attr("area", &area, sizeof area),
                                   Attr("spotLocation", threeBytes, 3)};
  IMChangeICStruct c{};
  c.connect_id = 4;
  c.icid = id;
  c.ic_attr = ic.data();
  c.ic_attr_num = static_cast<uint16_t>(ic.size());
  c.preedit_attr = pre.data();
  c.preedit_attr_num = static_cast<uint16_t>(pre.size());
  ASSERT_EQ(SetIC(&c), 1);
  const IC* rec = FindIC(id);
  EXPECT_EQ(rec->focus_win, 0xfedcba98u);
  EXPECT_EQ(rec->input_style, 0x404u);
  EXPECT_EQ(rec->client_win, 0u);  // three bytes are no number
  EXPECT_STREQ(rec->pre_attr.base_font, "abc");
  EXPECT_EQ(rec->pre_attr.area.width, 30);
  EXPECT_EQ(rec->pre_attr.spot_location.x, 0);  // too short for a point
  // Another connection cannot reach it.
  c.connect_id = 5;
  EXPECT_EQ(SetIC(&c), 0);
  EXPECT_EQ(GetIC(&c), 0);
  IMDestroyICStruct d{};
  d.connect_id = 5;
  d.icid = id;
  EXPECT_EQ(DestroyIC(&d), 0);
  EXPECT_NE(FindIC(id), nullptr);
}

TEST_F(Store, GetAnswersTheFixedValuesAndLeavesTheRestEmpty) {
  const uint16_t id = Create(2);
  const uint32_t twelve = 12;
  std::vector<XICAttribute> set = {Attr("lineSpace", &twelve, 4)};
  IMChangeICStruct c{};
  c.connect_id = 2;
  c.icid = id;
  c.preedit_attr = set.data();
  c.preedit_attr_num = 1;
  ASSERT_EQ(SetIC(&c), 1);

  std::vector<XICAttribute> ic = {Attr("filterEvents", nullptr, 0), Attr("inputStyle", nullptr, 0)};
  std::vector<XICAttribute> pre = {Attr("lineSpace", nullptr, 0), Attr("fontSet", nullptr, 0),
                                   Attr("cursor", nullptr, 0)};
  c.ic_attr = ic.data();
  c.ic_attr_num = 2;
  c.preedit_attr = pre.data();
  c.preedit_attr_num = 3;
  ASSERT_EQ(GetIC(&c), 1);
  uint32_t v = 0;
  ASSERT_EQ(ic[0].value_length, 4);
  std::memcpy(&v, ic[0].value, 4);
  EXPECT_EQ(v, 3u);
  EXPECT_EQ(ic[1].value, nullptr);
  ASSERT_EQ(pre[0].value_length, 4);
  std::memcpy(&v, pre[0].value, 4);
  EXPECT_EQ(v, 18u);
  EXPECT_NE(pre[1].value, nullptr);
  EXPECT_EQ(pre[1].value_length, 0);
  EXPECT_EQ(pre[2].value, nullptr);
  for (XICAttribute& a : ic) std::free(a.value);
  for (XICAttribute& a : pre) std::free(a.value);
}

TEST_F(Store, AConnectionsContextsGoWithIt) {
  const uint16_t a1 = Create(1), b1 = Create(2), a2 = Create(1);
  DeleteClientICs(1);
  EXPECT_EQ(FindIC(a1), nullptr);
  EXPECT_EQ(FindIC(a2), nullptr);
  EXPECT_NE(FindIC(b1), nullptr);
  EXPECT_EQ(Create(1), 4);
}

}  // namespace
