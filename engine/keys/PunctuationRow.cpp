// The US punctuation row by key position, and the stroke keys found
// through it.
#include <cstring>

#include "engine/CChnChars.h"

const char cPosToCharUS[kPunctRowKeys] = {'`', '-', '=', '[', ']', ';', '\'', ',', '.', '/', '\\'};
typKeyContext keyContext = {};
int gIsKeyContextValid = 0;

int CChnChars::GetKeyContext(unsigned long key, unsigned long, typKeyContext* ctx, unsigned long) {
  gIsKeyContextValid = 0;
  if (!ctx) return 0;
  ctx->layoutWord[0] = ctx->layoutWord[1] = 0;
  for (int i = 0; i < kPunctRowKeys; ++i) {
    if (static_cast<unsigned char>(cPosToCharUS[i]) == key) {
      ctx->keyPos = static_cast<uint16_t>(i);
      gIsKeyContextValid = 1;
      break;
    }
  }
  return gIsKeyContextValid;
}

int CChnChars::IsBiHuaCode(unsigned long key, unsigned long ch, unsigned long) {
  GetKeyContext(key, 0, &keyContext, 0);
  return ch != 0 && ch < 0x80 && strchr(gszBiHuaMa, static_cast<int>(ch)) ? 1 : 0;
}

char CChnChars::Translate2NormalBiHua(short stroke) {
  switch (stroke) {
    case 1: return '-';
    case 2: return '=';
    case 3: return '[';
    case 4: return ']';
    default:
      return cfgInputManager.IsPinYinMethod() && cfgInputManager.ShuangPin &&
                     cfgInputManager.ShuangPinScheme == 0
                 ? '/'
                 : ';';
  }
}
