#include "config/pages/colours_page_win32.h"

#include "config/pages/palette_list_win32.h"
#include "life/vivarn_task.h"
#include "resources/resource.h"

COLORREF ColourFromBkColor(const float bk[4]) {
  auto channel = [](float v) {
    const float scaled = v * 255.0f;
    return static_cast<COLORREF>(scaled <= 0.0f ? 0 : scaled >= 255.0f ? 255 : static_cast<int>(scaled));
  };
  return RGB(channel(bk[0]), channel(bk[1]), channel(bk[2]));
}

void ApplyBkColorFromButton(const CColorButton& button) {
  const COLORREF colour = button.GetColour();
  if (colour == CLR_NONE) return;
  VivarnTask::Instance()->SetBkColor(GetRValue(colour) / 255.0f, GetGValue(colour) / 255.0f,
                                     GetBValue(colour) / 255.0f, 1.0f);
}

CColoursPage::CColoursPage(UINT templateId) : CConfigPage(templateId) {
  // Before any page window exists: the template's control is only made when
  // its class is known.
  CGradientCtrl::RegisterControlClass();
}

void CColoursPage::SyncPalettes(bool commit) {
  LockedPaletteStore store;
  SyncPaletteCombo(Item(IDC_PALETTE_LIST), *store, commit, gradientView);
}

void CColoursPage::LoadColours() {
  colourButton.SetColour(BkColour);
  SyncPalettes(false);
}

void CColoursPage::ApplyBackground() {
  BkColour = colourButton.GetColour();
  ApplyBkColorFromButton(colourButton);
}

void CColoursPage::ChoosePalette() {
  LockedPaletteStore store;
  ChooseListedPalette(Item(IDC_PALETTE_LIST), *store);
  SyncPalettes(false);
}

void CColoursPage::OnInitPage() {
  colourButton.Attach(Item(IDC_BK_COLOR));
  colourButton.SetDefaultColour(kDefaultBkColour);
  gradientView = nullptr;
  // DS_NOFAILCREATE: without the control the page still works on the store.
  if (gradient.Attach(Item(IDC_GRADIENT))) {
    SetUpGradient();
    gradientView = &gradient;
  }
  AttachClosedComboTip(Handle(), Item(IDC_PALETTE_LIST));
  RefillPalettes();
  Load();
}

bool CColoursPage::OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_DESTROY:
      // The control goes with the page (the sheet removes and rebuilds it).
      gradientView = nullptr;
      return false;
    case WM_DRAWITEM:
      if (wParam != IDC_BK_COLOR) return false;
      return ReflectNotifications(message, wParam, lParam, result);
    case WM_COMMAND:
      if (LOWORD(wParam) != IDC_BK_COLOR) return false;
      if (HIWORD(wParam) == CLRN_CHANGED) {
        ApplyBackground();
        return true;
      }
      // Clicks and the picker's answers belong to the button itself.
      return ReflectNotifications(message, wParam, lParam, result);
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (AnswerClosedComboTip(*header, Item(IDC_PALETTE_LIST), paletteTipText)) {
        result = 0;
        return true;
      }
      if (header->idFrom != IDC_GRADIENT || header->hwndFrom == nullptr || header->hwndFrom != gradient.Handle())
        return false;
      return OnGradientNotify(*header, result);
    }
    default:
      return false;
  }
}
