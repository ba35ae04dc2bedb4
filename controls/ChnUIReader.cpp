#include "controls/ChnUIReader.h"

namespace {
ChnUIReader g_chnUI = nullptr;  // installed by the front end at start-up
}  // namespace

void SetChnUIReader(ChnUIReader reader) { g_chnUI = reader; }

int ReadChnUI() { return g_chnUI ? g_chnUI() : 0; }
