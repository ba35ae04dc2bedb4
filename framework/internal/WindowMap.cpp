#include "framework/internal/WindowMap.h"

#include <unordered_map>
#include <vector>

#include "framework/AWnd.h"

namespace afc {
namespace {

struct State {
  std::unordered_map<unsigned long, AWnd*> map;
  std::unordered_map<AWnd*, std::unique_ptr<AWnd>> owned;  // bare objects
  std::vector<std::unique_ptr<AWnd>> graveyard;
};

State& S() {
  static State s;
  return s;
}

}  // namespace

AWnd* WindowMap::Find(unsigned long window) {
  auto it = S().map.find(window);
  return it == S().map.end() ? nullptr : it->second;
}

void WindowMap::Register(unsigned long window, AWnd* wnd) { S().map[window] = wnd; }

bool WindowMap::Unregister(unsigned long window) {
  auto it = S().map.find(window);
  if (it == S().map.end()) return false;
  AWnd* wnd = it->second;
  S().map.erase(it);
  auto own = S().owned.find(wnd);
  if (own != S().owned.end()) {
    S().graveyard.push_back(std::move(own->second));
    S().owned.erase(own);
  }
  return true;
}

void WindowMap::Forget(unsigned long window, AWnd* wnd) {
  auto it = S().map.find(window);
  if (it != S().map.end() && it->second == wnd) S().map.erase(it);
}

AWnd* WindowMap::Adopt(std::unique_ptr<AWnd> bare) {
  AWnd* raw = bare.get();
  S().owned[raw] = std::move(bare);
  return raw;
}

void WindowMap::Bury() { S().graveyard.clear(); }

int WindowMap::Count() { return static_cast<int>(S().map.size()); }

}  // namespace afc
