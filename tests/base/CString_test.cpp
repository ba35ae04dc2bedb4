// CString: sharing and copy-on-write, capacities, the edit members, appends
// from the string's own text, and the file form.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "base/BlkAlloc.h"
#include "base/CString.h"
#include "tests/support/TestPaths.h"

namespace {

uint32_t Refs(const CString& s) { return s.GetData()->refs; }
std::string Str(const CString& s) { return std::string(s.GetString(), s.GetLength()); }

}  // namespace

TEST(CString, ConstructorsAndCapacities) {
  const CString rep('x', 5);
  EXPECT_STREQ(rep, "xxxxx");
  EXPECT_EQ(rep.GetLength(), 5);
  EXPECT_EQ(rep.GetAllocLength(), 7);

  const CString zero(0);
  EXPECT_TRUE(zero.IsEmpty());
  EXPECT_EQ(zero.GetAllocLength(), 3);
  EXPECT_NE(zero.GetData(), &CString::m_Null);

  const CString fromEmpty("", 0);
  EXPECT_EQ(fromEmpty.GetData(), &CString::m_Null);
  const CString roomy("", 10);
  EXPECT_EQ(roomy.GetAllocLength(), 11);
  const CString abcd("abcd");
  EXPECT_EQ(abcd.GetAllocLength(), 7);  // 4 | 3
  const CString abc("abc");
  EXPECT_EQ(abc.GetAllocLength(), 3);

  const char* none = nullptr;  // taken as an empty text, never read
  CString fromNull(none);
  EXPECT_TRUE(fromNull.IsEmpty());
  fromNull += none;
  fromNull = none;
  EXPECT_TRUE(fromNull.IsEmpty());
}

TEST(CString, CopiesShareUntilOneWrites) {
  CString a("hello");
  CString b;
  b = a;
  EXPECT_EQ(a.GetData(), b.GetData());
  EXPECT_EQ(Refs(a), 2u);
  b.SetAt(0, 'j');
  EXPECT_STREQ(a, "hello");
  EXPECT_STREQ(b, "jello");
  EXPECT_NE(a.GetData(), b.GetData());
  EXPECT_EQ(Refs(a), 1u);
  EXPECT_EQ(Refs(b), 1u);
}

// Every writer applied to one of two sharing strings: the other keeps its
// text and the shared descriptor loses exactly one reference.
TEST(CString, EveryWriterLeavesTheSharedCopyAlone) {
  struct Case {
    const char* name;
    std::function<void(CString&)> write;
    const char* want;
  } const cases[] = {
      {"SetAt", [](CString& s) { s.SetAt(1, 'X'); }, "aXc def"},
      {"+= CString", [](CString& s) { s += CString("!"); }, "abc def!"},
      {"+= char*", [](CString& s) { s += "!"; }, "abc def!"},
      {"+= char", [](CString& s) { s += '!'; }, "abc def!"},
      {"AddChar", [](CString& s) { s.AddChar('!'); }, "abc def!"},
      {"AddChars", [](CString& s) { s.AddChars("xyz", 1, 2); }, "abc defyz"},
      {"AddInt", [](CString& s) { s.AddInt(-12); }, "abc def-12"},
      {"AddDouble", [](CString& s) { s.AddDouble(1.5, 2); }, "abc def1.50"},
      {"= char*", [](CString& s) { s = "q"; }, "q"},
      {"= char", [](CString& s) { s = 'q'; }, "q"},
      {"Empty", [](CString& s) { s.Empty(); }, ""},
      {"Reset", [](CString& s) { s.Reset(); }, ""},
      {"TruncateAt", [](CString& s) { s.TruncateAt(2); }, "ab"},
      {"DeleteLeft", [](CString& s) { s.DeleteLeft(4); }, "def"},
      {"Delete", [](CString& s) { s.Delete(1, 2); }, "a def"},
      {"DeleteRight", [](CString& s) { s.DeleteRight(4); }, "abc"},
      {"Remove", [](CString& s) { s.Remove('d'); }, "abc ef"},
      {"LTrim", [](CString& s) { s.LTrim("ab"); }, "c def"},
      {"RTrim", [](CString& s) { s.RTrim("ef"); }, "abc d"},
      {"Insert char", [](CString& s) { s.Insert(3, '-'); }, "abc- def"},
      {"Insert text", [](CString& s) { s.Insert(0, ">>"); }, ">>abc def"},
      {"Replace char", [](CString& s) { s.Replace('c', 'C'); }, "abC def"},
      {"Replace text", [](CString& s) { s.Replace("bc", "BCD"); }, "aBCD def"},
      {"MakeUpper", [](CString& s) { s.MakeUpper(); }, "ABC DEF"},
      {"MakeLower",
       [](CString& s) {
         s.MakeUpper();
         s.MakeLower();
       },
       "abc def"},
      {"SpanIncluding", [](CString& s) { s.SpanIncluding("abc"); }, "abc"},
      {"SpanExcluding", [](CString& s) { s.SpanExcluding(" "); }, "abc"},
      {"GetBuffer",
       [](CString& s) {
         std::strcpy(s.GetBuffer(10), "buf");
         s.ReleaseBuffer();
       },
       "buf"},
      {"Format", [](CString& s) { s.Format("%d", 7); }, "7"},
      {"RvsFindNoCase", [](CString& s) { s.RvsFindNoCase("C", -1); }, "abc def"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CString original("abc def");
    const CString::SDesc* shared = original.GetData();
    CString copy(original);
    ASSERT_EQ(Refs(original), 2u);
    c.write(copy);
    EXPECT_STREQ(original, "abc def");
    EXPECT_EQ(original.GetData(), shared);
    EXPECT_EQ(Refs(original), 1u);
    EXPECT_EQ(Str(copy), c.want);
  }
}

TEST(CString, AppendingFromItsOwnText) {
  CString s("ab");
  s += s;
  EXPECT_STREQ(s, "abab");

  // Grows past its capacity while reading its own buffer (checked by ASan).
  CString t("0123456789");
  for (int i = 0; i < 6; ++i) t += t;
  EXPECT_EQ(t.GetLength(), 640);
  EXPECT_EQ(Str(t.Mid(630)), "0123456789");

  CString u("hello world");
  u += u.GetString() + 6;  // a tail of itself
  EXPECT_STREQ(u, "hello worldworld");
  u.AddChars(u.GetString(), 0, u.GetLength());
  EXPECT_STREQ(u, "hello worldworldhello worldworld");

  CString v("xyz");
  v.Insert(1, v.GetString());
  EXPECT_STREQ(v, "xxyzyz");
  v = v.GetString() + 2;  // assignment from its own tail
  EXPECT_STREQ(v, "yzyz");
  v.Replace(v.GetString() + 2, v.GetString());  // "yz" by "yzyz"
  EXPECT_STREQ(v, "yzyzyzyz");

  CString w("ab");
  CString shared(w);
  w += w;  // shared and self at once
  EXPECT_STREQ(w, "abab");
  EXPECT_STREQ(shared, "ab");
}

TEST(CString, NullStringIsNeverWritten) {
  CString a;
  CString b;
  EXPECT_EQ(a.GetData(), &CString::m_Null);
  a.MakeUpper();  // a write on an empty string takes its own descriptor
  EXPECT_NE(a.GetData(), &CString::m_Null);
  b = 'z';
  EXPECT_STREQ(b, "z");
  b.Reset();
  EXPECT_EQ(b.GetData(), &CString::m_Null);
  EXPECT_STREQ(CString::m_Null.text, "");
  EXPECT_EQ(CString::m_Null.length, 0);
  // Whatever the count says, the empty string is known by its address.
  const uint32_t saved = CString::m_Null.refs;
  CString::m_Null.refs = 1;
  CString c;
  c += "x";
  EXPECT_STREQ(CString::m_Null.text, "");
  EXPECT_STREQ(c, "x");
  c.Reset();
  CString::m_Null.refs = saved + 1;  // c holds one reference until it goes
}

TEST(CString, AssignmentKeepsAPrivateBuffer) {
  CString s("a long enough text");
  const char* buf = s.GetString();
  s = "short";
  EXPECT_EQ(s.GetString(), buf);
  EXPECT_EQ(s.GetAllocLength(), 19);
  s = 'c';
  EXPECT_EQ(s.GetString(), buf);
  EXPECT_EQ(s.GetLength(), 1);
  s = '\0';
  EXPECT_EQ(s.GetLength(), 1);
  s.Empty();
  EXPECT_EQ(s.GetString(), buf);
  s = "";
  EXPECT_EQ(s.GetData(), &CString::m_Null);
  CString shared("abc");
  CString other(shared);
  other.Empty();
  EXPECT_EQ(other.GetAllocLength(), 3);
  EXPECT_STREQ(shared, "abc");
}

TEST(CString, MidClampsToTheText) {
  struct Case {
    int start, count;
    const char* want;
  } const cases[] = {{-3, 2, "he"}, {4, 10, "o"}, {5, 1, ""},       {0, 0, ""},
                     {1, -4, ""},   {2, 2, "ll"}, {0, 99, "hello"}, {3, 0x7fffffff, "lo"}};
  const CString s("hello");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << "," << c.count);
    EXPECT_STREQ(s.Mid(c.start, c.count), c.want);
  }
  EXPECT_EQ(s.Mid(0, 5).GetData(), s.GetData());  // whole text: shared
  EXPECT_STREQ(s.Right(10), "hello");
  EXPECT_STREQ(s.Right(-1), "");
  EXPECT_STREQ(s.Right(2), "lo");
  EXPECT_STREQ(s.Left(2), "he");
  EXPECT_STREQ(s.Mid(3), "lo");
}

TEST(CString, EditMembers) {
  struct Case {
    const char* name;
    const char* text;
    std::function<int(CString&)> edit;
    const char* want;
    int result;
  } const cases[] = {
      {"Replace shorter", "aaaa", [](CString& s) { return s.Replace("aa", "b"); }, "bb", 2},
      {"Replace longer", "abca", [](CString& s) { return s.Replace("a", "xyz"); }, "xyzbcxyz", 2},
      {"Replace same", "abab", [](CString& s) { return s.Replace("b", "c"); }, "acac", 2},
      {"Replace none", "abc", [](CString& s) { return s.Replace("z", "y"); }, "abc", 0},
      {"Replace empty old", "abc", [](CString& s) { return s.Replace("", "y"); }, "abc", 0},
      {"Replace to nothing", "a-b-c", [](CString& s) { return s.Replace("-", ""); }, "abc", 2},
      {"Replace overlapping", "aaa", [](CString& s) { return s.Replace("aa", "X"); }, "Xa", 1},
      {"Replace byte", "banana", [](CString& s) { return s.Replace('a', 'b'); }, "bbnbnb", 3},
      {"Remove", "banana", [](CString& s) { return s.Remove('a'); }, "bnn", 3},
      {"Insert neg", "abc", [](CString& s) { return s.Insert(-5, 'x'); }, "xabc", 4},
      {"Insert past", "abc", [](CString& s) { return s.Insert(9, "yz"); }, "abcyz", 5},
      {"Insert empty", "abc", [](CString& s) { return s.Insert(1, ""); }, "abc", 3},
      {"LTrim all", " \t\r\n",
       [](CString& s) {
         s.LTrim();
         return s.GetLength();
       },
       "", 0},
      {"RTrim", "ab \r\n",
       [](CString& s) {
         s.RTrim();
         return s.GetLength();
       },
       "ab", 2},
      {"RTrim all", "xxx",
       [](CString& s) {
         s.RTrim("x");
         return s.GetLength();
       },
       "", 0},
      {"Delete to end", "abcdef",
       [](CString& s) {
         s.Delete(2, 4);
         return s.GetLength();
       },
       "ab", 2},
      {"Delete past", "abc",
       [](CString& s) {
         s.Delete(3, 1);
         return s.GetLength();
       },
       "abc", 3},
      {"DeleteLeft all", "abc",
       [](CString& s) {
         s.DeleteLeft(3);
         return s.GetLength();
       },
       "", 0},
      {"DeleteRight all", "abc",
       [](CString& s) {
         s.DeleteRight(5);
         return s.GetLength();
       },
       "", 0},
      {"Upper GBK", "a\xB0\x61z",
       [](CString& s) {
         s.MakeUpper();
         return 0;
       },
       "A\xB0\x41Z", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CString s(c.text);
    EXPECT_EQ(c.edit(s), c.result);
    EXPECT_EQ(Str(s), c.want);
    EXPECT_EQ(s.GetString()[s.GetLength()], '\0');
  }
}

TEST(CString, ReplaceWithManyOccurrencesGrowsItsList) {
  CString s('a', 3000);
  EXPECT_EQ(s.Replace("a", "bc"), 3000);
  EXPECT_EQ(s.GetLength(), 6000);
  EXPECT_EQ(s.Find("a"), -1);
  EXPECT_EQ(s.Replace("bc", "d"), 3000);
  EXPECT_EQ(Str(s), std::string(3000, 'd'));
}

TEST(CString, AddDoubleIsBounded) {
  CString s;
  s.AddDouble(1.5, 2);
  EXPECT_STREQ(s, "1.50");
  s.Empty();
  s.AddDouble(1.5, 100);
  EXPECT_EQ(Str(s), "1.5" + std::string(47, '0'));
  s.Empty();
  s.AddDouble(1.5, static_cast<unsigned long>(-1));  // a negative count: 48 too
  EXPECT_EQ(s.GetLength(), 50);
  s.Empty();
  s.AddDouble(1e300, 48);  // 301 integer digits and 48 decimals
  EXPECT_EQ(s.GetLength(), 301 + 1 + 48);
  EXPECT_EQ(s[0], '1');
}

TEST(CString, ComparisonAndAccess) {
  const CString a("abc"), b("abd");
  EXPECT_TRUE(a == "abc");
  EXPECT_TRUE("abc" == a);
  EXPECT_TRUE(a != b);
  EXPECT_TRUE(b > a);
  EXPECT_FALSE(a > a);
  EXPECT_LT(a.Compare("abd"), 0);
  EXPECT_EQ(a.CompareNoCase("ABC"), 0);
  CString nul("ab");
  nul.AddChars("\0c", 0, 2);  // an embedded NUL counts in ==
  EXPECT_FALSE(nul == "ab");
  EXPECT_EQ(a.GetLastChar(), 'c');
  EXPECT_EQ(CString().GetLastChar(), 0);
  EXPECT_TRUE(a.IsWhiteSpace(3));
  EXPECT_TRUE(IsWhiteSpace(0));
  EXPECT_FALSE(IsWhiteSpace('x'));
  EXPECT_STREQ(a + b, "abcabd");
  EXPECT_STREQ("x" + a, "xabc");
  EXPECT_STREQ('x' + a, "xabc");
  EXPECT_STREQ(a + 'y', "abcy");
  EXPECT_EQ((CString() + "").GetData(), &CString::m_Null);
}

TEST(CString, CHelpers) {
  char up[] = "aZ\xE1z";
  EXPECT_STREQ(strupr(up), "AZ\xE1Z");
  EXPECT_STREQ(strlwr(up), "az\xE1z");
  char rev[] = "abc";
  EXPECT_STREQ(strrev(rev), "cba");
}

TEST(CString, BufferRoundTrip) {
  CString s("abc");
  char* p = s.GetBuffer(20);
  EXPECT_GE(s.GetAllocLength(), 20);
  std::strcpy(p, "filled in");
  s.ReleaseBuffer();
  EXPECT_STREQ(s, "filled in");
  s.GetBuffer(0);
  s.ReleaseBuffer(4);
  EXPECT_STREQ(s, "fill");
  // A caller that leaves no NUL: the length stops at the capacity.
  p = s.GetBuffer(7);
  std::memset(p, 'q', static_cast<size_t>(s.GetAllocLength()) + 1);
  s.ReleaseBuffer();
  EXPECT_EQ(s.GetLength(), s.GetAllocLength());

  // Without GetBuffer first: a shared string is copied, never written, and
  // a length past the capacity gets room.
  const CString roomy("ab", 100);
  CString copy(roomy);
  copy.ReleaseBuffer(50);
  EXPECT_EQ(copy.GetLength(), 50);
  EXPECT_GE(copy.GetAllocLength(), 50);
  EXPECT_EQ(roomy.GetLength(), 2);
  CString empty;
  empty.ReleaseBuffer();
  EXPECT_EQ(empty.GetData(), &CString::m_Null);
  empty.ReleaseBuffer(2);
  EXPECT_EQ(empty.GetLength(), 2);
  EXPECT_EQ(CString::m_Null.length, 0);
}

TEST(CString, CompactShrinksTheBuffer) {
  CString s("abc", 100);
  s.Compact(200);
  EXPECT_EQ(s.GetAllocLength(), 103);
  s.Compact(10);
  EXPECT_EQ(s.GetAllocLength(), 3);
  EXPECT_STREQ(s, "abc");
}

TEST(CString, TextsPastTheLimitKeepEveryByte) {
  CString s;
  std::string want;
  for (int i = 0; i < 70000; ++i) {
    const char c = static_cast<char>('a' + i % 26);
    s += c;
    want += c;
  }
  EXPECT_EQ(s.GetLength(), 70000);
  EXPECT_EQ(Str(s), want);
}

TEST(CString, DiskIO) {
  kvrtest::ScratchDir dir;
  const std::string path = dir.File("s.bin");
  {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(CString("abc").DiskIO(0, f), 1);
    std::fclose(f);
  }
  {
    FILE* f = std::fopen(path.c_str(), "rb");
    unsigned char bytes[16];
    const size_t n = std::fread(bytes, 1, sizeof bytes, f);
    std::fclose(f);
    const unsigned char want[] = {3, 0, 0, 0, 'a', 'b', 'c'};
    ASSERT_EQ(n, sizeof want);
    EXPECT_EQ(std::memcmp(bytes, want, n), 0);
  }
  struct Case {
    const char* name;
    std::string bytes;
    const char* want;
    int result;
  } const cases[] = {
      {"plain", std::string("\3\0\0\0abc", 7), "abc", 1},
      {"embedded NUL", std::string("\5\0\0\0ab\0cd", 9), "ab", 1},
      {"empty", std::string("\0\0\0\0", 4), "", 1},
      {"short text", std::string("\5\0\0\0ab", 6), "ab", 0},
      {"huge count",
       std::string("\xff\xff\xff\x7f"
                   "abc",
                   7),
       "abc", 0},
      {"short head", std::string("\3\0", 2), "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(c.bytes.data(), 1, c.bytes.size(), f);
    std::fclose(f);
    f = std::fopen(path.c_str(), "rb");
    CString s("old");
    EXPECT_EQ(s.DiskIO(1, f), c.result);
    std::fclose(f);
    EXPECT_EQ(Str(s), c.want);
  }
}

TEST(BlkAlloc, FreedBlocksOfAClassComeBackLastFirst) {
  CString::CompactFree();
  void* a = blkalloc(40);
  void* b = blkalloc(41);
  blkfree(a, 40);
  blkfree(b, 41);
  EXPECT_EQ(blkalloc(43), b);  // 40..43 share one list
  EXPECT_EQ(blkalloc(42), a);
  void* c = blkalloc(44);  // the next class: a new block
  EXPECT_NE(c, a);
  EXPECT_NE(c, b);
  // Every size of a class fits the block taken for its smallest size.
  std::memset(a, 1, 43);
  blkfree(a, 42);
  blkfree(b, 43);
  blkfree(c, 44);
  void* big = blkalloc(320);
  blkfree(big, 320);  // to the C library, not a list
  CString::CompactFree();
  for (void* head : CString::m_Cache) EXPECT_EQ(head, nullptr);
}

TEST(BlkAlloc, BlocksAreAlignedForAPointerLink) {
  for (unsigned long size : {0ul, 1ul, 3ul, 8ul, 100ul, 319ul, 320ul, 1000ul}) {
    void* p = blkalloc(size);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % alignof(std::max_align_t), 0u) << size;
    blkfree(p, size);
    void* q = blkalloc(size);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(q) % alignof(std::max_align_t), 0u) << size;
    blkfree(q, size);
  }
}

#if defined(__SANITIZE_ADDRESS__)
// Blocks on the free lists never go back to the C library, so ASan would not
// see a string used after its buffer was freed; the allocator poisons them.
TEST(BlkAllocDeathTest, FreedSmallBlocksArePoisoned) {
  EXPECT_DEATH(
      {
        CString* s = new CString("a text long enough to matter");
        const char* text = s->GetString();
        delete s;
        volatile char c = text[12];
        (void)c;
      },
      "use-after-poison");
}
#endif
