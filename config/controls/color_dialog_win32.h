// The standard colour dialog (ChooseColorW), opened fully with any colour
// allowed and a hook that binds the dialog window to this object. The 16
// custom colours are shared by every dialog of the process and start white;
// they are not stored anywhere.
#pragma once

#include <windows.h>
#include <commdlg.h>

class CColorDialog {
 public:
  // A non-zero `initial` colour is preselected.
  explicit CColorDialog(COLORREF initial = 0);
  virtual ~CColorDialog() = default;
  CColorDialog(const CColorDialog&) = delete;
  CColorDialog& operator=(const CColorDialog&) = delete;

  // IDOK (1) after OK, with GetColour the chosen colour; IDCANCEL (2) otherwise.
  INT_PTR DoModal(HWND parent);
  COLORREF GetColour() const { return record_.rgbResult; }
  // The dialog window while it is open.
  HWND Handle() const { return window_; }
  const CHOOSECOLORW& Record() const { return record_; }

  static COLORREF* CustomColours();

 protected:
  // Answers "commdlg_ColorOK": true lets the dialog close with OK.
  virtual bool OnColorOK() { return true; }

 private:
  static UINT_PTR CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  CHOOSECOLORW record_{};
  HWND window_ = nullptr;
};
