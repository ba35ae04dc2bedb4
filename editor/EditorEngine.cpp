#include "editor/EditorEngine.h"

namespace {
IEditorEngine gDefaultEngine;
// Written by SetEditorEngine at start-up (or by a test), read by the views.
IEditorEngine* gpEngine = &gDefaultEngine;
}  // namespace

void SetEditorEngine(IEditorEngine* engine) { gpEngine = engine ? engine : &gDefaultEngine; }

IEditorEngine& EditorEngine() { return *gpEngine; }
