// CMdiApp.h: kvrsetup's application class. The framework's main drives the
// one object, installer::theApp (defined with the program in
// kvrsetup_main.cpp): InitApplication compiles kvrsetup.rc from beside the
// program, InitInstance runs the setup wizard modally and returns 0, so the
// program ends when the wizard closes.
//
// kvr's application class has the same name; this one lives in the
// installer namespace so that one program may link both libraries.
#pragma once

#include "framework/CWinApp.h"

namespace installer {

class CMdiApp : public CWinApp {
 public:
  CMdiApp();
  int InitInstance() override;
  ~CMdiApp() override;
  int InitApplication() override;
};

extern CMdiApp theApp;

}  // namespace installer
