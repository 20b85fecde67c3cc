#include "config/pages/dlg_input_text_win32.h"

#include "engine/core/resource_loader_win32.h"
#include "resources/resource.h"

namespace {
std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

constexpr DWORD kItemStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}  // namespace

CDlgInputTextTemplate::CDlgInputTextTemplate()
    : builder(DS_SHELLFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0,
              DialogRect{0, 0, 186, 59}, U16(LoadResourceString(IDS_NAME_TITLE)), DialogFont{}) {
  builder.AddItem(DialogClass::Static, static_cast<uint32_t>(-1), kItemStyle | WS_GROUP | SS_LEFT, 0,
                  DialogRect{7, 7, 67, 8}, U16(LoadResourceString(IDS_NAME_LABEL)));
  builder.AddItem(DialogClass::Edit, IDC_NAME_EDIT, kItemStyle | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0,
                  DialogRect{7, 18, 172, 12}, u"");
  builder.AddItem(DialogClass::Button, IDOK, kItemStyle | WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
                  DialogRect{75, 38, 50, 14}, U16(LoadResourceString(IDS_OK)));
  builder.AddItem(DialogClass::Button, IDCANCEL, kItemStyle | WS_TABSTOP | BS_PUSHBUTTON, 0,
                  DialogRect{129, 38, 50, 14}, U16(LoadResourceString(IDS_CANCEL)));
}

CDlgInputText::CDlgInputText()
    : CDialogImpl(reinterpret_cast<const DLGTEMPLATE*>(CDlgInputTextTemplate::builder.Bytes())) {}

bool CDlgInputText::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      SendDlgItemMessageW(window, IDC_NAME_EDIT, EM_LIMITTEXT, 256, 0);
      SetDlgItemTextW(window, IDC_NAME_EDIT, text.c_str());
      result = TRUE;
      return true;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        wchar_t buffer[kMaxText + 1] = {};
        GetDlgItemTextW(window, IDC_NAME_EDIT, buffer, static_cast<int>(kMaxText + 1));
        text = buffer;
        EndDialog(IDOK);
        return true;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(IDCANCEL);
        return true;
      }
      return false;
    default:
      return false;
  }
}
