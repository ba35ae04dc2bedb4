// Placeholders for the view's commands (clipboard, undo, the delimiter
// jump) until EdtVuCommands.cpp lands: the keys already reach them. Delete
// this file when it does; the linker then reports any command left out.
#include "editor/AEdtVu.h"

void AEdtVu::AtEdtPaste() {}
void AEdtVu::AtEdtPaste2() {}
void AEdtVu::AtEdtCpy() {}
void AEdtVu::AtEdtCut() {}
void AEdtVu::GoOtherDelimiter(unsigned long) {}
void AEdtVu::OnUnDo() {}
void AEdtVu::OnEditRedo() {}
