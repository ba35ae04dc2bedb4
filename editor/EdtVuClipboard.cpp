// Copy, cut and paste through the framework's clipboard: the X CLIPBOARD
// selection, so text moves between the program's fields and other
// applications (GBK inside, UTF-8 or STRING outside).
#include <memory>
#include <string>

#include "editor/AEdtVu.h"
#include "editor/EditorEngine.h"
#include "editor/EdtVuWorld.h"
#include "editor/internal/EdtText.h"

int AEdtVu::AtEdtCpy() {
  ResetEngineInput();
  if (m_ptSelAnchor == m_ptSelEnd) return 0;
  CString selected;
  GetSelectedText(selected);
  if (selected.IsEmpty()) return 0;
  std::string text(static_cast<const char*>(selected), static_cast<size_t>(selected.GetLength()));
  return World().SetClipbrdText(text.data()) ? 1 : 0;
}

// The text leaves the document only once the clipboard holds it: a copy
// that fails must not turn the cut into a plain delete.
void AEdtVu::AtEdtCut() {
  EditorEngine().ResetChnInput(1, 0, 1);
  m_byHeldLead = 0;
  if (!AtEdtCpy()) return;
  int changed = 0;
  DeleteSelection(changed);
  PlaceCaret();
  MyShowCaret();
  LeaveReSelectionAfterEdit(CPoint(m_nCaretCol, m_nCaretRow));
}

void AEdtVu::AtEdtPaste() {
  char* raw = nullptr;
  if (!World().GetClipbrdText(&raw, m_bPasteVariant) || !raw) return;
  const std::unique_ptr<char[]> text(raw);
  if (!text[0]) return;
  const CPoint start = edttext::PosBefore(m_ptSelEnd, m_ptSelAnchor) ? m_ptSelEnd : m_ptSelAnchor;
  int changed = 0;
  DeleteSelection(changed);
  unsigned char* bytes = reinterpret_cast<unsigned char*>(text.get());
  if (InBlockSelectMode())
    DoInsertStrBlock(bytes);
  else
    DoInsertStr(bytes);
  if (EditorEngine().UseZiCiForecast()) EditorEngine().ZiCiForecastingReset(0);
  LeaveReSelectionAfterEdit(start);
}

void AEdtVu::AtEdtPaste2() {
  const int32_t old = m_bPasteVariant;
  m_bPasteVariant = 1;
  AtEdtPaste();
  m_bPasteVariant = old;
}
