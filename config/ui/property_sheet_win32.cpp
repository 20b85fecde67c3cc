// Property sheet and page wrappers. The sheet callback carries no user data,
// so the object being created is handed over in a per-thread pointer.
#include "config/ui/property_sheet_win32.h"

#include "config/ui/dialog_impl_win32.h"
#include "engine/core/module_win32.h"

namespace {
thread_local CPropertySheetImpl* t_sheetCreating = nullptr;
}

CPropertyPageImpl::CPropertyPageImpl(UINT templateId, const wchar_t* title, HINSTANCE resources) {
  record_.dwSize = sizeof record_;
  record_.hInstance = resources ? resources : ProgramModule();
  record_.pszTemplate = MAKEINTRESOURCEW(templateId);
  record_.dwFlags = PSP_USECALLBACK | (title ? PSP_USETITLE : 0);
  record_.pszTitle = title;
}

CPropertyPageImpl::CPropertyPageImpl(const DLGTEMPLATE* templateInMemory, const wchar_t* title) {
  record_.dwSize = sizeof record_;
  record_.hInstance = ProgramModule();
  record_.pResource = templateInMemory;
  record_.dwFlags = PSP_USECALLBACK | PSP_DLGINDIRECT | (title ? PSP_USETITLE : 0);
  record_.pszTitle = title;
}

HPROPSHEETPAGE CPropertyPageImpl::CreatePage() {
  record_.pfnDlgProc = PageProc;
  record_.pfnCallback = PageCallback;
  record_.lParam = reinterpret_cast<LPARAM>(this);
  return CreatePropertySheetPageW(&record_);
}

UINT CALLBACK CPropertyPageImpl::PageCallback(HWND, UINT message, PROPSHEETPAGEW* page) {
  auto* self = page ? reinterpret_cast<CPropertyPageImpl*>(page->lParam) : nullptr;
  if (self == nullptr) return 1;
  return self->OnPageCallback(message) ? 1 : 0;
}

INT_PTR CALLBACK CPropertyPageImpl::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CPropertyPageImpl* binding = nullptr;
  if (message == WM_INITDIALOG) {
    // The parameter is the control's copy of the page record.
    auto* record = reinterpret_cast<PROPSHEETPAGEW*>(lParam);
    binding = record ? reinterpret_cast<CPropertyPageImpl*>(record->lParam) : nullptr;
  }
  return DialogProc(binding, window, message, wParam, lParam);
}

CPropertySheetImpl::CPropertySheetImpl(const wchar_t* title) {
  header_.dwSize = sizeof header_;
  header_.dwFlags = PSH_USECALLBACK;
  header_.hInstance = ProgramModule();
  header_.pszCaption = title;
}

bool CPropertySheetImpl::AddPage(HPROPSHEETPAGE page) {
  if (page == nullptr) return false;
  if (Handle() == nullptr) {
    pending_.push_back(page);
    return true;
  }
  return SendMessageW(Handle(), PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(page)) != 0;
}

bool CPropertySheetImpl::InsertPage(int index, HPROPSHEETPAGE page) {
  if (page == nullptr) return false;
  if (Handle() == nullptr) {
    if (index < 0 || static_cast<size_t>(index) > pending_.size()) return false;
    pending_.insert(pending_.begin() + index, page);
    return true;
  }
  return SendMessageW(Handle(), PSM_INSERTPAGE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(page)) != 0;
}

bool CPropertySheetImpl::RemovePage(int index) {
  if (index < 0) return false;
  if (Handle() == nullptr) {
    if (static_cast<size_t>(index) >= pending_.size()) return false;
    DestroyPropertySheetPage(pending_[index]);
    pending_.erase(pending_.begin() + index);
    return true;
  }
  if (index >= GetPageCount()) return false;
  SendMessageW(Handle(), PSM_REMOVEPAGE, static_cast<WPARAM>(index), 0);
  return true;
}

int CPropertySheetImpl::GetPageCount() const {
  HWND tab = GetTabControl();
  if (tab == nullptr) return static_cast<int>(pending_.size());
  return static_cast<int>(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
}

HWND CPropertySheetImpl::GetTabControl() const {
  if (Handle() == nullptr) return nullptr;
  return reinterpret_cast<HWND>(SendMessageW(Handle(), PSM_GETTABCONTROL, 0, 0));
}

int CPropertySheetImpl::GetPageIndex(HWND pageWindow) const {
  if (Handle() == nullptr || pageWindow == nullptr) return -1;
  return static_cast<int>(SendMessageW(Handle(), PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(pageWindow), 0));
}

HWND CPropertySheetImpl::Create(HWND parent) {
  INT_PTR r = Run(parent, true);
  return r > 0 ? reinterpret_cast<HWND>(r) : nullptr;
}

INT_PTR CPropertySheetImpl::DoModal(HWND parent) { return Run(parent, false); }

INT_PTR CPropertySheetImpl::Run(HWND parent, bool modeless) {
  if (Handle() != nullptr || pending_.empty()) return -1;
  header_.hwndParent = parent;
  header_.dwFlags |= PSH_USECALLBACK;
  header_.dwFlags = modeless ? (header_.dwFlags | PSH_MODELESS) : (header_.dwFlags & ~PSH_MODELESS);
  header_.pfnCallback = SheetCallback;
  header_.nPages = static_cast<UINT>(pending_.size());
  header_.phpage = pending_.data();
  CPropertySheetImpl* outer = t_sheetCreating;
  t_sheetCreating = this;
  INT_PTR r = PropertySheetW(&header_);
  t_sheetCreating = outer;
  // The control owns the handles from here on (and destroyed them on failure).
  pending_.clear();
  header_.phpage = nullptr;
  header_.nPages = 0;
  return r;
}

int CALLBACK CPropertySheetImpl::SheetCallback(HWND window, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED && t_sheetCreating != nullptr) {
    CPropertySheetImpl* self = t_sheetCreating;
    t_sheetCreating = nullptr;
    if (self->Subclass(window)) self->OnSheetInitialized();
  }
  return 0;
}
