// CDlgInputText: the small modal dialog that asks for a palette name. Its
// template is built in memory (it has no resource of its own); the texts come
// from the string table of the user's language. The name is not checked: an empty name or a
// name already in use is the caller's to accept.
#pragma once

#include <windows.h>

#include <string>

#include "config/logic/dialog_template_builder.h"
#include "config/ui/dialog_impl_win32.h"

// Holds the in-memory template so that it exists before the dialog base
// that points at it is constructed.
class CDlgInputTextTemplate {
 protected:
  CDlgInputTextTemplate();
  DialogTemplateBuilder builder;
};

class CDlgInputText : private CDlgInputTextTemplate, public CDialogImpl {
 public:
  // Longest text kept, in UTF-16 units.
  static constexpr size_t kMaxText = 255;

  CDlgInputText();

  void SetText(const std::wstring& value) { text = value.substr(0, kMaxText); }
  const std::wstring& GetText() const { return text; }

  // Runs over the active window; 1 (IDOK) for OK, 2 (IDCANCEL) for Cancel.
  INT_PTR DoModal() { return CDialogImpl::DoModal(GetActiveWindow()); }
  using CDialogImpl::DoModal;

  // The template, for tests.
  const DialogTemplateBuilder& Template() const { return builder; }

  bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;

 private:
  std::wstring text;
};
