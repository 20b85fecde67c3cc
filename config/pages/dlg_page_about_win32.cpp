#include "config/pages/dlg_page_about_win32.h"

#include "resources/resource.h"

const wchar_t kAuthorWebPage[] = L"https://example.org/vivarn";
const wchar_t kAuthorMailTo[] = L"mailto:vivarn@example.org?subject=Vivarn%20Screensaver";

CDlgPageAbout::CDlgPageAbout() : CConfigPage(IDD_PAGE_ABOUT) {}

void CDlgPageAbout::OnInitPage() {
  // The page window is rebuilt when the sheet shows it again after removal;
  // a link left from the old window lets go first.
  linkWeb.Detach();
  linkMail.Detach();
  if (linkWeb.SubclassWindow(Item(IDC_LINK_WEB))) linkWeb.SetHyperLink(kAuthorWebPage);
  if (linkMail.SubclassWindow(Item(IDC_LINK_MAIL))) linkMail.SetHyperLink(kAuthorMailTo);
}
