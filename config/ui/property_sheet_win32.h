// Property sheet and page wrappers over the common controls' PropertySheetW.
// A page is a dialog object whose handle (HPROPSHEETPAGE) is made on demand:
// the sheet destroys a removed page's window and handle, and the object makes
// a fresh handle when the page is inserted again. The sheet object subclasses
// the sheet window as soon as the control reports it initialised.
// Depends on: dialog_impl_win32.h, window_impl_win32.h, message_map_win32.h, <prsht.h>.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <vector>

#include "config/ui/dialog_impl_win32.h"
#include "config/ui/message_map_win32.h"
#include "config/ui/window_impl_win32.h"

class CPropertyPageImpl : public CDialogObject {
 public:
  explicit CPropertyPageImpl(UINT templateId, const wchar_t* title = nullptr, HINSTANCE resources = nullptr);
  explicit CPropertyPageImpl(const DLGTEMPLATE* templateInMemory, const wchar_t* title = nullptr);
  CPropertyPageImpl(const CPropertyPageImpl&) = delete;
  CPropertyPageImpl& operator=(const CPropertyPageImpl&) = delete;

  // A new page handle from the record below; null on failure.
  HPROPSHEETPAGE CreatePage();
  // The record behind the next CreatePage, for flags, icons and titles.
  PROPSHEETPAGEW& PageRecord() { return record_; }

  HWND Sheet() const { return window_ ? GetParent(window_) : nullptr; }

  bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override { return false; }

 protected:
  // PSPCB_ADDREF, PSPCB_CREATE (return false to refuse the page) or PSPCB_RELEASE.
  virtual bool OnPageCallback(UINT) { return true; }

 private:
  static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static UINT CALLBACK PageCallback(HWND window, UINT message, PROPSHEETPAGEW* page);
  PROPSHEETPAGEW record_{};
};

class CPropertySheetImpl : public CWindowImpl {
 public:
  explicit CPropertySheetImpl(const wchar_t* title = nullptr);

  // Before creation the handle is kept for the header; afterwards it is added
  // to the open sheet.
  bool AddPage(HPROPSHEETPAGE page);
  bool InsertPage(int index, HPROPSHEETPAGE page);
  bool RemovePage(int index);
  int GetPageCount() const;
  HWND GetTabControl() const;
  // Index of the page whose window is `pageWindow`, or -1.
  int GetPageIndex(HWND pageWindow) const;

  // The header used by Create and DoModal (flags, icons, start page).
  PROPSHEETHEADERW& HeaderRecord() { return header_; }

  // Modeless: returns the sheet window, null on failure.
  HWND Create(HWND parent);
  // Modal: returns PropertySheetW's result.
  INT_PTR DoModal(HWND parent);

  bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override { return false; }

 protected:
  // The sheet window exists and is bound to this object.
  virtual void OnSheetInitialized() {}

 private:
  INT_PTR Run(HWND parent, bool modeless);
  static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);
  PROPSHEETHEADERW header_{};
  std::vector<HPROPSHEETPAGE> pending_;
};
