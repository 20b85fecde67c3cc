#include "config/pages/dlg_pattern_win32.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <mutex>
#include <vector>

#include "config/logic/pattern_choice.h"
#include "engine/core/resource_loader_win32.h"
#include "life/named_rules.h"
#include "life/pattern/pattern_reader.h"
#include "life/pattern_gallery.h"
#include "life/vivarn_task.h"
#include "resources/resource.h"

namespace {
VivarnTaskBse& Task() { return *VivarnTask::Instance().get(); }

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(std::max(n, 0)), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(std::max(n, 0)), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Format2(UINT id, int a, int b) {
  wchar_t buffer[300] = {};
  swprintf(buffer, 300, LoadResourceString(id).c_str(), a, b);
  return buffer;
}

std::wstring FileNameOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool AskFileWithSystemDialog(HWND owner, std::wstring& path) {
  // The filter's pairs are separated by '|' in the string table, which
  // cannot hold the zeros the dialog wants.
  std::wstring filter = LoadResourceString(IDS_PATTERN_FILTER);
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.push_back(L'\0');
  const std::wstring title = LoadResourceString(IDS_PATTERN_OPEN_TITLE);
  std::vector<wchar_t> file(MAX_PATH * 4, L'\0');
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&ofn)) return false;
  path = file.data();
  return true;
}

const char* ExtensionFor(PatternFormat format) {
  switch (format) {
    case PatternFormat::kPlaintext: return "cells";
    case PatternFormat::kLife105:
    case PatternFormat::kLife106: return "lif";
    default: return "rle";
  }
}

// The pixels of one cell state: live cells bright, the dying states of the
// Generations rules fading towards the background (BGRA words).
constexpr uint32_t kViewBackground = 0x0000004C;  // the saver's default background
uint32_t CellColour(uint8_t state) {
  if (state <= 1) return 0x00FFD030;
  const uint32_t fade = std::min<uint32_t>(state, 8u);
  return ((0xFFu - fade * 20u) << 16) | ((0xD0u - fade * 20u) << 8) | 0x60u;
}
}  // namespace

bool ReadPatternFileText(const std::wstring& path, std::string& text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  bool ok = true;
  while (bytes.size() <= kMaxPatternBytes) {
    if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
      ok = false;
      break;
    }
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  CloseHandle(file);
  if (!ok) return false;
  if (bytes.size() > kMaxPatternBytes + 1) bytes.resize(kMaxPatternBytes + 1);
  text.swap(bytes);
  return true;
}

std::shared_ptr<const Pattern> ResolveStoredPattern(const std::string& name, const std::string& filePath) {
  if (!name.empty()) {
    if (const GalleryEntry* entry = FindGalleryEntry(name)) return std::make_shared<const Pattern>(entry->pattern);
  }
  if (filePath.empty()) return nullptr;
  std::string text;
  if (!ReadPatternFileText(Wide(filePath), text)) return nullptr;
  auto read = std::make_shared<Pattern>();
  PatternReadError error;
  if (!ReadPattern(text, *read, error)) return nullptr;
  return read;
}

CDlgPattern::CDlgPattern() : CDialogImpl(LoadDialogTemplate(IDD_PATTERN)), askFile(AskFileWithSystemDialog) {
  const LifeSettings settings = Task().Settings();
  found.choice.galleryName = settings.PatternName;
  found.choice.filePath = settings.PatternFile;
  found.choice.pattern = ResolveStoredPattern(settings.PatternName, settings.PatternFile);
  found.resetMode = settings.ResetMode;
  std::copy_n(settings.RuleBorn, 9, found.born);
  std::copy_n(settings.RuleSurvive, 9, found.survive);
  found.states = settings.EffectiveRuleStates();
  pattern = found.choice.pattern;
}

void CDlgPattern::KeepPreviewInSight() {
  // Centred, the dialog would hide the very preview its choices run in: it
  // goes beside the sheet's preview pane instead, as far as the screen lets it.
  HWND owner = GetWindow(Handle(), GW_OWNER);
  HWND pane = owner != nullptr ? GetDlgItem(owner, IDC_PREVIEW) : nullptr;
  if (pane == nullptr) return;
  RECT paneRect, own;
  GetWindowRect(pane, &paneRect);
  GetWindowRect(Handle(), &own);
  MONITORINFO monitor = {sizeof monitor};
  if (!GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& area = monitor.rcWork;
  const int width = own.right - own.left, height = own.bottom - own.top;
  const int x = std::max<int>(area.left, std::min<int>(paneRect.right + 4, area.right - width));
  const int y = std::max<int>(area.top, std::min<int>(paneRect.top, area.bottom - height));
  SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDlgPattern::OnInit() {
  KeepPreviewInSight();
  FillList();
  if (pattern != nullptr) {
    const GalleryEntry* entry =
        found.choice.galleryName.empty() ? nullptr : FindGalleryEntry(found.choice.galleryName);
    if (entry != nullptr) {
      shownName = Wide(entry->name);
      const auto& gallery = PatternGallery();
      SelectListRow(static_cast<int>(entry - gallery.data()));
    } else {
      shownName = pattern->name.empty() ? FileNameOf(Wide(found.choice.filePath)) : Wide(pattern->name);
    }
  }
  ShowChoice();
}

void CDlgPattern::FillList() {
  HWND list = GetDlgItem(Handle(), IDC_PATTERN_LIST);
  if (list == nullptr) return;
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  // Column widths in dialog units, so they follow the dialog's font and DPI.
  const struct {
    UINT text;
    int width;
  } columns[] = {{IDS_PATTERN_COL_NAME, 78}, {IDS_PATTERN_COL_RULE, 44}, {IDS_PATTERN_COL_SIZE, 34}};
  int index = 0;
  for (const auto& c : columns) {
    RECT r = {0, 0, c.width, 8};
    MapDialogRect(Handle(), &r);
    std::wstring title = LoadResourceString(c.text);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = r.right;
    column.pszText = title.data();
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&column));
  }
  fillingList = true;
  const auto& gallery = PatternGallery();
  for (size_t i = 0; i < gallery.size(); ++i) {
    const GalleryEntry& entry = gallery[i];
    std::wstring name = Wide(entry.name);
    std::wstring rule = Wide(PrintRulestring(entry.rule));
    std::wstring size = Format2(IDS_PATTERN_SIZE, entry.pattern.width, entry.pattern.height);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    item.pszText = name.data();
    item.lParam = static_cast<LPARAM>(i);
    const int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) continue;
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = 1;
    item.pszText = rule.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    item.iSubItem = 2;
    item.pszText = size.data();
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }
  fillingList = false;
}

void CDlgPattern::SelectListRow(int row) {
  HWND list = GetDlgItem(Handle(), IDC_PATTERN_LIST);
  if (list == nullptr) return;
  fillingList = true;
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = 0;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  if (row >= 0) {
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  }
  fillingList = false;
}

std::shared_ptr<const Pattern> CDlgPattern::Read(const std::string& text) {
  auto read = std::make_shared<Pattern>();
  PatternReadError error;
  if (ReadPattern(text, *read, error)) return read;
  std::wstring why = LoadResourceString(IDS_PATTERN_ERROR_FIRST + static_cast<UINT>(error.reason));
  if (error.line > 0)
    why += L" " + Format2(IDS_PATTERN_ERROR_AT, static_cast<int>(error.line), static_cast<int>(error.column));
  ShowError(why);
  return nullptr;
}

bool CDlgPattern::ChooseGalleryEntry(size_t index) {
  const auto& gallery = PatternGallery();
  if (index >= gallery.size()) return false;
  const GalleryEntry& entry = gallery[index];
  pastedText.clear();
  shownName = Wide(entry.name);
  Apply({entry.name, std::string(), std::make_shared<const Pattern>(entry.pattern)});
  return true;
}

bool CDlgPattern::ChooseFile(const std::wstring& path) {
  std::string text;
  if (!ReadPatternFileText(path, text)) {
    ShowError(LoadResourceString(IDS_PATTERN_CANNOT_READ));
    return false;
  }
  std::shared_ptr<const Pattern> read = Read(text);
  if (read == nullptr) return false;
  pastedText.clear();
  shownName = read->name.empty() ? FileNameOf(path) : Wide(read->name);
  SelectListRow(-1);
  Apply({std::string(), Utf8(path), std::move(read)});
  return true;
}

bool CDlgPattern::ChooseText(std::string text) {
  std::shared_ptr<const Pattern> read = Read(text);
  if (read == nullptr) return false;
  pastedText = std::move(text);
  shownName = read->name.empty() ? LoadResourceString(IDS_PATTERN_PASTED) : Wide(read->name);
  SelectListRow(-1);
  // The file is named on OK; until then the choice has none.
  Apply({std::string(), std::string(), std::move(read)});
  return true;
}

bool CDlgPattern::Paste() {
  std::wstring wide;
  bool had = false;
  if (OpenClipboard(Handle())) {
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data != nullptr) {
      const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
      if (text != nullptr) {
        // Not past the handle's size, whatever the text claims.
        const size_t limit = GlobalSize(data) / sizeof(wchar_t);
        wide.assign(text, std::find(text, text + limit, L'\0'));
        had = true;
        GlobalUnlock(data);
      }
    }
    CloseClipboard();
  }
  if (!had) {
    ShowError(LoadResourceString(IDS_PATTERN_NO_TEXT));
    return false;
  }
  return ChooseText(Utf8(wide));
}

void CDlgPattern::Apply(Choice next) {
  pattern = next.pattern;
  VivarnTaskBse& task = Task();
  {
    // One step: no generation runs between the pattern and its rule.
    std::lock_guard<std::recursive_mutex> hold(task.lock);
    task.SetPatternChoice(next.galleryName, next.filePath, next.pattern);
    task.SetResetMode(4);
    RuleDefinition rule;
    RuleParseError ruleError;
    if (!pattern->rule.empty() && ParseRulestring(pattern->rule, rule, ruleError)) {
      uint8_t born[9], survive[9];
      RuleFlags(rule.born, born);
      RuleFlags(rule.survive, survive);
      task.SetRule(born, survive, rule.states);
    }
    task.ResetPopulation();
  }
  applied = true;
  ShowError(std::wstring());
  ShowChoice();
}

void CDlgPattern::Restore() {
  if (!applied) return;
  VivarnTaskBse& task = Task();
  std::lock_guard<std::recursive_mutex> hold(task.lock);
  task.SetPatternChoice(found.choice.galleryName, found.choice.filePath, found.choice.pattern);
  task.SetResetMode(found.resetMode);
  task.SetRule(found.born, found.survive, found.states);
  task.ResetPopulation();
  applied = false;
}

bool CDlgPattern::Keep() {
  if (pastedText.empty()) return true;
  std::wstring folder = pastedFolder;
  if (folder.empty()) {
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, appData))) {
      ShowError(LoadResourceString(IDS_PATTERN_CANNOT_SAVE));
      return false;
    }
    folder = std::wstring(appData) + L"\\Vivarn Screen Saver 2\\Patterns";
  }
  // Each level in turn: the program's folder may not exist yet either.
  for (size_t at = folder.find(L'\\', 3); ; at = folder.find(L'\\', at + 1)) {
    CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
    if (at == std::wstring::npos) break;
  }
  const std::wstring path =
      folder + L"\\" + Wide(PastedPatternFileName(pastedText, ExtensionFor(DetectPatternFormat(pastedText))));
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const bool ok = file != INVALID_HANDLE_VALUE &&
                  WriteFile(file, pastedText.data(), static_cast<DWORD>(pastedText.size()), &written, nullptr) &&
                  written == pastedText.size();
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!ok) {
    DeleteFileW(path.c_str());
    ShowError(LoadResourceString(IDS_PATTERN_CANNOT_SAVE));
    return false;
  }
  pastedFile = path;
  pastedText.clear();
  // The same pattern, now with the file the settings will name.
  Task().SetPatternChoice(std::string(), Utf8(path), pattern);
  return true;
}

void CDlgPattern::ShowChoice() {
  HWND window = Handle();
  if (window == nullptr) return;
  if (pattern == nullptr) {
    SetDlgItemTextW(window, IDC_PATTERN_NAME, LoadResourceString(IDS_PATTERN_NONE).c_str());
    SetDlgItemTextW(window, IDC_PATTERN_FIT, L"");
  } else {
    SetDlgItemTextW(window, IDC_PATTERN_NAME, shownName.c_str());
    // The full screen is the primary monitor's, at the cell size the pages set.
    const ScreenCells screen = CellsOnScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                             Task().Settings().EffectiveCellSize());
    const UINT id = PatternFitsScreen(pattern->width, pattern->height, screen) ? IDS_PATTERN_FITS : IDS_PATTERN_TOO_BIG;
    SetDlgItemTextW(window, IDC_PATTERN_FIT, Format2(id, screen.columns, screen.rows).c_str());
  }
  InvalidateRect(GetDlgItem(window, IDC_PATTERN_VIEW), nullptr, FALSE);
}

void CDlgPattern::ShowError(const std::wstring& text) {
  if (Handle() != nullptr) SetDlgItemTextW(Handle(), IDC_PATTERN_ERROR, text.c_str());
}

std::wstring CDlgPattern::ErrorText() const {
  wchar_t buffer[512] = {};
  if (Handle() != nullptr) GetDlgItemTextW(Handle(), IDC_PATTERN_ERROR, buffer, 512);
  return buffer;
}

void CDlgPattern::DrawView(const DRAWITEMSTRUCT& item) const {
  const int width = item.rcItem.right - item.rcItem.left, height = item.rcItem.bottom - item.rcItem.top;
  if (width <= 0 || height <= 0) return;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, kViewBackground);
  if (pattern != nullptr && pattern->width > 0 && pattern->height > 0) {
    // The whole pattern inside a one-pixel margin, a cell at most 16 pixels;
    // from 4 pixels a cell on, a grid line keeps neighbouring cells apart.
    const double scale = std::min({(width - 2) / static_cast<double>(pattern->width),
                                   (height - 2) / static_cast<double>(pattern->height), 16.0});
    if (scale > 0) {
      const int left = (width - static_cast<int>(pattern->width * scale)) / 2;
      const int top = (height - static_cast<int>(pattern->height * scale)) / 2;
      const int gap = scale >= 4 ? 1 : 0;
      for (const PatternCell& cell : pattern->cells) {
        const int x0 = left + static_cast<int>(cell.x * scale), y0 = top + static_cast<int>(cell.y * scale);
        const int x1 = std::min(width, std::max(x0 + 1, left + static_cast<int>((cell.x + 1) * scale) - gap));
        const int y1 = std::min(height, std::max(y0 + 1, top + static_cast<int>((cell.y + 1) * scale) - gap));
        const uint32_t colour = CellColour(cell.state);
        for (int y = std::max(y0, 0); y < y1; ++y)
          std::fill(pixels.begin() + static_cast<ptrdiff_t>(y) * width + std::max(x0, 0),
                    pixels.begin() + static_cast<ptrdiff_t>(y) * width + x1, colour);
      }
    }
  }
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(item.hDC, item.rcItem.left, item.rcItem.top, static_cast<DWORD>(width),
                    static_cast<DWORD>(height), 0, 0, 0, static_cast<UINT>(height), pixels.data(), &info,
                    DIB_RGB_COLORS);
}

bool CDlgPattern::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      result = TRUE;
      return true;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item == nullptr || item->CtlID != IDC_PATTERN_VIEW) return false;
      DrawView(*item);
      result = TRUE;
      return true;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom != IDC_PATTERN_LIST || header->code != LVN_ITEMCHANGED || fillingList) return false;
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
      const bool selected = (change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
                            !(change->uOldState & LVIS_SELECTED);
      if (selected && change->iItem >= 0) ChooseGalleryEntry(static_cast<size_t>(change->lParam));
      return true;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return false;
      switch (LOWORD(wParam)) {
        case IDC_PATTERN_OPEN: {
          std::wstring path;
          if (askFile && askFile(Handle(), path)) ChooseFile(path);
          return true;
        }
        case IDC_PATTERN_PASTE: Paste(); return true;
        case IDOK:
          if (Keep()) EndDialog(IDOK);
          return true;
        case IDCANCEL:
          Restore();
          EndDialog(IDCANCEL);
          return true;
        default: return false;
      }
    default: return false;
  }
}
