// AScrl.h: the scroll bar. It is never built from a template: a list box
// and an editor view each make two (one horizontal, one vertical) as
// windows of their dialog beside themselves, and own them. The bar keeps a
// position in [0, max(range, 0)] that the user changes with its arrow
// boxes, by clicking the track (a page) and by dragging the thumb, and posts
// every change to its owner's window: message 1382 from a horizontal bar,
// 1383 from a vertical one, the position in data word 0. The owner sets the
// range, page and step fields directly and reads the position back.
//
// The arithmetic of presses and drags (PressAt, DragTo, ThumbOffset) uses no
// X, so it is tested by table; Winproc applies it to the window.
#pragma once

#include <cstdint>

#include "controls/ACtrl.h"

// Puts a mapped control window above its siblings, where it stays mapped
// (a scroll bar lies over the edge of its owner).
void RaiseWin(unsigned long window);

class AScrl : public ACtrl {
 public:
  // What the bar is doing (m_nState).
  enum : uint8_t {
    kIdle = 0,
    kPressing = 1,    // a press is being handled
    kFirstArrow = 2,  // the left or upper arrow is held
    kPageBack = 3,
    kDragging = 4,  // the thumb is held
    kPageForward = 5,
    kSecondArrow = 6,  // the right or lower arrow is held
  };

  AScrl() { Init(); }
  AScrl(int id, AWnd* parent);
  // Leaves its dialog's control list.
  ~AScrl() override;

  // Presses, drags of the thumb, releases and exposures; always 1.
  int Winproc(XEvent* event) override;
  void Draw(XEvent* event) override;

  // Vertical, range 100, position 0, page 10, step 1, no owner.
  void Init();
  // h nonzero: horizontal, posting 1382; else vertical, posting 1383.
  void SetOrientation(int h);
  // ACtrl::Create, then the window: a child of the parent's window (the
  // root without a parent), mapped and raised over its owner. A bar whose
  // parent is a dialog joins the dialog's control list (not its id map), so
  // that the dialog's loop gives it its events. The arrow size is the
  // shorter side, the track length the longer. 1, or 0 when X refused the
  // window.
  int Create(long x, long y, long cx, long cy, const char* text, AWnd* parent, long id);

  // Sets the position, clamped to [0, max(range, 0)], and the thumb to it;
  // returns the previous position. Does not redraw.
  int SetThumPos(int p);
  int Length() const { return m_nMax - m_nMin; }
  int GetPos() const { return m_nPos; }

  // The thumb's offset from the inner end of the first arrow box for
  // position p: (track - 3 * arrow) * p / range, the product in 64 bits (a
  // range in pixels times a track passes 2^31), a range below 1 counting as
  // 1 and p held inside [0, max(range, 0)].
  int ThumbOffset(int p) const;
  // A press at c pixels along the bar: sets the state by the zone hit,
  // moves the position by a step or a page (none on the thumb), clamps it
  // and puts the thumb there. Returns the position to post.
  int PressAt(int c);
  // A pointer motion while dragging, c along the bar and d across it.
  struct DragStep {
    bool post = false;   // the position is to be posted (and the bar redrawn)
    int warpAlong = -1;  // >= 0: the pointer goes to this coordinate along the bar
  };
  DragStep DragTo(int c, int d);

  // --- fields, in order ---
  uint8_t m_nState = kIdle;
  uint8_t m_bHorz = 0;  // nonzero for a horizontal bar
  int m_nMsg = 0;       // 1382 horizontal, 1383 vertical
  int m_nMin = 0;       // 0; Length() is range - minimum
  int m_nMax = 100;     // the range: the largest position
  int m_nPos = 0;
  int m_nPage = 10;          // step of a click on the track
  int m_nStep = 1;           // step of a click on an arrow
  int m_nArrow = 0;          // the shorter side: arrow boxes and thumb are squares of it
  int m_nTrack = 0;          // the longer side
  int m_nLastThumb = -1;     // thumb offset at the last press or snap
  int m_nThumb = 0;          // thumb offset in pixels
  AWnd* m_pOwner = nullptr;  // borrowed: the control served; gets the focus and the posts

 private:
  int Range() const { return m_nMax > 0 ? m_nMax : 0; }
  int Clamp(int p) const;
  void OnPress(XEvent* event);
  void OnDrag(XEvent* event);
  void PostPos();
  void DrawHorizontal(GC gc, int w, int h);
  void DrawVertical(GC gc, int w, int h);
};
