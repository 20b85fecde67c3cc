// Shared ground of the configuration pages: each page is a property page on
// the template of its own id in the user's language, keeps private copies of
// the settings it shows (its exchange members, read from one snapshot of the
// Life task's settings) and writes changes into the running task through its
// setters, which take its lock. The base decodes the messages every page
// answers alike; a page overrides only the hooks it needs. Also the control
// fillers that several pages share.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "config/ui/property_sheet_win32.h"

class VivarnTaskBse;

// One item of a fixed drop-down list: its text's string id and its data.
struct ComboItem {
  UINT stringId;
  LPARAM data;
};

class CConfigPage : public CPropertyPageImpl {
 public:
  explicit CConfigPage(UINT templateId);

  // OnPageMessage first; then WM_INITDIALOG goes to OnInitPage (the dialog
  // then gives the default focus), WM_COMMAND to OnCommand and WM_NOTIFY to
  // the sheet's page notifications (HandlePageNotify).
  bool ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) final;

  // Idle-time updates (enabling that follows a checkbox); the sheet calls it.
  virtual void OnIdle() {}

  // Why the rulestring box last refused its text, in the user's language
  // (also shown beside the box); empty once a rule was read.
  const std::wstring& RuleEditError() const { return ruleEditError; }

 protected:
  // The page window and its controls exist: fill and load them.
  virtual void OnInitPage() {}
  // WM_COMMAND from control `id` with notification `code`; true when handled.
  virtual bool OnCommand(int /*id*/, int /*code*/) { return false; }
  // Sees every message before the decoding above, for the ones no hook
  // names (a trackbar's WM_HSCROLL, an owner-drawn button's messages); true
  // when handled, with the answer in `result`.
  virtual bool OnPageMessage(UINT /*message*/, WPARAM, LPARAM, LRESULT& /*result*/) { return false; }
  // On PSN_SETACTIVE, so a page shows what the others changed while it was
  // hidden.
  virtual void RefreshPage() {}
  // A WM_HSCROLL from the page's trackbar (IDC_TRACKBAR): true with its
  // position for every way the user moves it (keys, clicks on the channel,
  // the wheel, a drag); the end of tracking counts only with `withEnd`.
  bool TrackbarMoved(WPARAM wParam, LPARAM lParam, bool withEnd, int32_t& position) const;

 protected:
  static VivarnTaskBse& Task();

  bool IsChecked(int id) const;
  void SetChecked(int id, bool on);
  void Enable(int id, bool on);
  HWND Item(int id) const { return GetDlgItem(Handle(), id); }

  // "Born Conditions" / "Survive Conditions": nine checkboxes each. Loading
  // also names the rule (with its state count) in the list above them and
  // writes it into the rulestring box.
  void LoadRuleBoxes(const uint8_t born[9], const uint8_t survive[9], int32_t states);
  void SaveRuleBoxes(uint8_t born[9], uint8_t survive[9]) const;
  // Applies one rule checkbox (id in 1005..1022) to the task and names the
  // rule it makes; false for other ids.
  bool ApplyRuleBox(int id);
  // A name chosen in the rule list: its rule goes to the boxes and, whole,
  // to the task. "Custom" changes nothing and the list goes back to naming
  // the boxes' rule.
  void ChooseNamedRule();
  // A command of the rulestring box (IDC_RULE_NOTATION): Enter and the loss
  // of the focus read it, and then it returns true. A rule goes to the boxes,
  // the list and, whole, to the task; a text that is no rule changes nothing
  // and says why beside the box. Its other notifications (the text the page
  // itself writes) change nothing.
  bool OnRuleEditCommand(int code);
  // The state count of the rule the page shows (2 Life-like).
  int32_t ShownRuleStates() const { return shownStates; }
  // Applies one of the drawing controls shared by the General and Video
  // pages (the two draw-mode radios, the cell-size combo, "Show Statistic")
  // with the page's saved values; false for other ids.
  bool ApplyDrawingControl(int id, int32_t fieldDrawMode, int32_t cellSize, bool showStat);

  // Empties combo `id` and adds `items` in their order, each text in the
  // user's language.
  template <size_t N>
  void FillCombo(int id, const ComboItem (&items)[N]) {
    FillCombo(id, items, N);
  }
  void FillCombo(int id, const ComboItem* items, size_t count);
  // Fill-mode and cell-size combos with their item data, and selection by
  // data. Cell sizes 3 and 2 are offered where the preview draws with
  // shaders (the mesh's arrays would be hundreds of megabytes).
  void FillFillModeCombo(int id);
  void FillCellSizeCombo(int id);
  // What only the shader path can do follows the path the preview's first
  // frame took: until it is known a timer asks again; then the cell-size
  // list is filled anew when its offer changes, and this is called.
  virtual void DrawPathKnown(bool /*shaders*/) {}
  // "Pattern...": the pattern dialog over the page; true after its OK. The
  // task then runs the choice; the page shows it by loading again.
  bool ChoosePattern();
  // Whether the settings name a pattern for fill mode 4.
  static bool PatternChosen();
  void SelectByData(int id, LPARAM data);
  // Item data of the selection, or `fallback` when nothing is selected.
  LPARAM SelectedData(int id, LPARAM fallback) const;

 private:
  // The list selects the name of the shown rule, or "Custom", and the
  // rulestring box under it follows; the list is filled (and the box made
  // to keep Enter) on first use.
  void ShowRuleName();
  // Reads the rulestring box and applies the rule it holds.
  void ApplyRuleEdit();
  // Enter in the rulestring box stays with the box: the sheet would take it
  // for its OK button.
  void HookRuleEdit();

  // Asks the task for the draw path; stops asking once it is known.
  void FollowDrawPath();

  int32_t shownStates = 2;
  std::wstring ruleEditError;
  bool fineCellSizes = false;  // the cell-size list offers 3 and 2
  bool watchingDrawPath = false;
  // The sheet's page notifications: PSN_SETACTIVE calls RefreshPage. Leaving
  // a page and PSN_APPLY write nothing: each control applies its own setting
  // when the user acts on it, and writing back what a page last showed would
  // undo a later choice made on another page. False for other notifications.
  bool HandlePageNotify(LPARAM lParam, LRESULT& result);
};

// String `id` in the user's language with one number formatted into it.
std::wstring FormatResourceString(UINT id, double value);
std::wstring FormatResourceString(UINT id, int value);
