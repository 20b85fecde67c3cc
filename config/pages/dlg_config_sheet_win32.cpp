#include "config/pages/dlg_config_sheet_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>

#include "config/controls/window_dpi_win32.h"
#include "config/logic/dpi_scale.h"
#include "engine/core/kernel.h"
#include "engine/core/resource_loader_win32.h"
#include "resources/resource.h"

namespace {
// Moves every child of `sheet` but the `kept` ones `dx` pixels to the right.
void ShiftChildren(HWND sheet, int dx, std::initializer_list<HWND> kept) {
  for (HWND child = GetWindow(sheet, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (std::find(kept.begin(), kept.end(), child) != kept.end()) continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(child, nullptr, r.left + dx, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// Moves every child of `sheet` whose top edge lies at or below `top` `dy`
// pixels down.
void LowerChildrenBelow(HWND sheet, int top, int dy) {
  for (HWND child = GetWindow(sheet, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&r), 2);
    if (r.top < top) continue;
    SetWindowPos(child, nullptr, r.left, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}
}  // namespace

CDlgConfigSheet::CDlgConfigSheet(uint32_t& showAdvanced) : showAdvanced(showAdvanced) {
  PROPSHEETHEADERW& header = HeaderRecord();
  header.dwFlags |= PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP | PSH_MODELESS;
  header.dwFlags &= ~static_cast<DWORD>(PSH_HASHELP);
  AddPage(general.CreatePage());
  AddPage(about.CreatePage());
}

CDlgConfigSheet::~CDlgConfigSheet() {
  // Pages that were made but never handed to the sheet are still ours.
  if (!advancedInserted) {
    for (HPROPSHEETPAGE& page : advancedPages) {
      if (page != nullptr) DestroyPropertySheetPage(page);
      page = nullptr;
    }
  }
  if (Handle() != nullptr) DestroyWindow(Handle());
}

bool CDlgConfigSheet::PreTranslateMessage(MSG* message) {
  if (Handle() == nullptr) return false;
  return PropSheet_IsDialogMessage(Handle(), message) != FALSE;
}

void CDlgConfigSheet::OnIdle() {
  rules.OnIdle();
  field.OnIdle();
}

void CDlgConfigSheet::OnSheetInitialized() {
  HWND sheet = Handle();
  title = LoadResourceString(IDS_SHEET_TITLE);
  SetWindowTextW(sheet, title.c_str());
  HINSTANCE module = ProgramModule();
  // WM_SETICON only lends the icons: the sheet destroys them after its window.
  smallIcon.reset(static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_VIVARN), IMAGE_ICON, 16, 16, 0)));
  largeIcon.reset(static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_VIVARN), IMAGE_ICON, 32, 32, 0)));
  if (smallIcon) SendMessageW(sheet, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
  if (largeIcon) SendMessageW(sheet, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon.get()));

  HWND tab = GetTabControl();
  const LONG_PTR tabStyle = GetWindowLongPtrW(tab, GWL_STYLE);
  if (tabStyle & TCS_MULTILINE) SetWindowLongPtrW(tab, GWL_STYLE, tabStyle & ~static_cast<LONG_PTR>(TCS_MULTILINE));

  RECT units = {0, 0, 4, 8};
  MapDialogRect(sheet, &units);
  const int bx = units.right, by = units.bottom;
  RECT tabRect;
  GetWindowRect(tab, &tabRect);
  MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&tabRect), 2);
  // The box gets a row of its own under the tabs: the sheet grows and the
  // buttons move down. Taking the row from the tabs would cut the bottom of
  // the tallest page, whose height the sheet gave the tabs.
  const int boxHeight = MulDiv(10, by, 8);
  RECT window;
  GetWindowRect(sheet, &window);
  SetWindowPos(sheet, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + boxHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  LowerChildrenBelow(sheet, tabRect.bottom, boxHeight);
  const HFONT font = reinterpret_cast<HFONT>(SendMessageW(sheet, WM_GETFONT, 0, 0));
  const std::wstring boxText = LoadResourceString(IDS_ADVANCED);
  advancedBox = CreateWindowExW(0, L"BUTTON", boxText.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                                tabRect.left, tabRect.bottom, MulDiv(100, bx, 4), boxHeight, sheet,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_ADVANCED)), nullptr, nullptr);
  SendMessageW(advancedBox, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  const int tabLeftBeforeMove = tabRect.left;
  const int tabTop = tabRect.top;
  const int tabBottom = tabRect.bottom;

  // Room for the preview on the left: everything moves right.
  dpi = WindowDpi(sheet);
  previewWidth = ScaleToDpi(kPreviewWidth, dpi);
  GetWindowRect(sheet, &window);
  SetWindowPos(sheet, nullptr, 0, 0, window.right - window.left + previewWidth, window.bottom - window.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShiftChildren(sheet, previewWidth, {});

  const std::wstring ok = LoadResourceString(IDS_OK), cancel = LoadResourceString(IDS_CANCEL);
  SetDlgItemTextW(sheet, IDOK, ok.c_str());
  SetDlgItemTextW(sheet, IDCANCEL, cancel.c_str());

  previewOrigin = {tabLeftBeforeMove, tabTop};
  preview = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_CLIPCHILDREN | SS_BLACKRECT,
                            previewOrigin.x, previewOrigin.y, previewWidth - previewOrigin.x, tabBottom - tabTop,
                            sheet, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PREVIEW)), nullptr, nullptr);

  const int linkWidth = MulDiv(100, bx, 4), linkHeight = MulDiv(8, by, 8);
  HWND web = CreateWindowExW(0, L"STATIC", L"example.org/vivarn", WS_CHILD | WS_VISIBLE | SS_LEFT, previewOrigin.x,
                             tabBottom, linkWidth, linkHeight, sheet, nullptr, nullptr, nullptr);
  HWND mail = CreateWindowExW(0, L"STATIC", L"vivarn@example.org", WS_CHILD | WS_VISIBLE | SS_LEFT, previewOrigin.x,
                              tabBottom + linkHeight, linkWidth, linkHeight, sheet, nullptr, nullptr, nullptr);
  SendMessageW(web, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(mail, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (linkWeb.SubclassWindow(web)) linkWeb.SetHyperLink(kAuthorWebPage);
  if (linkMail.SubclassWindow(mail)) linkMail.SetHyperLink(kAuthorMailTo);

  // Centre over the parent, or over the work area without one.
  RECT area;
  HWND parent = GetParent(sheet);
  if (parent != nullptr) {
    GetWindowRect(parent, &area);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  GetWindowRect(sheet, &window);
  const int width = window.right - window.left, height = window.bottom - window.top;
  SetWindowPos(sheet, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

  CheckDlgButton(sheet, IDC_ADVANCED, showAdvanced != 0 ? BST_CHECKED : BST_UNCHECKED);
  PostMessageW(sheet, WM_COMMAND, MAKEWPARAM(IDC_ADVANCED, BN_CLICKED), reinterpret_cast<LPARAM>(advancedBox));
}

int CDlgConfigSheet::GeneralIndex() const {
  // General is always there and, being the first page, always has a window.
  const int index = GetPageIndex(general.Handle());
  return index >= 0 ? index : 0;
}

void CDlgConfigSheet::ApplyMode() {
  const bool advanced = IsDlgButtonChecked(Handle(), IDC_ADVANCED) == BST_CHECKED;
  showAdvanced = advanced ? 1 : 0;
  if (advanced && !advancedInserted) {
    CPropertyPageImpl* pages[3] = {&rules, &field, &video};
    const int base = GeneralIndex();
    for (int k = 0; k < 3; ++k) {
      advancedPages[k] = pages[k]->CreatePage();
      InsertPage(base + 1 + k, advancedPages[k]);
    }
    advancedInserted = true;
    SendMessageW(Handle(), PSM_RECALCPAGESIZES, 0, 0);
  } else if (!advanced && advancedInserted) {
    // The three sit right after General; the sheet destroys each page's
    // window and handle as it goes.
    const int base = GeneralIndex();
    for (HPROPSHEETPAGE& page : advancedPages) {
      RemovePage(base + 1);
      page = nullptr;
    }
    advancedInserted = false;
  }
  InvalidateRect(Handle(), nullptr, TRUE);
}

void CDlgConfigSheet::Relayout() {
  HWND sheet = Handle();
  HWND tab = GetTabControl();
  if (tab == nullptr || advancedBox == nullptr || preview == nullptr) return;
  RECT tabRect, box;
  GetWindowRect(tab, &tabRect);
  MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&tabRect), 2);
  GetWindowRect(advancedBox, &box);
  const int boxHeight = box.bottom - box.top;
  SetWindowPos(advancedBox, nullptr, tabRect.left, tabRect.bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int paneBottom = tabRect.bottom + boxHeight;
  SetWindowPos(preview, nullptr, previewOrigin.x, previewOrigin.y, previewWidth - previewOrigin.x,
               paneBottom - previewOrigin.y, SWP_NOZORDER | SWP_NOACTIVATE);
  HWND child = GetWindow(preview, GW_CHILD);
  if (child != nullptr) {
    RECT pane;
    GetClientRect(preview, &pane);
    SetWindowPos(child, nullptr, 0, 0, pane.right, pane.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  HWND links[2] = {linkWeb.m_hWnd, linkMail.m_hWnd};
  int y = paneBottom;
  for (HWND link : links) {
    if (link == nullptr) continue;
    RECT r;
    GetWindowRect(link, &r);
    SetWindowPos(link, nullptr, previewOrigin.x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    y += r.bottom - r.top;
  }
}

void CDlgConfigSheet::OnDpiChanged(int32_t newDpi) {
  HWND sheet = Handle();
  HWND tab = GetTabControl();
  if (tab == nullptr || preview == nullptr || newDpi <= 0) return;
  dpi = newDpi;
  previewWidth = ScaleToDpi(kPreviewWidth, dpi);
  // Where the system scales a dialog's children itself the tabs already sit
  // one margin right of the widened pane; elsewhere they still keep the old
  // widening and move by the difference, the window growing with them.
  RECT pane, tabRect;
  GetWindowRect(preview, &pane);
  MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&pane), 2);
  GetWindowRect(tab, &tabRect);
  MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&tabRect), 2);
  previewOrigin = {pane.left, pane.top};
  const int shift = pane.left + previewWidth - tabRect.left;
  if (shift != 0) {
    RECT window;
    GetWindowRect(sheet, &window);
    SetWindowPos(sheet, nullptr, 0, 0, window.right - window.left + shift, window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShiftChildren(sheet, shift, {preview, linkWeb.m_hWnd, linkMail.m_hWnd});
  }
  for (CColoursPage* page : {static_cast<CColoursPage*>(&general), static_cast<CColoursPage*>(&video)}) {
    page->gradient.SetDpi(dpi);
    page->colourButton.SetDpi(dpi);
  }
  Relayout();
  InvalidateRect(sheet, nullptr, TRUE);
}

void CDlgConfigSheet::Close(uint8_t sheetResult) {
  result = sheetResult;
  DestroyWindow(Handle());
}

bool CDlgConfigSheet::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& answer) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_ADVANCED:
          if (HIWORD(wParam) != BN_CLICKED) return false;
          ApplyMode();
          answer = 0;
          return true;
        case IDOK:
          // No apply round through the pages: each applied its settings as
          // the user made them, and the run mode saves the task and the
          // store as they are now.
          Close(1);
          answer = 0;
          return true;
        case IDCANCEL:
          Close(0);
          answer = 0;
          return true;
        default:
          return false;
      }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        Close(0);
        answer = 0;
        return true;
      }
      return false;
    case WM_SIZE:
      Relayout();
      return false;
    case WM_DPICHANGED:
      answer = DefaultWindowProc(message, wParam, lParam);
      OnDpiChanged(LOWORD(wParam));
      return true;
    case WM_DESTROY:
      VekKernel::Instance()->StopAllTasks();
      PostQuitMessage(result);
      return false;
    default:
      return false;
  }
}
