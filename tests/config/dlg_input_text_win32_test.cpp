// The palette name dialog: its in-memory template, and real runs driven from
// inside the modal loop.
#include <windows.h>

#include <gtest/gtest.h>

#include "config/pages/dlg_input_text_win32.h"
#include "resources/resource.h"
#include "tests/config/modal_driver_win32.h"
#include "tests/support/dialog_template_reader.h"

using vivarn_test::ReadDialogTemplateEx;
using vivarn_test::TemplateInfo;

TEST(DlgInputText, TemplateHoldsTheLabelEditAndButtons) {
  CDlgInputText dialog;
  TemplateInfo t;
  ASSERT_TRUE(ReadDialogTemplateEx(dialog.Template().Bytes(), dialog.Template().Size(), t));
  EXPECT_EQ(t.title, u"Enter palette name");
  EXPECT_EQ(t.cx, 186);
  EXPECT_EQ(t.cy, 59);
  EXPECT_EQ(t.face, u"MS Shell Dlg");
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.weight, 400);
  EXPECT_EQ(t.italic, 0);
  EXPECT_TRUE(t.style & DS_CENTER);
  EXPECT_TRUE(t.style & WS_SYSMENU);
  struct Item { uint32_t id; const char16_t* cls; const char16_t* text; int16_t x, y, cx, cy; };
  const Item items[] = {{0xFFFFFFFFu, u"static", u"Palette name:", 7, 7, 67, 8},
                        {IDC_NAME_EDIT, u"edit", u"", 7, 18, 172, 12},
                        {IDOK, u"button", u"O&K", 75, 38, 50, 14},
                        {IDCANCEL, u"button", u"&Cancel", 129, 38, 50, 14}};
  ASSERT_EQ(t.items.size(), 4u);
  for (size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(t.items[k].id, items[k].id);
    EXPECT_EQ(t.items[k].cls, items[k].cls);
    EXPECT_EQ(t.items[k].text, items[k].text);
    EXPECT_EQ(t.items[k].x, items[k].x);
    EXPECT_EQ(t.items[k].y, items[k].y);
    EXPECT_EQ(t.items[k].cx, items[k].cx);
    EXPECT_EQ(t.items[k].cy, items[k].cy);
    EXPECT_TRUE(t.items[k].style & WS_CLIPSIBLINGS);
  }
  EXPECT_EQ(t.items[2].style & 0xF, static_cast<uint32_t>(BS_DEFPUSHBUTTON));
  EXPECT_TRUE(t.items[1].style & ES_AUTOHSCROLL);
}

TEST(DlgInputText, OkReturnsOneWithTheEditedName) {
  CDlgInputText dialog;
  dialog.SetText(L"Default");
  std::wstring shown;
  LRESULT limit = 0;
  ModalDriver driver(L"Enter palette name", [&](HWND w) {
    wchar_t buffer[300] = {};
    GetDlgItemTextW(w, IDC_NAME_EDIT, buffer, 300);
    shown = buffer;
    limit = SendDlgItemMessageW(w, IDC_NAME_EDIT, EM_GETLIMITTEXT, 0, 0);
    SetDlgItemTextW(w, IDC_NAME_EDIT, L"Warm colours");
    SendDlgItemMessageW(w, IDOK, BM_CLICK, 0, 0);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
  EXPECT_TRUE(driver.Acted());
  EXPECT_EQ(shown, L"Default");
  EXPECT_EQ(limit, 256);
  EXPECT_EQ(dialog.GetText(), L"Warm colours");
}

TEST(DlgInputText, CancelReturnsTwoAndKeepsTheText) {
  CDlgInputText dialog;
  dialog.SetText(L"Ocean");
  ModalDriver driver(L"Enter palette name", [](HWND w) {
    SetDlgItemTextW(w, IDC_NAME_EDIT, L"changed");
    SendDlgItemMessageW(w, IDCANCEL, BM_CLICK, 0, 0);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
  EXPECT_TRUE(driver.Acted());
  EXPECT_EQ(dialog.GetText(), L"Ocean");
}

TEST(DlgInputText, EmptyNameIsAcceptedAndLongNamesAreCut) {
  CDlgInputText dialog;
  dialog.SetText(std::wstring(400, L'a'));
  EXPECT_EQ(dialog.GetText().size(), 255u);
  ModalDriver driver(L"Enter palette name", [](HWND w) {
    SetDlgItemTextW(w, IDC_NAME_EDIT, L"");
    SendDlgItemMessageW(w, IDOK, BM_CLICK, 0, 0);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
  EXPECT_EQ(dialog.GetText(), L"");
  // A typed name at the edit's limit comes back cut to 255 units.
  CDlgInputText second;
  ModalDriver driver2(L"Enter palette name", [](HWND w) {
    SetDlgItemTextW(w, IDC_NAME_EDIT, std::wstring(256, L'b').c_str());
    SendDlgItemMessageW(w, IDOK, BM_CLICK, 0, 0);
  });
  EXPECT_EQ(second.DoModal(nullptr), IDOK);
  EXPECT_EQ(second.GetText(), std::wstring(255, L'b'));
}
