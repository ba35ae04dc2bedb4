// The combo box's row history: the last texts entered, newest first, kept
// in a small text file beside the program, one row per line.
#include <cstdio>
#include <string>

#include "base/AtomicFile.h"
#include "controls/ACmbo.h"
#include "framework/CWinApp.h"

namespace {
// Nothing past the first 64 KiB of a history file is read: a full history
// is 16 rows of at most 256 bytes.
constexpr long kMruMaxFileBytes = 64 * 1024;
}  // namespace

CString ACmbo::MruPath() const {
  const CWinApp* app = uniqueAFCAppPointer;
  CString path;
  path.Format("%scombomru%s.bin", app ? static_cast<const char*>(app->m_strProgDir) : "",
              static_cast<const char*>(m_strHistory));
  return path;
}

void ACmbo::TakeResult() {
  AddToMRU(GetText());
  SaveMRU();
}

void ACmbo::AddToMRU(const char* text) {
  std::string row(text ? text : "");
  if (row.size() > static_cast<size_t>(kMruMaxBytes)) row.resize(kMruMaxBytes);
  const int same = FindRowExact(row.c_str(), 0);
  if (same >= 0) DelRow(same);
  InsertRow(0, row.c_str());
  while (GetCount() > kMruMaxRows) DelRow(GetCount() - 1);
  CalcLBMaxWidth();
}

int ACmbo::LoadMRU() {
  FILE* f = std::fopen(MruPath(), "rt");
  if (!f) return 0;
  std::string line;
  long read = 0;
  bool cut = false;  // the rest of an over-long line is skipped
  for (int c; GetCount() < kMruMaxRows && read < kMruMaxFileBytes && (c = std::fgetc(f)) != EOF;
       ++read) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      AddRow(line.c_str());
      line.clear();
      cut = false;
    } else if (c == '\0') {
      cut = true;  // a NUL ends the row's text
    } else if (!cut && line.size() < static_cast<size_t>(kMruMaxBytes)) {
      line.push_back(static_cast<char>(c));
    }
  }
  if (!line.empty() && GetCount() < kMruMaxRows) AddRow(line.c_str());
  std::fclose(f);
  CalcLBMaxWidth();
  return 1;
}

int ACmbo::SaveMRU() {
  std::string text;
  for (int i = 0; i < GetCount(); ++i) {
    text += static_cast<const char*>(m_list.m_arrTexts[i]);
    text += '\n';
  }
  AtomicFile file(static_cast<const char*>(MruPath()));
  return file.Open() && file.Write(text.data(), text.size()) && file.Commit() ? 1 : 0;
}

void ACmbo::CalcLBMaxWidth() {
  // The list is never narrower than the edit part; the menu itself grows to
  // its widest row when it is measured.
  m_list.m_nMinWidth = m_rcEdit.Width();
}
