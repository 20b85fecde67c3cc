// CDlgPattern: the modal "Pattern" dialog (template 110) the Field and General
// pages open. It offers the gallery of famous patterns, a pattern file and a
// pattern pasted from the clipboard; a choice runs at once in the sheet's
// preview (fill mode 4, the pattern's rule when it names one the parser
// reads, and a reseed). OK keeps the choice in the task, from where the
// sheet's OK stores it and its Cancel drops it like every other change;
// Cancel here puts the task back as the dialog found it.
//
// A pasted pattern has no file of its own: OK writes its text, as pasted,
// into "Vivarn Screen Saver 2\Patterns" in the user's application-data
// folder under a name made from the text (PastedPatternFileName), and that
// path becomes PatternFile.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "config/ui/dialog_impl_win32.h"
#include "life/pattern/pattern.h"
#include "life/rulestring.h"

class CDlgPattern : public CDialogImpl {
 public:
  CDlgPattern();

  // Runs over `parent`; 1 (IDOK) after OK, 2 (IDCANCEL) after Cancel.
  using CDialogImpl::DoModal;

  bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override;

  // "Open file...": the system's file dialog; false when the user cancels.
  std::function<bool(HWND owner, std::wstring& path)> askFile;
  // Where OK writes a pasted pattern; empty for the application-data folder.
  std::wstring pastedFolder;

  // The three ways to choose, as the controls use them. Each reads and shows
  // the pattern and runs it in the preview; a text that is no pattern
  // changes nothing and the dialog says why and where. False then.
  bool ChooseGalleryEntry(size_t index);
  bool ChooseFile(const std::wstring& path);
  bool ChooseText(std::string text);
  // The clipboard's text, for ChooseText.
  bool Paste();

  // What the dialog shows now (tests read them).
  std::wstring ErrorText() const;
  const Pattern* Shown() const { return pattern.get(); }
  // The file a pasted pattern was written to on OK; empty otherwise.
  const std::wstring& PastedFile() const { return pastedFile; }

 private:
  struct Choice {
    std::string galleryName;  // UTF-8, as the settings keep them
    std::string filePath;
    std::shared_ptr<const Pattern> pattern;
  };
  // The task's state when the dialog opened, for Cancel.
  struct Found {
    Choice choice;
    int32_t resetMode = 0;
    uint8_t born[9] = {};
    uint8_t survive[9] = {};
    int32_t states = 2;
  };

  void OnInit();
  void KeepPreviewInSight();
  void FillList();
  // Hands `next` to the task, with mode 4 and its rule, and reseeds.
  void Apply(Choice next);
  // Cancel: the task as the dialog found it, when a choice changed it.
  void Restore();
  // OK: a pasted pattern gets its file first; false when that fails.
  bool Keep();
  void ShowChoice();
  void ShowError(const std::wstring& text);
  void SelectListRow(int row);
  // Reads `text`; on failure shows why and returns null.
  std::shared_ptr<const Pattern> Read(const std::string& text);
  void DrawView(const DRAWITEMSTRUCT& item) const;

  Found found;
  std::shared_ptr<const Pattern> pattern;  // the shown one
  std::wstring shownName;
  std::string pastedText;  // the text of a pasted choice not yet written
  std::wstring pastedFile;
  bool applied = false;
  bool fillingList = false;
};

// Reads the file at `path`, at most one byte past kMaxPatternBytes (so the
// reader can refuse a larger one); false when it cannot be opened.
bool ReadPatternFileText(const std::wstring& path, std::string& text);
// The gallery entry of `name`, else the readable pattern of the file at
// `filePath` (UTF-8), else null: what the stored settings name.
std::shared_ptr<const Pattern> ResolveStoredPattern(const std::string& name, const std::string& filePath);
