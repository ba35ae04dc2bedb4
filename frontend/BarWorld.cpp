#include "frontend/BarWorld.h"

namespace {
IBarWorld* g_world = nullptr;  // borrowed
}  // namespace

IBarWorld* BarWorld() { return g_world; }
void SetBarWorld(IBarWorld* world) { g_world = world; }
