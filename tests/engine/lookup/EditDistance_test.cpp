#include "engine/lookup/EditDistance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

class EditDistanceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitAdjcntCharPairs(); }
};

// An independent oracle: the same costs over a plain vector of rows, with
// adjacency read from the keyboard picture instead of the pair set.
int Neighbours(char a, char b) {
  static const std::vector<std::string> rows = {"`1234567890-=", "!qwertyuiop[]", "@asdfghjkl;'",
                                                "#zxcvbnm,./$"};
  for (int r = 0; r < 4; ++r)
    for (int k = 0; k < static_cast<int>(rows[r].size()); ++k) {
      if (rows[r][k] != a) continue;
      auto at = [&](int rr, int kk) {
        return rr >= 0 && rr < 4 && kk >= 0 && kk < static_cast<int>(rows[rr].size()) &&
               rows[rr][kk] == b;
      };
      if (at(r, k - 1) || at(r, k + 1) || at(r + 1, k) || at(r + 1, k - 1) || at(r - 1, k) ||
          at(r - 1, k + 1))
        return 1;
    }
  return 0;
}

int Oracle(const std::string& s, const std::string& t) {
  const size_t m = s.size(), n = t.size();
  std::vector<std::vector<int>> d(m + 1, std::vector<int>(n + 1));
  for (size_t i = 0; i <= m; ++i) d[i][0] = 3 * static_cast<int>(i);
  for (size_t j = 0; j <= n; ++j) d[0][j] = 3 * static_cast<int>(j);
  for (size_t i = 1; i <= m; ++i)
    for (size_t j = 1; j <= n; ++j) {
      const int sub = s[i - 1] == t[j - 1] ? 0 : (Neighbours(s[i - 1], t[j - 1]) ? 1 : 3);
      d[i][j] = std::min({d[i - 1][j] + 3, d[i][j - 1] + 3, d[i - 1][j - 1] + sub});
      if (i >= 2 && j >= 2 && s[i - 1] == t[j - 2] && s[i - 2] == t[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 3);
    }
  return d[m][n];
}

std::string RandomKeys(std::mt19937& rng, size_t n) {
  static const std::string keys = "qwertyuiopasdfghjklzxcvbnm;,./1234";
  std::string s;
  for (size_t i = 0; i < n; ++i) s += keys[rng() % keys.size()];
  return s;
}

}  // namespace

TEST_F(EditDistanceTest, KnownDistances) {
  struct Case {
    const char* a;
    const char* b;
    int want;
  } const cases[] = {
      {"", "", 0},
      {"", "abc", 9},
      {"q", "w", 1},
      {"q", "p", 3},
      {"q", "q", 0},
      {"ab", "ba", 3},
      {"abc", "acb", 3},
      {"qwerty", "qwerty", 0},
      {"qwerty", "qwertu", 1},
      {"Q", "w", 3},
      {"A", "B", 3},
      {"zhongguo", "zhonggou", 3},
      {"g", "b", 1},
      {"=", "]", 1},
      {"q", "@", 1},
      // 17 keys against 3 is answered by the length rule, against 4 not.
      {"abcdefghijklmnopq", "abc", (17 - 3 + 1) * 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " / " + c.b);
    EXPECT_EQ(EditDistance(c.a, c.b), c.want);
    EXPECT_EQ(EditDistance(c.b, c.a), c.want);
  }
  EXPECT_EQ(EditDistance("abcdefghijklmnopq", "abcd"), Oracle("abcdefghijklmnopq", "abcd"));
}

TEST_F(EditDistanceTest, AdjacencyIsSymmetricWith118Pairs) {
  int pairs = 0;
  for (int a = 1; a < 128; ++a)
    for (int b = 1; b < 128; ++b) {
      const char ca = static_cast<char>(a), cb = static_cast<char>(b);
      EXPECT_EQ(adjacent(ca, cb), adjacent(cb, ca));
      EXPECT_EQ(adjacent(ca, cb) != 0, ca != cb && Neighbours(ca, cb) != 0) << ca << cb;
      pairs += adjacent(ca, cb);
    }
  EXPECT_EQ(pairs, 236);
  EXPECT_EQ(mapAdjcntCharPairs.GetCount(), 236);
  InitAdjcntCharPairs();  // a second fill adds nothing
  EXPECT_EQ(mapAdjcntCharPairs.GetCount(), 236);
}

TEST_F(EditDistanceTest, MatchesTheOracleAndIsSymmetric) {
  std::mt19937 rng(12345);
  for (int i = 0; i < 400; ++i) {
    const std::string a = RandomKeys(rng, rng() % 12), b = RandomKeys(rng, rng() % 12);
    SCOPED_TRACE(a + " / " + b);
    EXPECT_EQ(EditDistance(a.c_str(), b.c_str()), Oracle(a, b));
    EXPECT_EQ(EditDistance(a.c_str(), b.c_str()), EditDistance(b.c_str(), a.c_str()));
  }
}

// The bounded distance gives the distance below its limit and never a
// value below the limit otherwise, on near and far pairs (a key and its
// mistyped copies, and unrelated keys).
TEST_F(EditDistanceTest, BoundedDistanceAgreesBelowItsLimit) {
  std::mt19937 rng(36);
  for (int i = 0; i < 600; ++i) {
    const std::string a = RandomKeys(rng, 3 + rng() % 20);
    std::string b = a;
    for (int k = static_cast<int>(rng() % 4); k > 0 && !b.empty(); --k)
      b[rng() % b.size()] = RandomKeys(rng, 1)[0];
    if (rng() % 3 == 0) b = RandomKeys(rng, rng() % 20);
    const int full = EditDistance(a.c_str(), b.c_str());
    for (int limit : {1, 2, 3, 4, 6, 7, 9, 12, 30}) {
      SCOPED_TRACE(a + " / " + b + " limit " + std::to_string(limit));
      const int bounded = EditDistanceBelow(a.c_str(), b.c_str(), limit);
      if (full < limit) {
        EXPECT_EQ(bounded, full);
      } else {
        EXPECT_GE(bounded, limit);
      }
    }
  }
}

// The fuzzy segment search skips keys whose length alone puts them out of
// reach: every key of length difference costs at least 3, also through the
// shortcut for very different lengths.
TEST_F(EditDistanceTest, ALengthDifferenceCostsThreeAKey) {
  std::mt19937 rng(99);
  for (int i = 0; i < 400; ++i) {
    const std::string a = RandomKeys(rng, rng() % 40), b = RandomKeys(rng, rng() % 40);
    SCOPED_TRACE(a + " / " + b);
    const int gap = static_cast<int>(a.size()) - static_cast<int>(b.size());
    EXPECT_GE(EditDistance(a.c_str(), b.c_str()), 3 * (gap < 0 ? -gap : gap));
  }
}

TEST_F(EditDistanceTest, StringsLongerThan127KeysKeepTheirResults) {
  // Such strings overran a fixed 128 x 128 matrix; the matrix now grows.
  std::mt19937 rng(7);
  const std::string a = RandomKeys(rng, 300);
  std::string b = a;
  b[150] = b[150] == 'q' ? 'p' : 'q';
  b.insert(200, "x");
  EXPECT_EQ(EditDistance(a.c_str(), a.c_str()), 0);
  EXPECT_EQ(EditDistance(a.c_str(), b.c_str()), Oracle(a, b));
  const std::string c = RandomKeys(rng, 140), d = RandomKeys(rng, 130);
  EXPECT_EQ(EditDistance(c.c_str(), d.c_str()), Oracle(c, d));
  // A short call after a long one still starts from a clean matrix.
  EXPECT_EQ(EditDistance("ab", "ba"), 3);
}
