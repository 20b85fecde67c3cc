// CDlgPaletteEdit: the modal "Palette setup" dialog (template 101). It edits
// a private copy of the palette store made at construction and hands it back
// to the process-wide store only on OK; nothing reaches the registry here.
#pragma once

#include <windows.h>

#include "config/controls/gradient_ctrl_win32.h"
#include "config/ui/dialog_impl_win32.h"
#include "config/controls/gradient_view.h"
#include "palette/palette_container.h"

class CDlgPaletteEdit : public CDialogImpl {
 public:
  CDlgPaletteEdit();

  // Runs over `parent`; 1 (IDOK) after OK, 2 (IDCANCEL) after Cancel.
  using CDialogImpl::DoModal;

  bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;

  // The working copy.
  CPaletteContainerBase store;
  // Edits the shown palette; the edits reach the working copy when another
  // palette is chosen, and the store with OK.
  CGradientCtrl gradient;
  // The control showing the current palette, once one is attached to 1043.
  IGradientView* view = nullptr;

 private:
  void Refill();
  void Sync(bool commit);
  void SaveAs();
  void DeleteSelected();
  void AttachGradient();

  HWND combo = nullptr;
  std::wstring defaultLabel;
};
