#include "controls/MnuTemplate.h"

#include <cstring>

#include "controls/internal/BlobIO.h"

namespace {

// Deletes every owned pointer of an array and empties it.
template <class T>
void DeleteAll(AArray<T*, T*>& arr) {
  for (int i = 0; i < arr.GetSize(); ++i) delete arr[i];
  arr.RemoveAll();
}

template <class T>
void CopyAll(AArray<T*, T*>& to, const AArray<T*, T*>& from) {
  auto& src = const_cast<AArray<T*, T*>&>(from);  // read only
  for (int i = 0; i < src.GetSize(); ++i) to.Add(new T(*src[i]));
}

void PutCellHead(FILE* f, const typMnuCell& c) {
  rcblob::Put32(f, static_cast<uint32_t>(c.m_kind));
  rcblob::Put8(f, c.m_checked);
  rcblob::Put8(f, c.m_disabled);
  rcblob::Put32(f, static_cast<uint32_t>(c.m_id));
  rcblob::PutStr(f, c.m_text);
}

}  // namespace

// ---- typMnuCell

typMnuCell::typMnuCell() : m_kind(kMnuPopup), m_checked(0), m_disabled(0), m_id(-1) {}

typMnuCell::typMnuCell(const typMnuCell& other) : typMnuCell() { *this = other; }

typMnuCell& typMnuCell::operator=(const typMnuCell& other) {
  if (this == &other) return *this;
  Reset();
  m_kind = other.m_kind;
  m_checked = other.m_checked;
  m_disabled = other.m_disabled;
  m_id = other.m_id;
  m_text = other.m_text;
  CopyAll(m_children, other.m_children);
  return *this;
}

typMnuCell::~typMnuCell() { Reset(); }

void typMnuCell::Reset() {
  DeleteAll(m_children);
  m_kind = kMnuPopup;
  m_checked = 0;
  m_disabled = 0;
  m_id = -1;
  m_text = "";
}

int typMnuCell::DiskIO(int read, FILE* f) {
  if (read) {
    Reset();
    return ReadTree(f, 0);
  }
  PutCellHead(f, *this);
  rcblob::Put32(f, static_cast<uint32_t>(m_children.GetSize()));
  for (int i = 0; i < m_children.GetSize(); ++i) m_children[i]->DiskIO(0, f);
  return 1;
}

int typMnuCell::ReadTree(FILE* f, int depth) {
  using namespace rcblob;
  // Each level of a damaged file could otherwise take a stack frame.
  if (depth > kMaxDepth) return 0;
  int32_t nChildren = 0;
  if (!(Get32(f, m_kind) && Get8(f, m_checked) && Get8(f, m_disabled) && Get32(f, m_id) &&
        GetStr(f, m_text) && GetCount(f, nChildren, kMinCellBytes)))
    return 0;
  for (int32_t i = 0; i < nChildren; ++i) {
    typMnuCell* child = new typMnuCell;
    m_children.Add(child);
    if (!child->ReadTree(f, depth + 1)) return 0;
  }
  return 1;
}

// ---- typToolbar

typToolbar::typToolbar() : m_flag1(0), m_flag2(0), m_id(-1) {}

typToolbar::typToolbar(const typToolbar& other) : typToolbar() { *this = other; }

typToolbar& typToolbar::operator=(const typToolbar& other) {
  if (this == &other) return *this;
  Reset();
  m_flag1 = other.m_flag1;
  m_flag2 = other.m_flag2;
  m_id = other.m_id;
  m_name = other.m_name;
  CopyAll(m_buttons, other.m_buttons);
  return *this;
}

typToolbar::~typToolbar() { Reset(); }

void typToolbar::Reset() {
  DeleteAll(m_buttons);
  m_name = "";
  m_id = -1;
  m_flag1 = 0;
  m_flag2 = 0;
}

int typToolbar::DiskIO(int read, FILE* f) {
  using namespace rcblob;
  if (!read) {
    Put8(f, m_flag1);
    Put8(f, m_flag2);
    Put32(f, static_cast<uint32_t>(m_id));
    PutStr(f, m_name);
    Put32(f, static_cast<uint32_t>(m_buttons.GetSize()));
    for (int i = 0; i < m_buttons.GetSize(); ++i) m_buttons[i]->DiskIO(0, f);
    return 1;
  }
  Reset();
  int32_t nButtons = 0;
  if (!(Get8(f, m_flag1) && Get8(f, m_flag2) && Get32(f, m_id) && GetStr(f, m_name) &&
        GetCount(f, nButtons, kMinCellBytes)))
    return 0;
  for (int32_t i = 0; i < nButtons; ++i) {
    typMnuCell* button = new typMnuCell;
    m_buttons.Add(button);
    if (!button->DiskIO(1, f)) return 0;
  }
  return 1;
}

// ---- typAccltrCell, typAccelerator

void typAccltrCell::Reset() {
  memset(m_bytes, 0, sizeof m_bytes);
  m_id = -1;
}

typAccelerator::typAccelerator() {}

typAccelerator::typAccelerator(const typAccelerator& other) : typAccelerator() { *this = other; }

typAccelerator& typAccelerator::operator=(const typAccelerator& other) {
  if (this == &other) return *this;
  Reset();
  m_name = other.m_name;
  CopyAll(m_cells, other.m_cells);
  return *this;
}

typAccelerator::~typAccelerator() { Reset(); }

void typAccelerator::Reset() {
  DeleteAll(m_cells);
  m_name = "";
}

int typAccelerator::DiskIO(int read, FILE* f) {
  using namespace rcblob;
  if (!read) {
    PutStr(f, m_name);
    Put32(f, static_cast<uint32_t>(m_cells.GetSize()));
    for (int i = 0; i < m_cells.GetSize(); ++i) {
      fwrite(m_cells[i]->m_bytes, 1, sizeof m_cells[i]->m_bytes, f);
      Put32(f, static_cast<uint32_t>(m_cells[i]->m_id));
    }
    return 1;
  }
  Reset();
  int32_t nCells = 0;
  if (!(GetStr(f, m_name) && GetCount(f, nCells, kAccltrCellBytes))) return 0;
  for (int32_t i = 0; i < nCells; ++i) {
    typAccltrCell* cell = new typAccltrCell;
    m_cells.Add(cell);
    if (fread(cell->m_bytes, 1, sizeof cell->m_bytes, f) != sizeof cell->m_bytes ||
        !Get32(f, cell->m_id))
      return 0;
  }
  return 1;
}
