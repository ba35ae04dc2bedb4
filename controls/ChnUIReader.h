// ChnUIReader.h: how the controls learn the engine's ChnUI setting (the UI
// language the user chose: 0 English, 1 simplified, 2 traditional Chinese).
// The engine stands above the controls, so the front end installs a reader
// at start-up; without one (kvrsetup) the setting reads 0 and the message
// box and the menus translate nothing.
#pragma once

using ChnUIReader = int (*)();
// Installs the reader; null removes it.
void SetChnUIReader(ChnUIReader reader);
// The setting through the reader, 0 without one.
int ReadChnUI();
