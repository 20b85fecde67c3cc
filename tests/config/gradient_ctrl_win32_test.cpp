// The gradient control under wine: created in a host window (and from a
// dialog template), driven with real mouse messages, read back through its
// state, its notifications and its painted pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/controls/gradient_ctrl_win32.h"
#include "config/controls/window_dpi_win32.h"
#include "config/logic/dialog_template_builder.h"
#include "config/pages/palette_list_win32.h"
#include "config/ui/dialog_impl_win32.h"
#include "tests/config/picker_click_win32.h"
#include "tests/config/test_host_win32.h"

namespace {
constexpr UINT kGradientId = 1043;
constexpr DWORD kEditing = GCS_ENDPEGS | GCS_PEGS_AFTER;

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(y))); }

// A client-area snapshot of a window through WM_PRINTCLIENT.
struct Snapshot {
  Snapshot(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    old = SelectObject(dc, bitmap);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  }
  ~Snapshot() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
  int width = 0, height = 0;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
};

COLORREF TableEntry(const std::vector<uint8_t>& table, int i) {
  return RGB(table[3 * i + 2], table[3 * i + 1], table[3 * i]);
}

struct GradientFixture : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(host.Open(50, 50, 600, 500));
    host.onNotify = [this](const NMHDR* header) -> LRESULT {
      if (header->idFrom != kGradientId) return 0;
      notes.push_back(*reinterpret_cast<const GradientNotify*>(header));
      pegCounts.push_back(control.GetGradient().GetPegCount());
      return header->code < answers.size() ? answers[header->code] : 0;
    };
  }
  HWND Make(DWORD style, int width, int height) {
    RECT r{10, 10, 10 + width, 10 + height};
    return control.Create(host.Handle(), r, style | WS_VISIBLE, kGradientId);
  }
  std::vector<GradientNotify> NotesWith(UINT code) const {
    std::vector<GradientNotify> out;
    for (const auto& n : notes)
      if (n.hdr.code == code) out.push_back(n);
    return out;
  }
  // The anchor of inner peg `index`'s marker on the after side.
  POINT MarkerPoint(int32_t index) {
    for (const GradientMarker& m : control.CurrentLayout().markers)
      if (m.pegIndex == index && !m.square) return {m.anchor.x, m.anchor.y + 3};
    ADD_FAILURE() << "no marker for peg " << index;
    return {0, 0};
  }

  TestHost host;
  CGradientCtrl control;
  std::vector<GradientNotify> notes;
  // The gradient's peg count when each note arrived.
  std::vector<int32_t> pegCounts;
  std::vector<LRESULT> answers = std::vector<LRESULT>(9, 0);
  // The peg count at the only note with `code`, -1 unless there is exactly one.
  int32_t PegCountAtOnly(UINT code) const {
    int32_t found = -1, n = 0;
    for (size_t i = 0; i < notes.size(); ++i)
      if (notes[i].hdr.code == code) found = pegCounts[i], ++n;
    return n == 1 ? found : -1;
  }
};

TEST_F(GradientFixture, AutomaticOrientationFollowsTheShape) {
  ASSERT_NE(Make(0, 300, 40), nullptr);
  EXPECT_EQ(control.GetOrientation(), kGradientAutomatic);
  EXPECT_TRUE(control.IsHorizontal());
  EXPECT_EQ(control.GetSelectedPeg(), PEG_NONE);
  EXPECT_EQ(control.GetDraggedPeg(), PEG_NONE);
  EXPECT_EQ(control.GetCustomText(), L"Custom");
}

TEST_F(GradientFixture, TallControlIsVerticalWithPositionZeroAtTheTop) {
  ASSERT_NE(Make(0, 40, 300), nullptr);
  EXPECT_FALSE(control.IsHorizontal());
  CGradient g;
  g.SetMethod(Linear);
  g.SetPeg(PEG_START, RGB(255, 0, 0), 0.0);
  g.SetPeg(PEG_END, RGB(0, 0, 255), 1.0);
  control.SetGradient(g);
  Snapshot shot(control.Handle());
  std::vector<uint8_t> table(300 * 3);
  control.GetGradient().FillColourTable(table.data(), 300);
  EXPECT_EQ(shot.At(20, 0), RGB(255, 0, 0));
  for (int y : {0, 1, 150, 299}) EXPECT_EQ(shot.At(5, y), TableEntry(table, y)) << y;
  // The same across the bar's width.
  EXPECT_EQ(shot.At(0, 200), shot.At(39, 200));
}

TEST_F(GradientFixture, StyleChangeReappliesTheOrientation) {
  ASSERT_NE(Make(0, 300, 40), nullptr);
  SetWindowLongPtrW(control.Handle(), GWL_STYLE, GetWindowLongPtrW(control.Handle(), GWL_STYLE) | GCS_VERTICAL);
  EXPECT_EQ(control.GetOrientation(), kGradientVertical);
  EXPECT_FALSE(control.IsHorizontal());
}

TEST_F(GradientFixture, PaintedBarMatchesTheColourTable) {
  ASSERT_NE(Make(GCS_HORIZONTAL | kEditing, 300, 80), nullptr);
  CGradient g;
  g.AddPeg(RGB(0, 200, 40), 0.3);
  g.AddPeg(RGB(250, 10, 90), 0.7);
  g.SetMethod(HueShortest);
  control.SetGradient(g);
  const GradientLayout& layout = control.CurrentLayout();
  const int n = BarLength(layout);
  ASSERT_EQ(n, 300);
  ASSERT_EQ(layout.bar.bottom, 80 - 28);
  std::vector<uint8_t> table(n * 3);
  control.GetGradient().FillColourTable(table.data(), n);
  Snapshot shot(control.Handle());
  int mismatches = 0;
  for (int x = 0; x < n; ++x)
    for (int y : {layout.bar.top, layout.bar.bottom - 1}) mismatches += shot.At(x, y) != TableEntry(table, x);
  EXPECT_EQ(mismatches, 0);
  // Markers below the bar: peg 0's apex pixel carries its colour, the
  // background around it is the button face.
  EXPECT_EQ(shot.At(90, 80 - 22 + 5), RGB(0, 200, 40));
  EXPECT_EQ(shot.At(60, 70), GetSysColor(COLOR_BTNFACE));
}

TEST_F(GradientFixture, WithoutMarkerStylesOnlyTheBarIsDrawnAndDoubleClickCreatesNothing) {
  ASSERT_NE(Make(GCS_ENDPEGS, 300, 60), nullptr);
  CGradient g;
  g.AddPeg(RGB(255, 255, 0), 0.5);
  control.SetGradient(g);
  const GradientLayout& layout = control.CurrentLayout();
  EXPECT_EQ(layout.bar.top, 0);
  EXPECT_EQ(layout.bar.bottom, 60);
  EXPECT_TRUE(layout.markers.empty());
  std::vector<uint8_t> table(300 * 3);
  control.GetGradient().FillColourTable(table.data(), 300);
  Snapshot shot(control.Handle());
  int mismatches = 0;
  for (int x = 0; x < 300; x += 7)
    for (int y : {0, 30, 59}) mismatches += shot.At(x, y) != TableEntry(table, x);
  EXPECT_EQ(mismatches, 0);

  SendMessageW(control.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(75, 30));
  auto created = NotesWith(GCN_CREATEPEG);
  ASSERT_EQ(created.size(), 1u);
  EXPECT_EQ(created[0].index, -1);
  EXPECT_DOUBLE_EQ(created[0].peg.position, 0.25);
  EXPECT_EQ(created[0].peg.colour, control.GetGradient().ColourAt(0.25));
  EXPECT_EQ(created[0].hdr.hwndFrom, control.Handle());
  EXPECT_EQ(control.GetGradient().GetPegCount(), 1);
}

TEST_F(GradientFixture, DoubleClickOnTheBarCreatesAPegUnlessVetoed) {
  ASSERT_NE(Make(kEditing, 300, 80), nullptr);
  SendMessageW(control.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(150, 20));
  ASSERT_EQ(control.GetGradient().GetPegCount(), 1);
  EXPECT_DOUBLE_EQ(control.GetGradient().GetPeg(0).position, 0.5);
  EXPECT_EQ(control.GetSelectedPeg(), 0);
  // Asked before the peg exists, told once it does.
  EXPECT_EQ(PegCountAtOnly(GCN_CREATEPEG), 0);
  ASSERT_EQ(PegCountAtOnly(GCN_PEGCREATED), 1);
  EXPECT_EQ(NotesWith(GCN_PEGCREATED)[0].index, 0);
  answers[GCN_CREATEPEG] = 1;
  SendMessageW(control.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(30, 20));
  EXPECT_EQ(control.GetGradient().GetPegCount(), 1);
  EXPECT_EQ(NotesWith(GCN_CREATEPEG).size(), 2u);
  EXPECT_EQ(NotesWith(GCN_PEGCREATED).size(), 1u);
  // A double-click on a marker is not on the bar.
  POINT marker = MarkerPoint(0);
  SendMessageW(control.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(marker.x, marker.y));
  EXPECT_EQ(NotesWith(GCN_CREATEPEG).size(), 2u);
}

TEST_F(GradientFixture, FourCrowdedPegsGetStaggeredMarkers) {
  ASSERT_NE(Make(kEditing, 300, 80), nullptr);
  CGradient g;
  for (double p : {0.40, 0.41, 0.42, 0.43}) g.AddPeg(RGB(10, 20, 30), p);
  control.SetGradient(g);
  std::vector<int32_t> offsets;
  for (const GradientMarker& m : control.CurrentLayout().markers)
    if (!m.square) offsets.push_back(m.offset);
  EXPECT_EQ(offsets, (std::vector<int32_t>{18, 12, 6, 0}));
  // Twice the DPI, twice every measure; the window's own DPI comes back with
  // the notice children get after their parent moved to another screen.
  control.SetDpi(192);
  offsets.clear();
  for (const GradientMarker& m : control.CurrentLayout().markers)
    if (!m.square) offsets.push_back(m.offset);
  EXPECT_EQ(offsets, (std::vector<int32_t>{36, 24, 12, 0}));
  EXPECT_EQ(control.CurrentLayout().bar.bottom, 80 - 56);
  HDC screen = GetDC(nullptr);
  const int screenDpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  SendMessageW(control.Handle(), WM_DPICHANGED_AFTERPARENT, 0, 0);
  EXPECT_EQ(control.GetDpi(), screenDpi);
}

TEST_F(GradientFixture, DraggingAPegPastItsNeighbourChangesItsIndexAndTheSelectionFollows) {
  ASSERT_NE(Make(kEditing, 300, 80), nullptr);
  CGradient g;
  g.AddPeg(RGB(255, 0, 0), 0.3);
  g.AddPeg(RGB(0, 255, 0), 0.6);
  control.SetGradient(g);
  POINT start = MarkerPoint(0);
  SendMessageW(control.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(start.x, start.y));
  EXPECT_EQ(control.GetSelectedPeg(), 0);
  EXPECT_EQ(control.GetDraggedPeg(), 0);
  EXPECT_EQ(GetCapture(), control.Handle());
  SendMessageW(control.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(240, start.y));
  EXPECT_EQ(control.GetSelectedPeg(), 1);
  EXPECT_EQ(control.GetDraggedPeg(), 1);
  EXPECT_EQ(control.GetGradient().GetPeg(1).colour, RGB(255, 0, 0));
  EXPECT_DOUBLE_EQ(control.GetGradient().GetPeg(1).position, 0.8);
  auto moved = NotesWith(GCN_PEGMOVED);
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(moved[0].index, 1);
  EXPECT_EQ(moved[0].peg.colour, RGB(255, 0, 0));

  SendMessageW(control.Handle(), WM_LBUTTONUP, 0, At(240, start.y));
  EXPECT_EQ(control.GetDraggedPeg(), PEG_NONE);
  EXPECT_EQ(control.GetSelectedPeg(), 1);
  EXPECT_NE(GetCapture(), control.Handle());
  auto dropped = NotesWith(GCN_PEGDROPPED);
  ASSERT_EQ(dropped.size(), 1u);
  EXPECT_EQ(dropped[0].index, 1);
  EXPECT_EQ(control.GetGradient().GetPegCount(), 2);
}

TEST_F(GradientFixture, DraggingBeyondTheEndsClampsThePosition) {
  ASSERT_NE(Make(kEditing, 300, 80), nullptr);
  CGradient g;
  g.AddPeg(RGB(255, 0, 0), 0.5);
  control.SetGradient(g);
  POINT start = MarkerPoint(0);
  SendMessageW(control.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(start.x, start.y));
  SendMessageW(control.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(-40, start.y));
  EXPECT_DOUBLE_EQ(control.GetGradient().GetPeg(0).position, 0.0);
  SendMessageW(control.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(900, start.y));
  EXPECT_DOUBLE_EQ(control.GetGradient().GetPeg(0).position, 1.0);
  SendMessageW(control.Handle(), WM_LBUTTONUP, 0, At(299, start.y));
}

TEST_F(GradientFixture, ReleasingOutsideDeletesThePegUnlessTheOwnerObjects) {
  ASSERT_NE(Make(kEditing, 300, 80), nullptr);
  CGradient g;
  g.AddPeg(RGB(255, 0, 0), 0.3);
  g.AddPeg(RGB(0, 255, 0), 0.6);
  control.SetGradient(g);

  answers[GCN_DELETEPEG] = 1;
  POINT p = MarkerPoint(1);
  SendMessageW(control.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(p.x, p.y));
  SendMessageW(control.Handle(), WM_LBUTTONUP, 0, At(p.x, 200));
  ASSERT_EQ(NotesWith(GCN_DELETEPEG).size(), 1u);
  EXPECT_EQ(NotesWith(GCN_DELETEPEG)[0].index, 1);
  EXPECT_EQ(control.GetGradient().GetPegCount(), 2);
  EXPECT_EQ(control.GetSelectedPeg(), 1);
  EXPECT_TRUE(NotesWith(GCN_PEGDROPPED).empty());
  EXPECT_TRUE(NotesWith(GCN_PEGDELETED).empty());

  answers[GCN_DELETEPEG] = 0;
  p = MarkerPoint(0);
  SendMessageW(control.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(p.x, p.y));
  SendMessageW(control.Handle(), WM_LBUTTONUP, 0, At(-30, p.y));
  EXPECT_EQ(NotesWith(GCN_DELETEPEG).size(), 2u);
  ASSERT_EQ(control.GetGradient().GetPegCount(), 1);
  EXPECT_EQ(control.GetGradient().GetPeg(0).colour, RGB(0, 255, 0));
  EXPECT_EQ(control.GetSelectedPeg(), PEG_NONE);
  // Told once the peg is gone, with the peg and the index it had.
  ASSERT_EQ(PegCountAtOnly(GCN_PEGDELETED), 1);
  EXPECT_EQ(NotesWith(GCN_PEGDELETED)[0].index, 0);
  EXPECT_EQ(NotesWith(GCN_PEGDELETED)[0].peg.colour, RGB(255, 0, 0));
}

TEST_F(GradientFixture, EndSquaresSelectButDoNotDrag) {
  ASSERT_NE(Make(kEditing, 300, 80), nullptr);
  const GradientMarker* square = nullptr;
  for (const GradientMarker& m : control.CurrentLayout().markers)
    if (m.pegIndex == PEG_END) square = &m;
  ASSERT_NE(square, nullptr);
  SendMessageW(control.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(square->anchor.x, square->anchor.y));
  EXPECT_EQ(control.GetSelectedPeg(), PEG_END);
  EXPECT_EQ(control.GetDraggedPeg(), PEG_NONE);
  SendMessageW(control.Handle(), WM_LBUTTONUP, 0, At(10, 200));
  EXPECT_TRUE(NotesWith(GCN_DELETEPEG).empty());
}

TEST_F(GradientFixture, LosingTheCaptureEndsTheDragAndKeepsTheSelection) {
  ASSERT_NE(Make(kEditing, 300, 80), nullptr);
  CGradient g;
  g.AddPeg(RGB(255, 0, 0), 0.3);
  g.AddPeg(RGB(0, 255, 0), 0.6);
  control.SetGradient(g);
  POINT p = MarkerPoint(0);
  SendMessageW(control.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(p.x, p.y));
  SendMessageW(control.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(240, p.y));
  SetCapture(host.Handle());  // someone else takes the mouse
  EXPECT_EQ(control.GetDraggedPeg(), PEG_NONE);
  EXPECT_EQ(control.GetSelectedPeg(), 1);
  SendMessageW(control.Handle(), WM_MOUSEMOVE, MK_LBUTTON, At(10, p.y));
  EXPECT_DOUBLE_EQ(control.GetGradient().GetPeg(1).position, 0.8);
  ReleaseCapture();
}

TEST_F(GradientFixture, RightClickRecoloursAPegThroughThePicker) {
  ASSERT_NE(Make(kEditing, 300, 80), nullptr);
  CGradient g;
  g.AddPeg(RGB(255, 0, 0), 0.3);
  control.SetGradient(g);
  control.SetCustomText(L"Custom...");
  POINT p = MarkerPoint(0);
  RECT pickerRect{};
  bool customShown = false;
  ModalScript script({[&] {
                       CPickerWnd* picker = control.OpenPicker();
                       if (picker == nullptr || !IsWindowVisible(picker->Handle())) return false;
                       GetWindowRect(picker->Handle(), &pickerRect);
                       customShown = !IsRectEmpty(&static_cast<const RECT&>(picker->ItemRect(PICKER_CUSTOM)));
                       ClickPickerItem(*picker, 11);  // 0x008000
                       return true;
                     }},
                     [&] {
                       if (control.OpenPicker()) PostMessageW(control.OpenPicker()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
                     });
  SendMessageW(control.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(p.x, p.y));
  SendMessageW(control.Handle(), WM_RBUTTONUP, 0, At(p.x, p.y));
  EXPECT_FALSE(script.TimedOut());
  EXPECT_TRUE(customShown);
  EXPECT_EQ(control.GetGradient().GetPeg(0).colour, 0x008000u);
  auto edit = NotesWith(GCN_EDITPEG);
  ASSERT_EQ(edit.size(), 1u);
  EXPECT_EQ(edit[0].peg.colour, 0x008000u);
  EXPECT_EQ(edit[0].index, 0);
  ASSERT_EQ(NotesWith(GCN_PEGEDITED).size(), 1u);
  EXPECT_EQ(control.GetSelectedPeg(), 0);
  // The popup's top-left corner is the marker's bottom-right corner.
  const GradientMarker* marker = nullptr;
  for (const GradientMarker& m : control.CurrentLayout().markers)
    if (m.pegIndex == 0) marker = &m;
  ASSERT_NE(marker, nullptr);
  POINT corner{marker->hitRect.right, marker->hitRect.bottom};
  ClientToScreen(control.Handle(), &corner);
  EXPECT_EQ(pickerRect.left, corner.x);
  EXPECT_EQ(pickerRect.top, corner.y);
}

TEST_F(GradientFixture, VetoedRecolourChangesNothing) {
  ASSERT_NE(Make(kEditing, 300, 80), nullptr);
  CGradient g;
  g.AddPeg(RGB(255, 0, 0), 0.3);
  control.SetGradient(g);
  answers[GCN_EDITPEG] = 1;
  POINT p = MarkerPoint(0);
  ModalScript script({[&] {
                       CPickerWnd* picker = control.OpenPicker();
                       if (picker == nullptr || !IsWindowVisible(picker->Handle())) return false;
                       RECT cell = picker->ItemRect(11);
                       LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
                       PostMessageW(picker->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
                       PostMessageW(picker->Handle(), WM_LBUTTONUP, 0, at);
                       return true;
                     }},
                     [&] {
                       if (control.OpenPicker()) PostMessageW(control.OpenPicker()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
                     });
  SendMessageW(control.Handle(), WM_RBUTTONUP, 0, At(p.x, p.y));
  EXPECT_FALSE(script.TimedOut());
  EXPECT_EQ(NotesWith(GCN_EDITPEG).size(), 1u);
  EXPECT_TRUE(NotesWith(GCN_PEGEDITED).empty());
  EXPECT_EQ(control.GetGradient().GetPeg(0).colour, RGB(255, 0, 0));
}

TEST_F(GradientFixture, FixedBackgroundSurvivesASystemColourChange) {
  ASSERT_NE(Make(kEditing, 300, 80), nullptr);
  EXPECT_EQ(control.GetOutlineColour(), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(control.GetSelectionColour(), GetSysColor(COLOR_BTNTEXT));
  control.SetBackgroundColour(RGB(1, 2, 3));
  SendMessageW(control.Handle(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(control.GetBackgroundColour(), RGB(1, 2, 3));
  Snapshot shot(control.Handle());
  EXPECT_EQ(shot.At(150, 79), RGB(1, 2, 3));
}

TEST_F(GradientFixture, PaletteBindingShowsItsGradientThroughTheViewInterface) {
  ASSERT_NE(Make(kEditing, 300, 80), nullptr);
  control.SetSelectedPeg(0);
  CGradient g;
  g.AddPeg(RGB(9, 8, 7), 0.5);
  ValidateRect(control.Handle(), nullptr);
  SetControlGradient(&control, g);
  IGradientView& view = control;
  ASSERT_EQ(view.GetGradient().GetPegCount(), 1);
  EXPECT_EQ(view.GetGradient().GetPeg(0).colour, RGB(9, 8, 7));
  // A repaint is pending for the new gradient.
  RECT dirty{};
  EXPECT_TRUE(GetUpdateRect(control.Handle(), &dirty, FALSE));
  // An empty gradient drops a selection that no longer names a peg.
  SetControlGradient(&control, CGradient());
  EXPECT_EQ(control.GetSelectedPeg(), PEG_NONE);
}

TEST_F(GradientFixture, FontMessagesRoundTrip) {
  ASSERT_NE(Make(0, 300, 40), nullptr);
  HFONT font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  SendMessageW(control.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control.Handle(), WM_GETFONT, 0, 0)), font);
}

namespace {
class GradientDialog : public CDialogImpl {
 public:
  using CDialogImpl::CDialogImpl;
  bool ProcessWindowMessage(HWND window, UINT message, WPARAM, LPARAM lParam, LRESULT& result) override {
    if (message == WM_INITDIALOG) {
      attached = gradient.Attach(GetDlgItem(window, kGradientId));
      return false;
    }
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == GCN_CREATEPEG) {
      result = 1;  // as the General page does: no peg, open the palette set-up instead
      vetoes++;
      return true;
    }
    return false;
  }
  CGradientCtrl gradient;
  bool attached = false;
  int vetoes = 0;
};
}  // namespace

TEST(GradientInDialog, TemplateControlIsAttachedAndItsOwnerCanVeto) {
  ASSERT_TRUE(CGradientCtrl::RegisterControlClass());
  DialogTemplateBuilder t(DS_SETFONT | WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, {0, 0, 267, 125}, u"Palette setup", {});
  const std::wstring className = CGradientCtrl::kClassName;
  t.AddItem(std::u16string(className.begin(), className.end()), kGradientId,
            WS_CHILD | WS_VISIBLE | GCS_ENDPEGS | GCS_PEGS_AFTER, 0, {7, 7, 253, 73}, u"");
  GradientDialog dialog(reinterpret_cast<const DLGTEMPLATE*>(t.Bytes()));
  HWND w = dialog.Create(nullptr);
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(dialog.attached);
  EXPECT_TRUE(dialog.gradient.IsHorizontal());
  const GradientLayout& layout = dialog.gradient.CurrentLayout();
  SendMessageW(dialog.gradient.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(layout.bar.left + 5, layout.bar.top + 5));
  EXPECT_EQ(dialog.vetoes, 1);
  EXPECT_EQ(dialog.gradient.GetGradient().GetPegCount(), 0);
  dialog.EndDialog(0);
}
}  // namespace
