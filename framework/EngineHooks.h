// EngineHooks.h: what the framework asks of the input engine. The engine
// stands above the framework and the framework never links it; instead the
// program that has an engine (kvr's front end) installs these hooks at
// start-up. Without them the framework behaves as a program without an
// engine: shape-code input for the key grab, no Big5 form for any character.
#pragma once

struct EngineHooks {
  // The current input method (cfgInputManager's InputMthd: 0 shape code,
  // 1 pinyin). Read by GrabSomeKeys.
  int (*inputMethod)() = nullptr;
  // The Big5 code (code order, lead byte high) of a GBK code, 0xA1BC when
  // there is none. Read by the text drawing in traditional mode.
  unsigned short (*gbk2Big5)(unsigned short gbk) = nullptr;
};

// Installs the hooks (a copy is kept); a default EngineHooks removes them.
void SetEngineHooks(const EngineHooks& hooks);

// The input method through the hook, 0 without one.
int EngineInputMethod();
// The Big5 code through the hook, 0xA1BC without one.
unsigned short EngineGbk2Big5(unsigned short gbk);
