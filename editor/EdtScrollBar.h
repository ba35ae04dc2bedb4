// EdtScrollBar.h: the two scroll bars of an editor view, as the view sees
// them. The bars are controls (AScrl), and the controls subsystem links the
// editor, not the other way round; so the view only knows this interface and
// a maker that the controls subsystem installs at start-up
// (BindEditorScrollBars, called by both programs before any edit control is
// built). Without a maker the view gets windowless bars that keep the four
// numbers and show nothing: the scrolling arithmetic works the same, which
// is what the editor's own tests use.
//
// The scroll position lives in the bar, as the bar's own clicks and drags
// change it; the view reads it back at every use. A bar's numbers are
// plain stores: the bar does not clamp what the view writes.
#pragma once

#include <memory>

#include "base/Geometry.h"

class AWnd;

class IEdtScrollBar {
 public:
  virtual ~IEdtScrollBar() = default;
  virtual int GetRangeMax() const = 0;
  virtual void SetRangeMax(int range) = 0;
  virtual int GetPos() const = 0;
  virtual void SetPos(int pos) = 0;
  virtual int GetPage() const = 0;
  virtual void SetPage(int page) = 0;
  virtual int GetStep() const = 0;
  virtual void SetStep(int step) = 0;
  // Maps (nonzero) or unmaps the bar's window; a windowless bar only
  // remembers it.
  virtual void Show(int show) = 0;
  virtual int IsShown() const = 0;
  // The bar's X window, 0 for a windowless bar.
  virtual unsigned long GetWin() const = 0;
};

// Makes the bar of one view: horizontal nonzero for the bottom bar; rect in
// the parent's pixels; owner receives the bar's position messages (1382,
// 1383); parent holds the bar's window (null: the root). The bar starts
// hidden. Null when the bar cannot be made.
using EdtScrollBarMaker = std::unique_ptr<IEdtScrollBar> (*)(int horizontal, const CRect& rect,
                                                             AWnd* owner, AWnd* parent);

// Installs the maker; null puts the windowless bars back.
void SetEdtScrollBarMaker(EdtScrollBarMaker maker);
// A bar from the installed maker, or a windowless one when there is none
// or it fails. Never null.
std::unique_ptr<IEdtScrollBar> MakeEdtScrollBar(int horizontal, const CRect& rect, AWnd* owner,
                                                AWnd* parent);
