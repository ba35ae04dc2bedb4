// ADialog.h: a dialog built at run time from a compiled DIALOG template of
// the resource script (looked up by its numeric id), with one control object
// and one child window per control record, run modally by ActModal.
//
// Building (ADialog.cpp): the dialog's font height from the template font,
// dialog units to pixels at h / 8, minimum sizes, a title bar, centring on
// the screen, one control class per template type, radio groups. Running
// (ADialogRun.cpp): the modal loop, keyboard focus and tab stops, Return and
// the default button, radio groups, the exchange of control values with
// member variables, the notification path from the controls (CtrlEvProc),
// dragging by the title bar.
//
// Ownership: the dialog creates its control objects and frees them when it
// is destructed; Destroy only destroys their windows. An object a subclass
// puts in place of a control (AWnd::ReplaceDlgCtrl) belongs to the subclass
// and must be destructed before the dialog's ADialog part (a member of the
// subclass is); its destructor gives the replaced control back.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "base/AArray.h"
#include "base/CDWordArray.h"
#include "controls/DlgTemplate.h"
#include "framework/AWnd.h"
#include "framework/ModalHosts.h"

class ACtrl;

class ADialog : public AWnd, public IDialogHost {
 public:
  ADialog();
  ADialog(int id, AWnd* parent);
  ~ADialog() override;

  // --- virtual operations ---
  int Winproc(XEvent* event) override;
  // Title bar, caption, client face, border and group-box frames.
  void Draw(XEvent* event) override;
  void OnCancel() override;
  void OnOK() override;
  // Destroys the dialog's window and every control's window; the control
  // list is emptied (the objects live until the destructor). Returns 1.
  int Destroy() override;
  int CtrlEvProc(unsigned long window, int id, unsigned long code, XEvent* event) override;
  // Builds, initialises and runs the dialog; returns its result: 1 OK,
  // 2 Cancel, a subclass's code, the preset result after Escape, 2 when the
  // dialog cannot be built.
  virtual int ActModal();
  // MemVarAttaches, then SyncMemVars(0); nonzero.
  virtual int InitDlg();

  void Init();
  void SetDlgID(int id) {
    m_nDlgID = id;
    m_nID = id;
  }
  void SetDefltBtn(int id) { m_nDefBtnID = id; }

  // 1 when the template with that id exists (copied into the dialog).
  int GetResDlg(unsigned long id);
  // Sets the id and the parent, then Create().
  int Create(unsigned long id, AWnd* parent);
  // Builds the dialog: 1, -999 when the template is missing, 0 when the X
  // window cannot be created.
  int Create();

  // IDialogHost.
  int IsDlgEnded() override { return m_bQuit; }
  void SetDlgEnded() override { m_bQuit = 1; }
  int GetDlgResult() override { return m_nResult; }
  unsigned long GetCaptureWin() override { return m_hCaptureWin; }
  AWnd* GetDlgCtr(unsigned long window) override;
  unsigned long GetCtrlWin(int id) override;
  void SwapCtrlObject(int id, AWnd* from, AWnd* to) override;

  // Position of the first control with the id in the control list, or -1.
  int CtrlId2Idx(int id);
  // The control object with the id (the control map), or null.
  AWnd* GetCtrl(int id);

  int AfterInitDlg();
  void QuitDlg(int code) {
    m_nResult = code;
    m_bQuit = 1;
  }
  int SetCtrlFocus(int id);
  int IsTabStop(AWnd* ctrl);
  int GoNextStop(int position, int backwards, int = 0);
  void WalkTabStops(int id, int backwards, int = 0);
  void ProcessReturn(AWnd* ctrl);
  void ProcessRadioBtnEv(int id, unsigned long key);
  AWnd* FindCheckedRadioBtnInGrp(int id);
  void MemVarAttach(int id, void* variable);
  void MemVarAttachCtrl(int id, AWnd** variable);
  int SyncMemVars(int toVariables);
  int SetCtrlText(int id, const char* text);
  int GetCtrlText(int id, CString& text);
  int IsBtnChecked(int id);
  int SetBtnCheck(int id, int state);
  // Sends the message to the control's window with up to three data words
  // (a list box's 1302 takes the buffer size in the third); 0 when no
  // control has the id.
  int SendCtrlEv(int id, int message, unsigned long p1, unsigned long p2, unsigned long p3 = 0);
  void GrabPtrToCtrl(unsigned long window);
  unsigned long UngrabPtrToCtrl();

  // A control object that another control made and owns (the scroll bars
  // of list boxes and editors) joins or leaves the control list, so that
  // the loop gives it its events; it is not entered in the id map. The
  // object must leave (its destructor does) before it is freed.
  void AddCtrl(AWnd* ctrl);
  void RemoveCtrl(AWnd* ctrl);

  // Used by group boxes while they are created: the frame (dialog
  // coordinates) and the title window, at the same position in both lists.
  void AddGroupFrame(const CRect& frame, unsigned long titleWin);

  // --- fields, in order ---
  typDlg m_dlgTmpl;                      // copy of the template (GetResDlg)
  int m_bQuit = 0;                       // nonzero ends the event loop
  int m_nDlgID = 0;                      // key in the compiled dialog table
  int m_nResult = 0;                     // what ActModal returns
  int m_nFocusID = -1;                   // focused control, -1 for none
  int m_nDefBtnID = -1;                  // push button Return presses, -1 for none
  std::vector<AWnd*> m_arrCtrls;         // borrowed: template order (owned below or by a subclass)
  AArray<CRect, CRect&> m_arrGrpFrames;  // group-box frames, creation order
  CDWordArray m_arrGrpTitles;            // their title windows
  unsigned long m_hCaptureWin = 0;       // control window holding the pointer, 0 for none
  int m_nRadioGrp = 1000;                // last radio group number given
  std::map<int, int> m_mapRadio;         // radio control id -> group number
  std::map<int, AWnd*> m_mapCtrls;       // borrowed: control id -> object
  std::map<int, std::vector<int>> m_mapGroups;  // group number -> radio ids, template order

 private:
  void BuildCtrl(const typCtrl& rec, int h, bool& groupOpen);
  void JoinRadioGroup(int id, bool newGroup);
  const std::vector<int>* GroupOf(int id);
  void SyncCtrl(AWnd* ctrl, int toVariables);
  void DrawBorder(GC gc, int w, int h);
  void DrawGroupFrames(GC gc);
  int OnButtonPress(XEvent* event);
  int OnButtonRelease(XEvent* event);
  int OnMotion(XEvent* event);

  std::vector<std::unique_ptr<ACtrl>> m_ownedCtrls;  // every control Create made
};
