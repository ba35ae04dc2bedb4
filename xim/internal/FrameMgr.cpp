// FrameMgr.cpp: walking frame templates over message buffers.
//
// The walk resolves the current position to a leaf item (a number field, a
// byte array, a padding or the template's end), descending into lists (ITER)
// and nested records (POINTER) and moving past finished ones. Resolving only
// creates walk state and moves past finished parts; consuming a leaf is a
// separate step. That split lets FrameMgrIsIterLoopEnd look at the next leaf
// without reading it.
//
// An open list (no count yet) grows by one element each time the walk runs
// past its end. While encoding, callers close lists with
// FrameMgrSetIterCount; while decoding, the byte-length counter read in front
// of a list closes it once that many bytes of the list have been read.
#include "xim/internal/FrameMgr.h"

#include <cstring>
#include <new>

namespace {

constexpr bool kHostBigEndian = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;

bool IsCounter(XimFrameType t) { return (t & COUNTER_MASK) != 0; }

int FieldWidth(XimFrameType t) {
  switch (t & ~COUNTER_MASK) {
    case BIT8: return 1;
    case BIT16: return 2;
    case BIT32: return 4;
    case BIT64: return 8;
    default: return 0;
  }
}

// Template entries that one walk item takes: a list with its element (which
// may itself be a list or a nested record), a nested record with its
// PTR_ITEM, anything else alone.
int Span(XimFrame frame, int i) {
  if (frame[i].type == ITER) return 1 + Span(frame, i + 1);
  if (frame[i].type == POINTER) return 2;
  return 1;
}

int TemplateEntries(XimFrame frame) {
  int n = 0;
  while (frame[n].type != EOL) ++n;
  return n + 1;
}

void InitInst(FrameInstRec* fi, XimFrame frame) {
  fi->frame = frame;
  fi->extra.clear();
  fi->extra.resize(TemplateEntries(frame));
  fi->cur = 0;
}

FrameInst EnsureInst(ExtraDataRec& ed, XimFrame nested) {
  if (!ed.fi) {
    ed.fi.reset(new FrameInstRec);
    InitInst(ed.fi.get(), nested);
  }
  return ed.fi.get();
}

Iter EnsureIter(ExtraDataRec& ed, const XimFrameRec* elem) {
  if (!ed.iter) {
    ed.iter.reset(new IterRec);
    ed.iter->elem = elem;
  }
  return ed.iter.get();
}

ExtraDataRec& EnsureElem(Iter iter, int k) {
  if (static_cast<int>(iter->elems.size()) <= k) iter->elems.resize(k + 1);
  return iter->elems[k];
}

// ---- sizes ----

int InstSize(FrameInst fi);
int IterSize(Iter iter);

int ElemSize(Iter iter, int k) {
  const XimFrameRec* e = iter->elem;
  switch (e->type) {
    case BARRAY: return k < static_cast<int>(iter->elems.size()) ? iter->elems[k].size : -1;
    case ITER: return IterSize(EnsureIter(EnsureElem(iter, k), e + 1));
    case POINTER: return InstSize(EnsureInst(EnsureElem(iter, k), e[1].nested));
    default: return FieldWidth(e->type);
  }
}

int IterSize(Iter iter) {
  int total = 0;
  for (int k = 0; k < iter->max_count; ++k) {
    int s = ElemSize(iter, k);
    if (s < 0) return -1;
    total += s;
  }
  return total;
}

int ItemSize(FrameInst fi, int i);

int PaddingSize(FrameInst fi, int i) {
  const uint32_t nItems = (fi->frame[i].data >> 8) & 0xff;
  const uint32_t unit = fi->frame[i].data & 0xff;
  if (unit == 0) return 0;
  std::vector<int> starts;
  for (int j = 0; j < i; j += Span(fi->frame, j)) starts.push_back(j);
  int s = 0;
  const size_t first = starts.size() > nItems ? starts.size() - nItems : 0;
  for (size_t n = first; n < starts.size(); ++n) {
    int sz = ItemSize(fi, starts[n]);
    if (sz < 0) return -1;
    s += sz;
  }
  return static_cast<int>((unit - s % unit) % unit);
}

int ItemSize(FrameInst fi, int i) {
  const XimFrameRec& it = fi->frame[i];
  switch (it.type) {
    case BARRAY: return fi->extra[i].size;
    case ITER: return IterSize(EnsureIter(fi->extra[i], &it + 1));
    case POINTER: return InstSize(EnsureInst(fi->extra[i], fi->frame[i + 1].nested));
    case PADDING: return PaddingSize(fi, i);
    case EOL:
    case PTR_ITEM: return 0;
    default: return FieldWidth(it.type);
  }
}

int InstSize(FrameInst fi) {
  int total = 0;
  for (int j = 0; fi->frame[j].type != EOL; j += Span(fi->frame, j)) {
    int s = ItemSize(fi, j);
    if (s < 0) return -1;
    total += s;
  }
  return total;
}

// ---- the walk ----

struct Leaf {
  XimFrameType type = EOL;
  bool listEnd = false;  // EOL because a closed list is exhausted
  ExtraDataRec* ed = nullptr;
  FrameInst fi = nullptr;  // owner when the leaf is a template entry
  int index = -1;
  Iter iter = nullptr;  // owner when the leaf is a list element
};

Leaf ResolveInst(FrameInst fi, bool stopAtListEnd);

Leaf ResolveIter(Iter iter, bool stopAtListEnd) {
  for (;;) {
    if (iter->cur_no >= iter->max_count) {
      if (!iter->allow_expansion) {
        Leaf end;
        end.listEnd = true;
        return end;
      }
      iter->max_count = iter->cur_no + 1;
    }
    const int k = iter->cur_no;
    ExtraDataRec& ed = EnsureElem(iter, k);
    if (k == 0 && iter->watch) {
      iter->watch->counting = true;
      iter->watch = nullptr;
    }
    const XimFrameRec* e = iter->elem;
    Leaf l;
    if (e->type == ITER) {
      l = ResolveIter(EnsureIter(ed, e + 1), stopAtListEnd);
    } else if (e->type == POINTER) {
      l = ResolveInst(EnsureInst(ed, e[1].nested), stopAtListEnd);
    } else {
      l.type = e->type;
      l.ed = &ed;
      l.iter = iter;
      return l;
    }
    if (l.type != EOL) return l;
    if (stopAtListEnd && l.listEnd) return l;
    ++iter->cur_no;
  }
}

Leaf ResolveInst(FrameInst fi, bool stopAtListEnd) {
  for (;;) {
    const XimFrameRec& it = fi->frame[fi->cur];
    Leaf l;
    if (it.type == EOL) return l;
    if (it.type == ITER) {
      l = ResolveIter(EnsureIter(fi->extra[fi->cur], &it + 1), stopAtListEnd);
    } else if (it.type == POINTER) {
      l = ResolveInst(EnsureInst(fi->extra[fi->cur], fi->frame[fi->cur + 1].nested), stopAtListEnd);
    } else {
      l.type = it.type;
      l.ed = &fi->extra[fi->cur];
      l.fi = fi;
      l.index = fi->cur;
      return l;
    }
    if (l.type != EOL) return l;
    if (stopAtListEnd && l.listEnd) return l;
    fi->cur += Span(fi->frame, fi->cur);
  }
}

void Advance(const Leaf& l) {
  if (l.fi) {
    ++l.fi->cur;
  } else if (l.iter) {
    ++l.iter->cur_no;
  }
}

// The list a counter at template entry `index` measures.
Iter CounterTarget(FrameInst fi, int index) {
  const int target = index + static_cast<int>(fi->frame[index].data >> 8);
  if (fi->frame[target].type != ITER) return nullptr;  // a template fault
  return EnsureIter(fi->extra[target], &fi->frame[target] + 1);
}

bool Fits(FrameMgr fm, int n) { return fm->total_size < 0 || fm->idx + n <= fm->total_size; }

bool WriteOrderBig(FrameMgr fm) { return kHostBigEndian != (fm->byte_swap != 0); }

void WriteField(FrameMgr fm, uint32_t v, int w) {
  uint8_t* p = fm->area + fm->idx;
  const bool big = WriteOrderBig(fm);
  for (int i = 0; i < w; ++i) {
    const int shift = 8 * (big ? w - 1 - i : i);
    p[i] = static_cast<uint8_t>(v >> shift);
  }
  fm->idx += w;
}

uint32_t ReadField(FrameMgr fm, int w) {
  const uint8_t* p = fm->area + fm->idx;
  const bool big = WriteOrderBig(fm);
  uint32_t v = 0;
  for (int i = 0; i < w; ++i) {
    const int shift = 8 * (big ? w - 1 - i : i);
    v |= static_cast<uint32_t>(p[i]) << shift;
  }
  fm->idx += w;
  return v;
}

bool ValueWidthOk(int width) { return width == 1 || width == 2 || width == 4; }

uint32_t LoadCaller(const void* addr, int width) {
  if (width == 1) return *static_cast<const uint8_t*>(addr);
  if (width == 2) {
    uint16_t v;
    std::memcpy(&v, addr, 2);
    return v;
  }
  uint32_t v;
  std::memcpy(&v, addr, 4);
  return v;
}

void StoreCaller(void* addr, int width, uint32_t v) {
  if (width == 1) {
    *static_cast<uint8_t*>(addr) = static_cast<uint8_t>(v);
  } else if (width == 2) {
    const uint16_t s = static_cast<uint16_t>(v);
    std::memcpy(addr, &s, 2);
  } else {
    std::memcpy(addr, &v, 4);
  }
}

// Adds bytes just read to every counting list counter; a counter that has
// seen all its bytes closes its list where the walk stands.
void Consumed(FrameMgr fm, int n) {
  if (n <= 0) return;
  auto& its = fm->iters;
  for (size_t i = 0; i < its.size();) {
    FrameIterRec* f = its[i].get();
    if (f->counting) {
      f->counted += static_cast<uint32_t>(n);
      if (f->counted >= f->end) {
        f->iter->allow_expansion = false;
        its.erase(its.begin() + static_cast<long>(i));
        continue;
      }
    }
    ++i;
  }
}

// Arms the list behind a counter just read while decoding.
void StartCounter(FrameMgr fm, FrameInst fi, int index, uint32_t value) {
  Iter iter = CounterTarget(fi, index);
  if (!iter) return;
  if (fi->frame[index].data & 0xff) {  // an element count
    iter->max_count = static_cast<int>(value > 0x7fffffffu ? 0x7fffffffu : value);
    iter->allow_expansion = false;
    return;
  }
  if (value == 0) {
    iter->allow_expansion = false;
    return;
  }
  std::unique_ptr<FrameIterRec> f(new FrameIterRec{iter, false, 0, value});
  iter->watch = f.get();
  fm->iters.push_back(std::move(f));
}

// Whether an element (or anything nested in it) has a byte array, so that
// sizing may add an element for it.
bool HasBarray(const XimFrameRec* e) {
  switch (e->type) {
    case BARRAY: return true;
    case ITER: return HasBarray(e + 1);
    case POINTER:
      for (XimFrame f = e[1].nested; f->type != EOL;
           f += Span(e[1].nested, static_cast<int>(f - e[1].nested))) {
        if (HasBarray(f)) return true;
      }
      return false;
    default: return false;
  }
}

bool SetSizeInst(FrameInst fi, int size);
bool SetSizeIter(Iter iter, int size);

bool SetSizeElem(Iter iter, int k, int size) {
  ExtraDataRec& ed = EnsureElem(iter, k);
  const XimFrameRec* e = iter->elem;
  switch (e->type) {
    case BARRAY:
      if (ed.size != -1) return false;
      ed.size = size;
      return true;
    case ITER: return SetSizeIter(EnsureIter(ed, e + 1), size);
    case POINTER: return SetSizeInst(EnsureInst(ed, e[1].nested), size);
    default: return false;
  }
}

// Elements are sized in walk order and sizes are never unset, so the first
// element that may still hold an unset byte array only moves forward; the
// search starts there, which keeps sizing a long list linear.
bool SetSizeIter(Iter iter, int size) {
  if (!HasBarray(iter->elem)) return false;
  for (int k = iter->sized_upto; k < iter->max_count; ++k) {
    if (SetSizeElem(iter, k, size)) return true;
    iter->sized_upto = k + 1;
  }
  if (!iter->allow_expansion) return false;
  ++iter->max_count;
  return SetSizeElem(iter, iter->max_count - 1, size);
}

bool SetSizeInst(FrameInst fi, int size) {
  for (int j = 0; fi->frame[j].type != EOL; j += Span(fi->frame, j)) {
    const XimFrameRec& it = fi->frame[j];
    if (it.type == BARRAY) {
      if (fi->extra[j].size == -1) {
        fi->extra[j].size = size;
        return true;
      }
    } else if (it.type == ITER) {
      if (SetSizeIter(EnsureIter(fi->extra[j], &it + 1), size)) return true;
    } else if (it.type == POINTER) {
      if (SetSizeInst(EnsureInst(fi->extra[j], fi->frame[j + 1].nested), size)) return true;
    }
  }
  return false;
}

bool SetCountInst(FrameInst fi, int count);

bool SetCountIter(Iter iter, int count) {
  const XimFrameRec* e = iter->elem;
  if (e->type != ITER && e->type != POINTER) return false;
  for (int k = 0; k < iter->max_count; ++k) {
    ExtraDataRec& ed = EnsureElem(iter, k);
    if (e->type == ITER) {
      Iter sub = EnsureIter(ed, e + 1);
      if (sub->allow_expansion) {
        sub->max_count = count;
        sub->allow_expansion = false;
        return true;
      }
      if (SetCountIter(sub, count)) return true;
    } else if (SetCountInst(EnsureInst(ed, e[1].nested), count)) {
      return true;
    }
  }
  return false;
}

bool SetCountInst(FrameInst fi, int count) {
  for (int j = 0; fi->frame[j].type != EOL; j += Span(fi->frame, j)) {
    const XimFrameRec& it = fi->frame[j];
    if (it.type == ITER) {
      Iter iter = EnsureIter(fi->extra[j], &it + 1);
      if (iter->allow_expansion) {
        iter->max_count = count;
        iter->allow_expansion = false;
        return true;
      }
      if (SetCountIter(iter, count)) return true;
    } else if (it.type == POINTER) {
      if (SetCountInst(EnsureInst(fi->extra[j], fi->frame[j + 1].nested), count)) return true;
    }
  }
  return false;
}

void ResetIter(Iter iter);

void ResetExtra(ExtraDataRec& ed) {
  if (ed.fi) {
    ed.fi->cur = 0;
    for (ExtraDataRec& x : ed.fi->extra) ResetExtra(x);
  }
  if (ed.iter) ResetIter(ed.iter.get());
}

void ResetIter(Iter iter) {
  iter->cur_no = 0;
  iter->watch = nullptr;
  for (ExtraDataRec& x : iter->elems) ResetExtra(x);
}

}  // namespace

FrameMgr FrameMgrInit(XimFrame frame, void* area, int byte_swap) {
  FrameMgr fm = new (std::nothrow) FrameMgrRec;
  if (!fm) return nullptr;
  FrameMgrInitWithData(fm, frame, area, byte_swap);
  return fm;
}

void FrameMgrInitWithData(FrameMgrRec* fm, XimFrame frame, void* area, int byte_swap) {
  InitInst(&fm->fi, frame);
  fm->area = static_cast<uint8_t*>(area);
  fm->idx = 0;
  fm->byte_swap = byte_swap ? 1 : 0;
  fm->total_size = -1;
  fm->iters.clear();
}

void FrameMgrFree(FrameMgr fm) { delete fm; }

FmStatus FrameMgrSetBuffer(FrameMgr fm, void* area) {
  if (fm->area) return FmBufExist;
  fm->area = static_cast<uint8_t*>(area);
  return FmSuccess;
}

FmStatus _FrameMgrPutToken(FrameMgr fm, const void* addr, int width) {
  if (!fm->area) return FmInvalidCall;
  for (;;) {
    Leaf l = ResolveInst(&fm->fi, false);
    if (l.type == EOL) return FmEOD;
    if (IsCounter(l.type)) {
      Iter iter = CounterTarget(l.fi, l.index);
      if (!iter || iter->allow_expansion) return FmCannotCalc;
      const int value = (l.fi->frame[l.index].data & 0xff) ? iter->max_count : IterSize(iter);
      const int w = FieldWidth(l.type);
      if (value < 0 || w > 4) return FmCannotCalc;
      if (!Fits(fm, w)) return FmNoMoreData;
      WriteField(fm, static_cast<uint32_t>(value), w);
      Advance(l);
      continue;  // the caller's value goes to the next item
    }
    switch (l.type) {
      case BIT8:
      case BIT16:
      case BIT32: {
        if (!ValueWidthOk(width)) return FmInvalidCall;
        const int w = FieldWidth(l.type);
        if (!Fits(fm, w)) return FmNoMoreData;
        WriteField(fm, LoadCaller(addr, width), w);
        Advance(l);
        return FmSuccess;
      }
      case BARRAY: {
        const int size = l.ed->size;
        if (width != static_cast<int>(sizeof(void*)) || size < 0) return FmInvalidCall;
        if (!Fits(fm, size)) return FmNoMoreData;
        const uint8_t* src;
        std::memcpy(&src, addr, sizeof src);
        if (size > 0) {
          if (!src) return FmInvalidCall;
          std::memcpy(fm->area + fm->idx, src, static_cast<size_t>(size));
        }
        fm->idx += size;
        Advance(l);
        return FmSuccess;
      }
      case PADDING: {
        const int size = PaddingSize(l.fi, l.index);
        if (size < 0) return FmInvalidCall;
        if (!Fits(fm, size)) return FmNoMoreData;
        fm->idx += size;  // the buffer keeps its zeros
        Advance(l);
        continue;
      }
      default:  // BIT64: no template uses it and no caller value is that wide
        return FmInvalidCall;
    }
  }
}

FmStatus _FrameMgrGetToken(FrameMgr fm, void* addr, int width) {
  if (!fm->area || fm->total_size < 0) return FmInvalidCall;
  for (;;) {
    Leaf l = ResolveInst(&fm->fi, false);
    if (l.type == EOL) return FmEOD;
    const bool counter = IsCounter(l.type);
    switch (counter ? static_cast<XimFrameType>(l.type & ~COUNTER_MASK) : l.type) {
      case BIT8:
      case BIT16:
      case BIT32: {
        if (!ValueWidthOk(width)) return FmInvalidCall;
        const int w = FieldWidth(l.type);
        if (!Fits(fm, w)) return FmNoMoreData;
        const uint32_t v = ReadField(fm, w);
        Advance(l);
        Consumed(fm, w);
        if (counter) StartCounter(fm, l.fi, l.index, v);
        StoreCaller(addr, width, v);
        return FmSuccess;
      }
      case BARRAY: {
        const int size = l.ed->size;
        if (width != static_cast<int>(sizeof(void*)) || size < 0) return FmInvalidCall;
        if (!Fits(fm, size)) return FmNoMoreData;
        uint8_t* p = size > 0 ? fm->area + fm->idx : nullptr;
        std::memcpy(addr, &p, sizeof p);
        fm->idx += size;
        Advance(l);
        Consumed(fm, size);
        return FmSuccess;
      }
      case PADDING: {
        const int size = PaddingSize(l.fi, l.index);
        if (size < 0) return FmInvalidCall;
        if (!Fits(fm, size)) return FmNoMoreData;
        fm->idx += size;
        Advance(l);
        Consumed(fm, size);
        continue;
      }
      default: return FmInvalidCall;
    }
  }
}

FmStatus FrameMgrSetSize(FrameMgr fm, int size) {
  if (size < 0) return FmInvalidCall;
  return SetSizeInst(&fm->fi, size) ? FmSuccess : FmNoMoreData;
}

FmStatus FrameMgrSetIterCount(FrameMgr fm, int count) {
  if (count < 0) return FmInvalidCall;
  return SetCountInst(&fm->fi, count) ? FmSuccess : FmNoMoreData;
}

FmStatus FrameMgrSetTotalSize(FrameMgr fm, int size) {
  fm->total_size = size < 0 ? -1 : size;
  return FmSuccess;
}

int FrameMgrGetTotalSize(FrameMgr fm) { return InstSize(&fm->fi); }

int FrameMgrGetSize(FrameMgr fm) {
  Leaf l = ResolveInst(&fm->fi, true);
  return l.type == BARRAY ? l.ed->size : -1;
}

FmStatus FrameMgrSkipToken(FrameMgr fm, int n) {
  for (int i = 0; i < n; ++i) {
    Leaf l = ResolveInst(&fm->fi, false);
    if (l.type == EOL) return FmEOD;
    if (l.iter) return FmInvalidCall;
    int size = l.type == BARRAY    ? l.ed->size
               : l.type == PADDING ? PaddingSize(l.fi, l.index)
                                   : FieldWidth(l.type);
    if (size < 0) return FmInvalidCall;
    if (!Fits(fm, size)) return FmNoMoreData;
    fm->idx += size;
    Advance(l);
    Consumed(fm, size);
  }
  return FmSuccess;
}

void FrameMgrReset(FrameMgr fm) {
  fm->idx = 0;
  fm->fi.cur = 0;
  for (ExtraDataRec& x : fm->fi.extra) ResetExtra(x);
  fm->iters.clear();
}

int FrameMgrIsIterLoopEnd(FrameMgr fm, FmStatus* status) {
  *status = FmSuccess;
  for (;;) {
    Leaf l = ResolveInst(&fm->fi, true);
    if (l.type == EOL) return 1;
    if (l.type == PADDING) {
      const int size = PaddingSize(l.fi, l.index);
      if (size < 0) {
        *status = FmInvalidCall;
        return 1;
      }
      if (!Fits(fm, size)) {
        *status = FmNoMoreData;
        return 1;
      }
      fm->idx += size;
      Advance(l);
      Consumed(fm, size);
      continue;
    }
    const int w = l.type == BARRAY ? (l.ed->size > 0 ? l.ed->size : 0) : FieldWidth(l.type);
    if (!Fits(fm, w)) {
      *status = FmNoMoreData;
      return 1;
    }
    return 0;
  }
}
