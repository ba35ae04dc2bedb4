// kvrsetup's application object. The program's main is the framework's
// (framework/AfcMain.cpp), which drives this object.
#include "installer/CMdiApp.h"

namespace installer {
CMdiApp theApp;
}  // namespace installer
