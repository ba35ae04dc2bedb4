// kvr while several clients type at full speed: three of our Xlib clients,
// each in a process of its own, stay connected and serving while each in
// turn gets its keys in a burst made before it reads any, so it forwards
// them back to back and its long messages pile up in the properties kvr
// reads. Every client must receive exactly what the same keys typed stroke
// by stroke give. kvr runs from a copy of the distribution directory under
// an XIM name of its own and is stopped by its process id.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/KvrClients.h"
#include "tests/support/KvrProcess.h"

namespace {

using kvrtest::ClientKind;
using kvrtest::ClientScript;
using kvrtest::Typed;

// Pinyin words, each committed by Space in a burst of several words that
// Chinese input is switched on before and off after.
const char* const kWords[] = {"nihao",   "zhongguo", "women", "beijing",   "biaoqian",
                              "wenjian", "zhexie",   "zhide", "xiangjian", "wen"};
constexpr int kWordCount = sizeof kWords / sizeof kWords[0];

const ClientKind kKinds[] = {ClientKind::XlibUtf8, ClientKind::XlibGbk, ClientKind::XlibGb2312};

size_t KeyCount(const std::string& script) {
  size_t n = 0;
  for (size_t i = 0; i < script.size(); ++i, ++n) {
    if (script[i] == '<' && script.find('>', i) != std::string::npos) i = script.find('>', i);
  }
  return n;
}

class Burst : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_kvr = new kvrtest::KvrProcess;
    if (!s_kvr->Start(kvrtest::UniqueImName("KvrBurst"))) s_startLog = s_kvr->Log();
  }
  static void TearDownTestSuite() {
    delete s_kvr;
    s_kvr = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(s_kvr && s_kvr->Running()) << s_startLog; }
  const std::string& Name() const { return s_kvr->Name(); }

  // What word i gives when typed stroke by stroke (UTF-8).
  std::string Slowly(int i) {
    const Typed t = kvrtest::TypeInto(ClientKind::XlibUtf8, Name(),
                                      std::string("<C-space>") + kWords[i] + "<space><C-space>");
    EXPECT_TRUE(t.ok) << t.diagnosis;
    return t.bytes;
  }

  static kvrtest::KvrProcess* s_kvr;
  static std::string s_startLog;
};
kvrtest::KvrProcess* Burst::s_kvr = nullptr;
std::string Burst::s_startLog;

// Each client's commits, compared with the slow typing of the same inputs.
void ExpectEach(const std::vector<ClientScript>& scripts, const std::vector<Typed>& got,
                const std::vector<std::string>& slowUtf8, const std::string& log) {
  ASSERT_EQ(got.size(), scripts.size());
  for (size_t c = 0; c < scripts.size(); ++c) {
    SCOPED_TRACE(std::string(kvrtest::ClientName(scripts[c].kind)) + " typing " +
                 scripts[c].script);
    ASSERT_TRUE(got[c].ok) << got[c].diagnosis << "\nkvr: " << log;
    const std::string want = kvrtest::Recode(slowUtf8[c], kvrtest::ClientCharset(scripts[c].kind));
    EXPECT_EQ(kvrtest::Escaped(got[c].bytes), kvrtest::Escaped(want));
  }
}

TEST_F(Burst, ThreeClientsBurstInTurn) {
  const std::vector<ClientScript> scripts = {
      {ClientKind::XlibUtf8, "<C-space>nihao<space><C-space>"},
      {ClientKind::XlibGbk, "<C-space>zhongguo<space><C-space>"},
      {ClientKind::XlibGb2312, "<C-space>women<space>beijing<space><C-space>"},
  };
  const std::vector<Typed> got = kvrtest::BurstIntoEachInTurn(Name(), scripts);
  ExpectEach(scripts, got, {"你好", "中国", "我们北京"}, s_kvr->Log());
}

// A few thousand keys in bursts from three clients; every client gets what
// slow typing of its words gives, in its own encoding.
TEST_F(Burst, SoakOfThousandsOfKeysFromThreeClients) {
  std::string slow[kWordCount];
  for (int i = 0; i < kWordCount; ++i) {
    slow[i] = Slowly(i);
    ASSERT_FALSE(slow[i].empty()) << kWords[i] << "\nkvr: " << s_kvr->Log();
  }
  size_t keys = 0;
  for (int round = 0; keys < 3000; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::vector<ClientScript> scripts;
    std::vector<std::string> want;
    for (int c = 0; c < 3; ++c) {
      std::string script = "<C-space>", text;
      for (int k = 0; k < 16; ++k) {
        const int i = (round * 7 + c * 3 + k * (c + 1)) % kWordCount;
        script += std::string(kWords[i]) + "<space>";
        text += slow[i];
      }
      script += "<C-space>";
      keys += KeyCount(script);
      scripts.push_back({kKinds[c], script});
      want.push_back(text);
    }
    const std::vector<Typed> got = kvrtest::BurstIntoEachInTurn(Name(), scripts);
    ExpectEach(scripts, got, want, s_kvr->Log());
    if (HasFailure()) return;
  }
}

}  // namespace
