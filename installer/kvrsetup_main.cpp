// Entry point of kvrsetup. The wizard joins as the framework and the
// controls grow; until then the program only starts and ends cleanly.
#include "controls/EdtScrollBarBind.h"

int main() {
  // The editor views of the wizard's edit controls get real scroll bars.
  BindEditorScrollBars();
  return 0;
}
