// EngineHost.h: everything the engine asks of the world around it.
//
// The engine draws nothing, talks to no X client and reads no clock itself:
// it goes through the one host bound with SetEngineHost. In kvr the front
// end binds a host that drives the panes and the status window, commits and
// returns keys through the XIM server, hands text to kvr's own edit
// controls, grabs the selection keys and shows message boxes. Tests bind a
// recording fake (tests/engine/RecordingHost.h), so the whole engine runs
// without X. Until a host is bound the engine uses a silent default: no
// panes, no output, the real clocks and the current directory for data.
//
// Window ids are X window ids (0 for none). Texts are NUL-terminated GBK.
// The host is borrowed: whoever binds it keeps it alive while it is bound.
#pragma once

#include <cstdarg>
#include <cstdint>

class IFileOps;
struct typFwdEventView;

class IEngineHost {
 public:
  virtual ~IEngineHost() = default;

  // ---- The panes and the status window (the front end). The engine fills
  // its members and the pane globals (engine/PaneGlobals.h) first.
  // The client window that has the keyboard focus (gwinFocus); 0 none.
  virtual unsigned long MyGetFocus() = 0;
  // Rebuilds the keys pane from dictionary.m_strKeySeq and m_nInsertPt.
  virtual void SetKeyPane() = 0;
  // The candidate pane's text; highlightLength 0 draws all of it in the
  // candidate colour, n > 0 the first n bytes highlighted; colour 0xRRGGBB.
  virtual void SetChoicePane(const char* text, int highlightLength, unsigned long colour) = 0;
  virtual void InvalidateRect_hwndInputPane2() = 0;
  // The status window's text; an empty text hides it.
  virtual void ShowTipMsg(const char* text) = 0;
  // Shows (nonzero) or hides the forecast pane of dictionary.m_arrForecast.
  virtual int ShowZiCiForecastPane(int show) = 0;
  // Whether the status window under the main bar is shown; hides it.
  virtual bool IsStatusWndShown() = 0;
  virtual void HideStatusWnd() = 0;
  // The main frame's command id (engine/FrameCommands.h, window message
  // WM_AFC_COMMAND). kvr runs it before the next key is handled; the engine
  // asks for it last.
  virtual void PostFrameCommand(uint32_t id) = 0;

  // ---- The XIM client whose key was forwarded last (rec is a copy of
  // dictionary.m_fwdEvent). The client may have closed its input context
  // or disconnected since: the host then drops the call.
  // Commits text to the connection and input context of rec.
  virtual void SendStrToClient(typFwdEventView& rec, const char* text) = 0;
  // Sends the key event of rec back to its client.
  virtual void IMForwardEvent(typFwdEventView& rec) = 0;
  // The keycode of the BackSpace keysym on the display of rec's client, for
  // the BackSpaces the engine sends back through IMForwardEvent; 0 when the
  // display has none (the engine then sends none). The default is the
  // keycode of a common PC keyboard; the front end asks the display.
  virtual uint32_t BackSpaceKeycode(const typFwdEventView& rec);

  // ---- kvr's own edit controls.
  // The edit control or editable combo box that is handing the engine a key
  // (the application's commit-target flag and window); 0 when the key came
  // from an XIM client.
  virtual unsigned long CommitTargetWindow() = 0;
  // Window message 1400: text goes to that control at once; leading 0x08
  // bytes are BackSpaces. A window that no longer exists drops the text.
  // The engine never clears the commit-target mark: the control does,
  // after its key, so every text of that key reaches it.
  virtual void SendTextToEditCtrl(unsigned long window, const char* text) = 0;

  // ---- Keyboard.
  // The engine's one report of a refused key.
  virtual void MessageBeep() = 0;
  // Grabs the selection keys on window while candidates are shown; 0 when
  // a grab is already held.
  virtual int GrabSomeKeys(unsigned long window) = 0;
  virtual int UnGrabSomeKeys() = 0;

  // ---- Clocks.
  // 32-bit millisecond clock, wrapping at 2^32; compare by unsigned
  // difference.
  virtual uint32_t GetMiliSecCount() = 0;
  // Whole seconds as time() gives them, for file and lexicon times.
  virtual uint32_t Time() = 0;

  // ---- Messages.
  // A modal message box (type 1: OK): format is first translated through
  // the UI strings unless literal is nonzero, then the arguments are
  // formatted into it. Returns the box's result.
  virtual int ChMsgbox2(const char* format, int type, int literal, va_list args) = 0;
  // A diagnostic of the loaders (which file was refused and why). The user
  // never sees it; kvr writes it to stderr.
  virtual void DiagMessage(const char* text) = 0;

  // ---- Files.
  // The directory the dictionaries lie in, ending with '/'.
  virtual const char* DataDir() = 0;
  // The file operations the engine's saves go through (base/AtomicFile.h).
  virtual IFileOps& FileOps() = 0;
};

// The bound host; the silent default until SetEngineHost is called.
IEngineHost& EngineHost();
// Binds host (borrowed; null restores the silent default).
void SetEngineHost(IEngineHost* host);

// ChMsgbox2 through the bound host, printf-style.
int EngineMsgBox(const char* format, int type, int literal, ...);
// DiagMessage of a printf-style text (at most 511 bytes kept).
void EngineDiag(const char* format, ...);
