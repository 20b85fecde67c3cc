// CDlgConfigSheet: the modeless configuration sheet. Left, a 320-pixel black
// preview pane (the live animation is a child of it) with two links below;
// right, the tabs: General and About, plus Rules, Field and Video while
// "Advanced Settings" is ticked. OK ends it with result 1, Cancel and the
// close box with 0; destroying the window stops every kernel task and posts
// WM_QUIT carrying the result.
//
// The sheet is the message loop's filter (dialog keys) and idle handler
// (enabling that follows checkboxes on the pages).
#pragma once

#include <windows.h>

#include <cstdint>

#include "config/pages/dlg_page_about_win32.h"
#include "config/pages/dlg_page_field_win32.h"
#include "config/pages/dlg_page_general_win32.h"
#include "config/pages/dlg_page_lifecfg_win32.h"
#include "config/pages/dlg_page_video_win32.h"
#include "config/controls/hyperlink_win32.h"
#include "config/ui/message_loop_win32.h"
#include "config/ui/property_sheet_win32.h"
#include "engine/core/scoped_handle_win32.h"

class CDlgConfigSheet : public CPropertySheetImpl, public CMessageFilter, public CIdleHandler {
 public:
  // The preview pane's widening at 96 DPI; the sheet scales it by its DPI.
  static constexpr int kPreviewWidth = 320;

  // `showAdvanced` is the process-wide "advanced pages shown" setting; the
  // checkbox reads and writes it.
  explicit CDlgConfigSheet(uint32_t& showAdvanced);
  ~CDlgConfigSheet() override;

  bool PreTranslateMessage(MSG* message) override;
  void OnIdle() override;
  bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;

  HWND PreviewPane() const { return preview; }
  bool AdvancedShown() const { return advancedInserted; }

  CDlgPageGeneral general;
  CDlgPageLifeCfg rules;
  CDlgPageField field;
  CDlgPageVideo video;
  CDlgPageAbout about;
  CHyperLink linkWeb;
  CHyperLink linkMail;

  HWND preview = nullptr;
  POINT previewOrigin = {0, 0};
  // The sheet window's DPI and the preview widening at it.
  int32_t dpi = 96;
  int previewWidth = kPreviewWidth;
  uint8_t result = 0;

 protected:
  void OnSheetInitialized() override;

 private:
  void ApplyMode();
  void Relayout();
  // After the system's own handling of a move to a screen of another DPI.
  void OnDpiChanged(int32_t newDpi);
  void Close(uint8_t sheetResult);
  int GeneralIndex() const;

  uint32_t& showAdvanced;
  HPROPSHEETPAGE advancedPages[3] = {};
  bool advancedInserted = false;
  HWND advancedBox = nullptr;
  ScopedIcon smallIcon;
  ScopedIcon largeIcon;
  std::wstring title;
};
