// The programs' entry point. It stays alone in this file so that a program
// with a main of its own (the test binaries) never pulls it in.
#include "framework/CWinApp.h"

int main(int argc, char** argv) { return AfcMain(argc, argv); }
