// A dialog bound to a C++ object, from a resource template or from a template
// built in memory, run modally (DoModal) or modelessly (Create). The object's
// ProcessWindowMessage sees every message from WM_INITDIALOG on; the answers
// of handled messages are stored the way dialog procedures must return them.
// Depends on: message_map_win32.h.
#pragma once

#include "config/ui/message_map_win32.h"

// What dialogs and property pages share: the window bound to the object and
// the dialog procedure past finding the object. The object is bound on
// WM_INITDIALOG, kept in DWLP_USER and unbound after WM_NCDESTROY.
class CDialogObject : public CMessageMap {
 public:
  HWND Handle() const { return window_; }

 protected:
  virtual void OnFinalMessage(HWND) {}
  // `binding` is the object WM_INITDIALOG names (ignored for other messages);
  // `lParam` is what the object's handler sees.
  static INT_PTR DialogProc(CDialogObject* binding, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
};

class CDialogImpl : public CDialogObject {
 public:
  // A resource template by id (from `resources`, the program's module when null).
  explicit CDialogImpl(UINT templateId, HINSTANCE resources = nullptr);
  // A template in memory; it must outlive the dialog's creation.
  explicit CDialogImpl(const DLGTEMPLATE* templateInMemory);
  CDialogImpl(const CDialogImpl&) = delete;
  CDialogImpl& operator=(const CDialogImpl&) = delete;
  // A modeless dialog still open at destruction is destroyed.
  ~CDialogImpl() override;

  // Runs the dialog modally; returns the EndDialog result, or -1 when the
  // dialog could not be created.
  INT_PTR DoModal(HWND parent, LPARAM initParam = 0);
  // Creates the dialog modelessly; null on failure.
  HWND Create(HWND parent, LPARAM initParam = 0);
  // Modal: ends the loop with `result`. Modeless: destroys the window.
  bool EndDialog(INT_PTR result);

  bool IsModal() const { return modal_; }
  // The parameter given to DoModal or Create, for WM_INITDIALOG handlers.
  LPARAM InitParam() const { return initParam_; }

  static INT_PTR CALLBACK StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  UINT templateId_ = 0;
  HINSTANCE resources_ = nullptr;
  const DLGTEMPLATE* templateInMemory_ = nullptr;
  bool modal_ = false;
  LPARAM initParam_ = 0;
};

// Dialog procedures answer most messages through DWLP_MSGRESULT, but these
// few through the procedure's return value.
bool DialogReturnsResultDirectly(UINT message);
