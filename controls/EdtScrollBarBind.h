// EdtScrollBarBind.h: gives the editor views their scroll bars. The editor
// cannot link the controls (the controls link the editor), so it asks a
// maker for its bars (editor/EdtScrollBar.h); this installs the maker that
// builds real AScrl bars. Both programs call it at start-up, before any
// edit control is built; without it the views get windowless bars.
#pragma once

void BindEditorScrollBars();
