#include "controls/DlgTemplate.h"

#include "controls/internal/BlobIO.h"

namespace {
constexpr int kListBlock = 10;  // nodes per block of a control list
constexpr int32_t kDefaultFontSize = 16;
constexpr int32_t kDefaultDlgSize = 100;
}  // namespace

typCtrl::typCtrl()
    : m_type(0),
      m_subtype(0),
      m_align(0),
      m_group(0),
      m_id(0),
      m_extra(0),
      m_spare1(0),
      m_style(0),
      m_spare2(0),
      m_pt(0, 0),
      m_size(0, 0) {}

int typCtrl::DiskIO(int read, FILE* f) {
  using namespace rcblob;
  if (!read) {
    Put8(f, m_type);
    Put8(f, m_subtype);
    Put8(f, m_align);
    Put32(f, static_cast<uint32_t>(m_id));
    Put32(f, static_cast<uint32_t>(m_extra));
    Put32(f, static_cast<uint32_t>(m_spare1));
    Put32(f, m_style);
    Put32(f, static_cast<uint32_t>(m_spare2));
    Put32(f, static_cast<uint32_t>(m_pt.x));
    Put32(f, static_cast<uint32_t>(m_pt.y));
    Put32(f, static_cast<uint32_t>(m_size.cx));
    Put32(f, static_cast<uint32_t>(m_size.cy));
    PutStr(f, m_text);
    return 1;
  }
  m_group = 0;  // not part of the file record
  return Get8(f, m_type) && Get8(f, m_subtype) && Get8(f, m_align) && Get32(f, m_id) &&
                 Get32(f, m_extra) && Get32(f, m_spare1) && Get32(f, m_style) &&
                 Get32(f, m_spare2) && Get32(f, m_pt.x) && Get32(f, m_pt.y) &&
                 Get32(f, m_size.cx) && Get32(f, m_size.cy) && GetStr(f, m_text)
             ? 1
             : 0;
}

typDlg::typDlg() : m_ctrls(kListBlock) { Reset(); }

typDlg::typDlg(const typDlg& other) : m_ctrls(kListBlock) {
  Reset();
  *this = other;
}

typDlg& typDlg::operator=(const typDlg& other) {
  if (this == &other) return *this;
  m_style = other.m_style;
  m_size = other.m_size;
  m_caption = other.m_caption;
  m_fontFace = other.m_fontFace;
  m_fontSize = other.m_fontSize;
  m_ctrls.RemoveAll();
  // The source is not changed; walking it needs a non-const list.
  auto& src = const_cast<AList<typCtrl, typCtrl&>&>(other.m_ctrls);
  for (long pos = src.GetHeadPosition(); pos != 0;) m_ctrls.AddTail(src.GetNext(pos));
  return *this;
}

void typDlg::Reset() {
  m_style = 0;
  m_size = CSize(kDefaultDlgSize, kDefaultDlgSize);
  m_caption = "";
  m_fontFace = "";
  m_fontSize = kDefaultFontSize;
  m_ctrls.RemoveAll();
}

int typDlg::DiskIO(int read, FILE* f) {
  using namespace rcblob;
  if (!read) {
    Put32(f, m_style);
    Put32(f, static_cast<uint32_t>(m_size.cx));
    Put32(f, static_cast<uint32_t>(m_size.cy));
    Put32(f, static_cast<uint32_t>(m_fontSize));
    PutStr(f, m_caption);
    PutStr(f, m_fontFace);
    Put32(f, static_cast<uint32_t>(m_ctrls.GetCount()));
    for (long pos = m_ctrls.GetHeadPosition(); pos != 0;) m_ctrls.GetNext(pos).DiskIO(0, f);
    return 1;
  }
  m_ctrls.RemoveAll();
  int32_t nCtrls = 0;
  if (!(Get32(f, m_style) && Get32(f, m_size.cx) && Get32(f, m_size.cy) && Get32(f, m_fontSize) &&
        GetStr(f, m_caption) && GetStr(f, m_fontFace) && GetCount(f, nCtrls, kMinCtrlBytes)))
    return 0;
  for (int32_t i = 0; i < nCtrls; ++i) {
    typCtrl ctrl;
    if (!ctrl.DiskIO(1, f)) return 0;
    m_ctrls.AddTail(ctrl);
  }
  return 1;
}
