#include "engine/formats/PhraseKeyRule.h"

#include <set>

#include "engine/formats/PhraseStoreFormat.h"

namespace phrasekey {
namespace {

// What one call may still make: keys and combinations tried.
struct Budget {
  size_t keys;
  size_t tries;      // left for the current group of combinations
  size_t triesEach;  // given to each group
  bool validOnly;
  bool Spent() const { return keys == 0 || tries == 0; }
  void NewGroup() { tries = triesEach; }
};

// Calls emit(concatenation) for every combination of one string per list,
// the first list varying slowest, while the budget lasts.
template <typename Emit>
void ForEachCombination(const std::vector<std::vector<std::string>>& lists, size_t at,
                        std::string& prefix, Budget& budget, Emit&& emit) {
  if (budget.Spent()) return;
  // Every key grown from a prefix too long for an index is too long too.
  if (budget.validOnly && prefix.size() > phrasestore::kMaxKeyBytes) return;
  if (at == lists.size()) {
    --budget.tries;
    emit(prefix);
    return;
  }
  for (const std::string& s : lists[at]) {
    const size_t keep = prefix.size();
    prefix += s;
    ForEachCombination(lists, at + 1, prefix, budget, emit);
    prefix.resize(keep);
    if (budget.Spent()) return;
  }
}

std::vector<std::string> LettersAsCodes(const std::string& letters) {
  std::vector<std::string> out;
  for (char c : letters) out.emplace_back(1, c);
  return out;
}

// Tries per key allowed: most combinations of a bounded call make a key.
constexpr size_t kTriesPerKey = 4;

}  // namespace

std::string DistinctFirstLetters(const std::vector<std::string>& codes) {
  std::string letters;
  for (const std::string& c : codes) {
    if (!c.empty() && letters.find(c[0]) == std::string::npos) letters.push_back(c[0]);
  }
  return letters;
}

bool BuildKeys(const std::vector<std::vector<std::string>>& codes, Method method,
               const std::string& lastPinyinLetters, bool withInitials, Keys& out,
               const Limits& limits) {
  out.keys.clear();
  out.initialKeys.clear();
  const size_t tries = limits.maxKeys == SIZE_MAX ? SIZE_MAX : limits.maxKeys * kTriesPerKey;
  Budget budget{limits.maxKeys, tries, tries, limits.validOnly};
  std::set<std::string> seen;
  auto add = [&seen, &budget](std::vector<std::string>& to, const std::string& k) {
    if (budget.keys == 0) return;
    if (budget.validOnly && !phrasestore::IsValidKey(k)) return;
    if (seen.insert(k).second) {
      to.push_back(k);
      --budget.keys;
    }
  };
  const size_t n = codes.size();
  std::string prefix;
  if (n == 2 || n == 3) {
    // One index per character, the first character varying slowest, filing
    // each key and then its initials.
    for (const auto& list : codes) {
      if (list.empty()) return false;
    }
    std::vector<size_t> pick(n, 0);
    while (!budget.Spent()) {
      --budget.tries;
      std::string k, initials;
      for (size_t i = 0; i < n; ++i) {
        k += codes[i][pick[i]];
        initials.push_back(codes[i][pick[i]].empty() ? '\0' : codes[i][pick[i]][0]);
      }
      if (method == kShapeCode && k.size() <= 3) {
        for (char f : lastPinyinLetters) add(out.keys, k.size() == 2 ? k + f + f : k + f);
      } else {
        add(out.keys, k);
      }
      if (method == kPinyin && withInitials && initials.find('\0') == std::string::npos)
        add(out.initialKeys, initials);
      size_t i = n;
      while (i > 0 && ++pick[i - 1] == codes[i - 1].size()) pick[--i] = 0;
      if (i == 0) break;
    }
  } else if (n >= 4) {
    for (const auto& list : codes) {
      if (list.empty()) return false;
    }
    ForEachCombination(codes, 0, prefix, budget, [&](const std::string& k) { add(out.keys, k); });
    if (n <= 6) {
      std::vector<std::vector<std::string>> firsts;
      for (size_t i : {size_t{0}, size_t{1}, size_t{2}, n - 1})
        firsts.push_back(LettersAsCodes(DistinctFirstLetters(codes[i])));
      prefix.clear();
      budget.NewGroup();
      ForEachCombination(firsts, 0, prefix, budget,
                         [&](const std::string& k) { add(out.keys, k); });
    }
    if (n >= 5) {
      std::vector<std::vector<std::string>> firsts;
      for (const auto& list : codes) firsts.push_back(LettersAsCodes(DistinctFirstLetters(list)));
      prefix.clear();
      budget.NewGroup();
      ForEachCombination(firsts, 0, prefix, budget,
                         [&](const std::string& k) { add(out.keys, k); });
    }
  }
  return !out.keys.empty();
}

}  // namespace phrasekey
