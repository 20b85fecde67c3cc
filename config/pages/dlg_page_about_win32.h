// The "About" page (template 102): the saver's name and two links.
#pragma once

#include "config/pages/config_page_win32.h"
#include "config/controls/hyperlink_win32.h"

// Where the links lead.
extern const wchar_t kAuthorWebPage[];
extern const wchar_t kAuthorMailTo[];

class CDlgPageAbout : public CConfigPage {
 public:
  CDlgPageAbout();

  CHyperLink linkWeb;
  CHyperLink linkMail;

 private:
  void OnInitPage() override;
};
