#include "engine/core/resource_language.h"

namespace {
constexpr uint16_t kPrimaryLanguageMask = 0x03FF;  // PRIMARYLANGID without <windows.h>
constexpr uint16_t kPrimaryRussian = 0x19;         // LANG_RUSSIAN
}  // namespace

uint16_t ResourceLanguageFor(uint16_t uiLanguage) {
  return (uiLanguage & kPrimaryLanguageMask) == kPrimaryRussian ? kResourceRussian : kResourceEnglishUs;
}
