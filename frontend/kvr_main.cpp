// kvr's application object. The program's main is the framework's
// (framework/AfcMain.cpp), which drives this object.
#include "frontend/CMdiApp.h"

CMdiApp theApp;
