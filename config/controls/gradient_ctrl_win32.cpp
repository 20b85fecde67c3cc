// The gradient control. Sections: set-up and properties; painting; mouse
// editing; the recolour popup; the message map.
#include "config/controls/gradient_ctrl_win32.h"

#include <windowsx.h>

#include <vector>

#include "config/controls/color_button_win32.h"
#include "config/controls/color_dialog_win32.h"
#include "config/controls/window_dpi_win32.h"
#include "engine/core/scoped_handle_win32.h"

namespace {
constexpr size_t kCustomTextUnits = 255;  // plus the terminator: 256 units

ScreenPoint PointFrom(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }
}  // namespace

// ---- set-up and properties ----

CGradientCtrl::CGradientCtrl() {
  ReadSystemColours();
  font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

CGradientCtrl::~CGradientCtrl() {
  if (Handle() != nullptr && IsSubclassed()) Unsubclass();
}

bool CGradientCtrl::RegisterControlClass() {
  return RegisterWindowClass(kClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, LoadCursorW(nullptr, IDC_ARROW),
                             nullptr);
}

HWND CGradientCtrl::Create(HWND parent, const RECT& rect, DWORD style, UINT id) {
  if (!RegisterControlClass()) return nullptr;
  HWND w = CWindowImpl::Create(kClassName, parent, rect, L"", style | WS_CHILD, 0, id);
  if (w != nullptr) {
    dpi_ = WindowDpi(w);
    ApplyOrientationFromStyle();
  }
  return w;
}

bool CGradientCtrl::Attach(HWND window) {
  if (!Subclass(window)) return false;
  dpi_ = WindowDpi(window);
  ApplyOrientationFromStyle();
  return true;
}

void CGradientCtrl::SetDpi(int32_t dpi) {
  dpi_ = dpi > 0 ? dpi : kDesignDpi;
  Redraw();
}

void CGradientCtrl::ApplyOrientationFromStyle() {
  if (Handle() == nullptr) return;
  orientation_ = OrientationFromStyle(static_cast<uint32_t>(GetWindowLongPtrW(Handle(), GWL_STYLE)));
  Redraw();
}

void CGradientCtrl::SetGradient(const CGradient& gradient) {
  gradient_.CopyFrom(gradient);
  // Indices into the old pegs mean nothing in the new gradient.
  if (selectedPeg_ >= gradient_.GetPegCount()) selectedPeg_ = PEG_NONE;
  draggedPeg_ = PEG_NONE;
}

bool CGradientCtrl::IsHorizontal() const {
  RECT client{};
  if (Handle()) GetClientRect(Handle(), &client);
  return ::IsHorizontal(orientation_, client.right, client.bottom);
}

void CGradientCtrl::SetSelectedPeg(int32_t index) {
  selectedPeg_ = index;
  Redraw();
}

void CGradientCtrl::SetCustomText(const std::wstring& text) { customText_ = text.substr(0, kCustomTextUnits); }

void CGradientCtrl::SetBackgroundColour(COLORREF colour) {
  background_.colour = colour;
  background_.automatic = false;
  Redraw();
}

void CGradientCtrl::ReadSystemColours() {
  for (SystemColour* c : {&background_, &outline_, &selection_})
    if (c->automatic) c->colour = GetSysColor(c->index);
}

bool CGradientCtrl::EditingEnabled() const {
  return Handle() != nullptr && HasMarkers(static_cast<uint32_t>(GetWindowLongPtrW(Handle(), GWL_STYLE)));
}

const GradientLayout& CGradientCtrl::CurrentLayout() {
  RECT client{};
  if (Handle()) GetClientRect(Handle(), &client);
  std::vector<double> positions;
  positions.reserve(static_cast<size_t>(gradient_.GetPegCount()));
  for (int32_t i = 0; i < gradient_.GetPegCount(); ++i) positions.push_back(gradient_.GetPeg(i).position);
  uint32_t style = Handle() ? static_cast<uint32_t>(GetWindowLongPtrW(Handle(), GWL_STYLE)) : 0;
  LayOutGradient({client.left, client.top, client.right, client.bottom},
                 ::IsHorizontal(orientation_, client.right, client.bottom), style, positions, layout_, dpi_);
  return layout_;
}

void CGradientCtrl::Redraw() {
  if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT CGradientCtrl::SendNotify(UINT code, const CPeg& peg, int32_t index) {
  HWND parent = GetParent(Handle());
  if (parent == nullptr) return 0;
  GradientNotify record{};
  record.hdr.hwndFrom = Handle();
  record.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(Handle()));
  record.hdr.code = code;
  record.peg = peg;
  record.index = index;
  return SendMessageW(parent, WM_NOTIFY, record.hdr.idFrom, reinterpret_cast<LPARAM>(&record));
}

// ---- painting ----

void CGradientCtrl::Paint(HDC target) {
  const GradientLayout& layout = CurrentLayout();
  const int width = layout.client.right - layout.client.left;
  const int height = layout.client.bottom - layout.client.top;
  if (width <= 0 || height <= 0) return;
  ScopedCreatedDc memory(CreateCompatibleDC(target));
  HDC dc = memory.get();
  ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(target, width, height));
  ScopedSelection selected(dc, bitmap.get());

  {
    ScopedGdiObject<HBRUSH> background(CreateSolidBrush(background_.colour));
    RECT all{0, 0, width, height};
    FillRect(dc, &all, background.get());
  }

  for (const GradientMarker& m : layout.markers) DrawMarker(dc, m);
  // The selected peg's markers once more, on top of their neighbours.
  for (const GradientMarker& m : layout.markers)
    if (m.pegIndex == selectedPeg_) DrawMarker(dc, m);
  DrawBar(dc);

  BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
}

void CGradientCtrl::DrawMarker(HDC dc, const GradientMarker& m) {
  const COLORREF fill = gradient_.GetPeg(m.pegIndex).colour;
  const COLORREF edge = m.pegIndex == selectedPeg_ ? selection_.colour : outline_.colour;
  ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(fill));
  ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, edge));
  if (m.square) {
    RECT r{m.hitRect.left, m.hitRect.top, m.hitRect.right, m.hitRect.bottom};
    FillRect(dc, &r, brush.get());
    ScopedGdiObject<HBRUSH> frame(CreateSolidBrush(edge));
    FrameRect(dc, &r, frame.get());
  } else {
    POINT corners[4];
    for (int i = 0; i < 3; ++i) corners[i] = {m.corners[i].x, m.corners[i].y};
    corners[3] = corners[0];
    ScopedSelection selectedBrush(dc, brush.get());
    ScopedSelection selectedPen(dc, GetStockObject(NULL_PEN));
    Polygon(dc, corners, 3);
    selectedPen.Select(pen.get());
    Polyline(dc, corners, 4);
  }
}

void CGradientCtrl::DrawBar(HDC dc) {
  const int32_t n = BarLength(layout_);
  const ScreenRect& bar = layout_.bar;
  const int across = layout_.horizontal ? bar.bottom - bar.top : bar.right - bar.left;
  if (n <= 0 || across <= 0) return;
  // Entry i of the table is pixel i of a one-pixel strip stretched across
  // the bar. A gradient without a valid rule leaves the table black.
  std::vector<uint8_t> table(static_cast<size_t>(n) * 3, 0);
  gradient_.FillColourTable(table.data(), n);
  std::vector<uint32_t> pixels(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i)
    pixels[i] = table[3 * i] | (table[3 * i + 1] << 8) | (static_cast<uint32_t>(table[3 * i + 2]) << 16);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = layout_.horizontal ? n : 1;
  info.bmiHeader.biHeight = layout_.horizontal ? 1 : -n;  // top-down: entry 0 at the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, 0, 0,
                info.bmiHeader.biWidth, layout_.horizontal ? 1 : n, pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

// ---- mouse editing ----

void CGradientCtrl::OnLeftButtonDown(ScreenPoint p) {
  if (EditingEnabled()) SetFocus(Handle());
  GradientHit hit = HitTestGradient(CurrentLayout(), p, selectedPeg_);
  if (hit.kind != GradientHit::Marker) return;
  selectedPeg_ = hit.pegIndex;
  Redraw();
  if (hit.pegIndex >= 0) {
    draggedPeg_ = hit.pegIndex;
    SetCapture(Handle());
  }
}

void CGradientCtrl::OnMouseMove(ScreenPoint p) {
  if (draggedPeg_ < 0 || draggedPeg_ >= gradient_.GetPegCount()) return;
  double position = PositionAlongBar(CurrentLayout(), p);
  int32_t index = gradient_.SetPeg(draggedPeg_, gradient_.GetPeg(draggedPeg_).colour, position);
  if (index < 0) return;
  draggedPeg_ = index;
  selectedPeg_ = index;
  Redraw();
  SendNotify(GCN_PEGMOVED, gradient_.GetPeg(index), index);
}

void CGradientCtrl::EndDrag() {
  if (draggedPeg_ < 0) return;
  selectedPeg_ = draggedPeg_;
  draggedPeg_ = PEG_NONE;
  Redraw();
}

void CGradientCtrl::OnLeftButtonUp(ScreenPoint p) {
  if (draggedPeg_ >= 0) {
    const int32_t index = draggedPeg_;
    selectedPeg_ = index;
    ReleaseCapture();  // WM_CAPTURECHANGED ends the drag
    draggedPeg_ = PEG_NONE;
    RECT client;
    GetClientRect(Handle(), &client);
    if (index >= gradient_.GetPegCount()) return;
    const CPeg peg = gradient_.GetPeg(index);
    if (PtInRect(&client, POINT{p.x, p.y})) {
      SendNotify(GCN_PEGDROPPED, peg, index);
    } else if (SendNotify(GCN_DELETEPEG, peg, index) == 0) {
      // The owner may have changed the gradient while deciding.
      int32_t current = gradient_.IndexFromId(peg.id);
      if (current >= 0) gradient_.RemovePeg(current);
      // The selection must not name another peg (or none at all) now.
      selectedPeg_ = PEG_NONE;
      Redraw();
      if (current >= 0) SendNotify(GCN_PEGDELETED, peg, current);
    }
    return;
  }
  GradientHit hit = HitTestGradient(CurrentLayout(), p, selectedPeg_);
  if (hit.kind == GradientHit::Marker) {
    selectedPeg_ = hit.pegIndex;
    Redraw();
  }
}

void CGradientCtrl::OnDoubleClick(ScreenPoint p) {
  GradientHit hit = HitTestGradient(CurrentLayout(), p, selectedPeg_);
  if (hit.kind != GradientHit::Bar) return;
  CPeg peg;
  peg.position = hit.position;
  peg.colour = gradient_.ColourAt(hit.position);
  peg.id = -1;
  LRESULT veto = SendNotify(GCN_CREATEPEG, peg, PEG_NONE);
  if (!EditingEnabled() || veto != 0) return;
  int32_t index = gradient_.AddPeg(peg.colour, peg.position);
  if (index < 0) return;
  selectedPeg_ = index;
  Redraw();
  SendNotify(GCN_PEGCREATED, gradient_.GetPeg(index), index);
}

void CGradientCtrl::OnRightButtonUp(ScreenPoint p) {
  GradientHit hit = HitTestGradient(CurrentLayout(), p, selectedPeg_);
  if (hit.kind != GradientHit::Marker || hit.marker == nullptr) return;
  POINT corner{hit.marker->hitRect.right, hit.marker->hitRect.bottom};
  ClientToScreen(Handle(), &corner);
  Recolour(hit.pegIndex, corner);
}

// ---- the recolour popup ----

void CGradientCtrl::Recolour(int32_t pegIndex, POINT screenCorner) {
  const CPeg peg = gradient_.GetPeg(pegIndex);
  CColorPicker picker;
  if (!picker.CreatePopup(Handle(), font_)) return;
  picker.SetDpi(dpi_);
  picker.SetTexts(L"", customText_);
  picker.FillPalette();
  picker.SelectColour(peg.colour);
  RECT control;
  GetWindowRect(Handle(), &control);
  openPicker_ = &picker;
  int32_t item = picker.RunPicker(screenCorner, control.top, Handle());
  openPicker_ = nullptr;

  COLORREF chosen = 0;
  bool haveColour = false;
  const auto& items = picker.Items();
  if (item >= 0 && item < static_cast<int32_t>(items.size())) {
    chosen = items[item].colour;
    haveColour = true;
  } else if (item == PICKER_DEFAULT) {
    SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle()), CLRN_DEFAULT),
                 reinterpret_cast<LPARAM>(Handle()));
  } else if (item == PICKER_CUSTOM) {
    CColorDialog dialog(peg.colour);
    if (dialog.DoModal(Handle()) == IDOK) {
      chosen = dialog.GetColour();
      haveColour = true;
    }
  }
  if (!haveColour || !IsWindow(Handle())) return;

  // Find the peg again: the gradient may have changed while the popup was open.
  int32_t index = pegIndex >= 0 ? gradient_.IndexFromId(peg.id) : pegIndex;
  if (pegIndex >= 0 && index < 0) return;
  CPeg edited = peg;
  edited.colour = chosen;
  if (SendNotify(GCN_EDITPEG, edited, index) != 0) return;
  int32_t newIndex = gradient_.SetPeg(index, chosen, peg.position);
  // The start and end pegs keep their special index selected.
  selectedPeg_ = index >= 0 ? newIndex : index;
  Redraw();
  SendNotify(GCN_PEGEDITED, gradient_.GetPeg(selectedPeg_), selectedPeg_);
}

// ---- the message map ----

bool CGradientCtrl::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      Paint(dc);
      EndPaint(window, &ps);
      return true;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_SIZE:
      Redraw();
      return true;
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(PointFrom(lParam));
      return true;
    case WM_MOUSEMOVE:
      OnMouseMove(PointFrom(lParam));
      return true;
    case WM_LBUTTONUP:
      OnLeftButtonUp(PointFrom(lParam));
      return true;
    case WM_LBUTTONDBLCLK:
      OnDoubleClick(PointFrom(lParam));
      return true;
    case WM_RBUTTONDOWN:
      if (EditingEnabled()) SetFocus(window);
      return true;
    case WM_RBUTTONUP:
      OnRightButtonUp(PointFrom(lParam));
      return true;
    case WM_KILLFOCUS:
      if (draggedPeg_ >= 0) {
        EndDrag();
        if (GetCapture() == window) ReleaseCapture();
      }
      return false;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window) EndDrag();
      return true;
    case WM_DPICHANGED_AFTERPARENT:
      SetDpi(WindowDpi(window));
      return true;
    case WM_SYSCOLORCHANGE:
      ReadSystemColours();
      Redraw();
      return true;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) Redraw();
      return true;
    case WM_GETFONT:
      result = reinterpret_cast<LRESULT>(font_);
      return true;
    case WM_STYLECHANGED:
      if (wParam == static_cast<WPARAM>(GWL_STYLE)) ApplyOrientationFromStyle();
      return false;
    default:
      return false;
  }
}
