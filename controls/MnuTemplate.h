// MnuTemplate.h: the compiled form of the menus, toolbars and accelerator
// tables of the resource script. A menu is a tree of typMnuCell: the root
// (kind 0, id the menu's numeric name) holds the popups and items in script
// order, each popup its own rows. The popup menu binds to a cell of the
// compiler's menu table and walks it without owning it.
//
// Ownership: a cell owns its children, a toolbar its buttons, an accelerator
// table its cells; deleting (or resetting) the owner deletes them. Copies are
// deep. The menu table of the compiler owns the root cells.
//
// File form (little-endian, no filler; str as in DlgTemplate.h):
//   cell:        kind i32, check u8, disabled u8, id i32, text str,
//                child count i32, then each child cell
//   toolbar:     flag1 u8, flag2 u8, id i32, name str, button count i32,
//                then each button as a cell
//   accelerator: name str, cell count i32, then each cell's twelve bytes
//   accel cell:  key u8, 0, 0, three modifier marks u8, 0, 0, command id i32
#pragma once

#include <cstdint>
#include <cstdio>

#include "base/AArray.h"
#include "base/AList.h"
#include "base/CString.h"

// Kinds of a menu cell.
enum typMnuCellType : int32_t { kMnuPopup = 0, kMnuItem = 1, kMnuSeparator = 2 };

struct typMnuCell {
  int32_t m_kind;      // typMnuCellType: 0 root or popup (and toolbar button), 1 item, 2 separator
  uint8_t m_checked;   // set by the menu's users
  uint8_t m_disabled;  // set by the menu's users
  int32_t m_id;        // command id; a root's numeric name; -1 for none
  CString m_text;      // '&' and TAB included
  AArray<typMnuCell*, typMnuCell*> m_children;  // owned, script order

  typMnuCell();
  typMnuCell(const typMnuCell& other);
  typMnuCell& operator=(const typMnuCell& other);
  ~typMnuCell();

  // Deletes the children (their subtrees with them); kind 0, marks 0, id -1,
  // empty text.
  void Reset();

  // read 0 writes the cell and its subtree; read 1 replaces them by what the
  // file holds. Returns 1; 0 for a damaged record: the file ends inside it, a
  // length or count cannot fit in what is left, or the tree nests deeper than
  // kMaxDepth (what was read so far stays in the cell).
  int DiskIO(int read, FILE* f);

  static constexpr int kMaxDepth = 32;

 private:
  int ReadTree(FILE* f, int depth);
};

struct typToolbar {
  uint8_t m_flag1;                             // 0 from the compiler
  uint8_t m_flag2;                             // 0 from the compiler
  int32_t m_id;                                // -1 from the compiler
  CString m_name;                              // empty from the compiler
  AArray<typMnuCell*, typMnuCell*> m_buttons;  // owned; kind 0, id from BUTTON

  typToolbar();
  typToolbar(const typToolbar& other);
  typToolbar& operator=(const typToolbar& other);
  ~typToolbar();

  void Reset();                   // deletes the buttons; id -1, flags 0, empty name
  int DiskIO(int read, FILE* f);  // as typMnuCell::DiskIO
};

// One accelerator: twelve bytes, the same in memory and on file.
struct typAccltrCell {
  uint8_t m_bytes[8];  // 0 key character; 3, 4, 5 modifier marks; others 0
  int32_t m_id;        // command id, -1 for none

  typAccltrCell() { Reset(); }
  ~typAccltrCell() { Reset(); }
  void Reset();
};

struct typAccelerator {
  CString m_name;                                  // empty from the compiler
  AArray<typAccltrCell*, typAccltrCell*> m_cells;  // owned

  typAccelerator();
  typAccelerator(const typAccelerator& other);
  typAccelerator& operator=(const typAccelerator& other);
  ~typAccelerator();

  void Reset();                   // deletes the cells, empty name
  int DiskIO(int read, FILE* f);  // as typMnuCell::DiskIO
};
