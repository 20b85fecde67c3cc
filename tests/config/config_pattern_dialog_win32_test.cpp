// The pattern dialog on its own, over the running task: a choice runs at
// once (mode 4, the pattern's rule, the pattern), Cancel puts the task back,
// a text that is no pattern changes nothing and says where, and OK keeps a
// pasted pattern in a file of its own.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "config/pages/dlg_pattern_win32.h"
#include "life/named_rules.h"
#include "life/pattern_gallery.h"
#include "tests/config/config_sheet_fixture_win32.h"

namespace {
std::wstring ItemText(HWND dialog, int id) {
  wchar_t buffer[512] = {};
  GetDlgItemTextW(dialog, id, buffer, 512);
  return buffer;
}

void PutOnClipboard(const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  ASSERT_NE(memory, nullptr);
  std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

std::wstring TempFolder() {
  wchar_t base[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, base);
  std::wstring folder = std::wstring(base) + L"vivarn-pattern-dialog-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

class PatternDialogTest : public ConfigSheetTest {
 protected:
  void SetUp() override {
    ConfigSheetTest::SetUp();
    VivarnTaskBse& task = Task();
    before = task.Settings();
    task.SetPatternChoice("", "", nullptr);
    task.SetResetMode(1);
    const uint8_t born[9] = {0, 0, 0, 1}, survive[9] = {0, 0, 1, 1};
    task.SetRule(born, survive, 2);
  }
  // The task outlives the test: the other groups find it as it was.
  void TearDown() override {
    VivarnTaskBse& task = Task();
    task.SetPatternChoice(before.PatternName, before.PatternFile, nullptr);
    task.SetResetMode(before.ResetMode);
    task.SetRule(before.RuleBorn, before.RuleSurvive, before.RuleStates);
    ConfigSheetTest::TearDown();
  }
  static uint16_t Born() { return RuleMask(Task().Settings().RuleBorn); }
  LifeSettings before;
};
}  // namespace

TEST_F(PatternDialogTest, AGalleryRowRunsAtOnceAndCancelPutsTheTaskBack) {
  // An entry under another rule than the task's Life, so its rule must follow.
  const GalleryEntry* chosen = nullptr;
  size_t row = 0;
  for (const GalleryEntry& entry : PatternGallery()) {
    if (entry.rule.born != 0x008) {
      chosen = &entry;
      break;
    }
    ++row;
  }
  ASSERT_NE(chosen, nullptr);
  LifeSettings during;
  std::wstring shownName, rows;
  CDlgPattern dialog;
  ModalDriver driver(L"Pattern", [&](HWND w) {
    HWND list = GetDlgItem(w, IDC_PATTERN_LIST);
    rows = std::to_wstring(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    during = Task().Settings();
    shownName = ItemText(w, IDC_PATTERN_NAME);
    SendMessageW(GetDlgItem(w, IDCANCEL), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
  ASSERT_TRUE(driver.Acted());
  EXPECT_EQ(rows, std::to_wstring(PatternGallery().size()));
  EXPECT_EQ(during.ResetMode, 4);
  EXPECT_EQ(during.PatternName, chosen->name);
  EXPECT_EQ(RuleMask(during.RuleBorn), chosen->rule.born);
  EXPECT_EQ(during.EffectiveRuleStates(), chosen->rule.states);
  EXPECT_EQ(shownName, std::wstring(chosen->name.begin(), chosen->name.end()));
  const LifeSettings after = Task().Settings();
  EXPECT_EQ(after.ResetMode, 1);
  EXPECT_EQ(after.PatternName, "");
  EXPECT_EQ(Born(), 0x008);
  EXPECT_EQ(after.EffectiveRuleStates(), 2);
}

TEST_F(PatternDialogTest, AFileThatIsNoPatternChangesNothingAndSaysWhere) {
  const std::wstring folder = TempFolder();
  const std::wstring bad = folder + L"\\bad.rle", good = folder + L"\\good.rle";
  std::ofstream(std::filesystem::path(bad)) << "#N Broken\nx = 3, y = 3\nbo$2bo$3?!\n";
  std::ofstream(std::filesystem::path(good)) << "#N Good glider\nx = 3, y = 3, rule = B3/S23\nbo$2bo$3o!\n";
  CDlgPattern dialog;
  std::wstring badError, goodError, name;
  LifeSettings afterBad, afterGood;
  ModalDriver driver(L"Pattern", [&](HWND w) {
    dialog.askFile = [&](HWND, std::wstring& path) {
      path = bad;
      return true;
    };
    SendMessageW(GetDlgItem(w, IDC_PATTERN_OPEN), BM_CLICK, 0, 0);
    badError = ItemText(w, IDC_PATTERN_ERROR);
    afterBad = Task().Settings();
    dialog.askFile = [&](HWND, std::wstring& path) {
      path = good;
      return true;
    };
    SendMessageW(GetDlgItem(w, IDC_PATTERN_OPEN), BM_CLICK, 0, 0);
    goodError = ItemText(w, IDC_PATTERN_ERROR);
    name = ItemText(w, IDC_PATTERN_NAME);
    afterGood = Task().Settings();
    SendMessageW(GetDlgItem(w, IDOK), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
  ASSERT_TRUE(driver.Acted());
  EXPECT_NE(badError.find(L"(line 3, column"), std::wstring::npos) << badError;
  EXPECT_EQ(afterBad.ResetMode, 1);
  EXPECT_EQ(afterBad.PatternFile, "");
  EXPECT_EQ(goodError, L"");
  EXPECT_EQ(name, L"Good glider");
  EXPECT_EQ(afterGood.ResetMode, 4);
  EXPECT_EQ(afterGood.PatternFile, std::string(good.begin(), good.end()));
  // OK keeps what the task runs.
  EXPECT_EQ(Task().Settings().PatternFile, afterGood.PatternFile);
  DeleteFileW(bad.c_str());
  DeleteFileW(good.c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST_F(PatternDialogTest, APastedPatternGetsItsRuleAndOnOkAFileOfItsOwn) {
  const std::wstring folder = TempFolder();
  const std::string text = "#N Replicator\nx = 5, y = 5, rule = B36/S23\n2b3o$bo2bo$o3bo$o2bo$3o!\n";
  CDlgPattern dialog;
  dialog.pastedFolder = folder;
  std::wstring wideFit, fit;
  LifeSettings pasted;
  ModalDriver driver(L"Pattern", [&](HWND w) {
    // Wider than the screen at cell size 10.
    PutOnClipboard(L"x = 4000, y = 1\n4000o!\n");
    SendMessageW(GetDlgItem(w, IDC_PATTERN_PASTE), BM_CLICK, 0, 0);
    wideFit = ItemText(w, IDC_PATTERN_FIT);
    PutOnClipboard(std::wstring(text.begin(), text.end()));
    SendMessageW(GetDlgItem(w, IDC_PATTERN_PASTE), BM_CLICK, 0, 0);
    fit = ItemText(w, IDC_PATTERN_FIT);
    pasted = Task().Settings();
    SendMessageW(GetDlgItem(w, IDOK), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
  ASSERT_TRUE(driver.Acted());
  EXPECT_EQ(wideFit.rfind(L"Larger than a full screen", 0), 0u) << wideFit;
  EXPECT_EQ(fit.rfind(L"Fits a full screen", 0), 0u) << fit;
  EXPECT_EQ(pasted.ResetMode, 4);
  EXPECT_EQ(Born(), 0x048);  // B36
  // Not named before OK: a cancelled sheet must not leave a new file named.
  EXPECT_EQ(pasted.PatternFile, "");
  const std::wstring file = dialog.PastedFile();
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(Task().Settings().PatternFile, std::string(file.begin(), file.end()));
  std::ifstream kept(std::filesystem::path(file), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), text);
  kept.close();
  DeleteFileW(file.c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST_F(PatternDialogTest, ThePagesOpenItForPatternWithNoneChosenAndShowWhatItChose) {
  Open(1);
  Select(2);
  HWND field = Page();
  HWND combo = GetDlgItem(field, IDC_FILL_MODE);
  {
    ModalDriver driver(L"Pattern", [](HWND w) { SendMessageW(GetDlgItem(w, IDCANCEL), BM_CLICK, 0, 0); });
    Choose(field, IDC_FILL_MODE, 4);  // "Pattern"
    EXPECT_TRUE(driver.Acted());
  }
  EXPECT_EQ(Task().ResetMode, 1);
  EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, SendMessageW(combo, CB_GETCURSEL, 0, 0), 0), 1);
  Select(0);
  HWND general = Page();
  {
    ModalDriver driver(L"Pattern", [](HWND w) {
      LVITEMW item = {};
      item.stateMask = LVIS_SELECTED;
      item.state = LVIS_SELECTED;
      SendMessageW(GetDlgItem(w, IDC_PATTERN_LIST), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
      SendMessageW(GetDlgItem(w, IDOK), BM_CLICK, 0, 0);
    });
    SendMessageW(GetDlgItem(general, IDC_PATTERN_CHOOSE), BM_CLICK, 0, 0);
    EXPECT_TRUE(driver.Acted());
  }
  EXPECT_EQ(Task().ResetMode, 4);
  EXPECT_EQ(Task().Settings().PatternName, PatternGallery().front().name);
  HWND generalCombo = GetDlgItem(general, IDC_FILL_MODE);
  EXPECT_EQ(SendMessageW(generalCombo, CB_GETITEMDATA, SendMessageW(generalCombo, CB_GETCURSEL, 0, 0), 0), 4);
}
