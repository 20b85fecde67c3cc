// The language the configuration is shown in, from the user's interface
// language: the primary language decides, the sublanguage does not.
#include <gtest/gtest.h>

#include "engine/core/resource_language.h"

TEST(ResourceLanguage, RussianVariantsGetTheRussianTablesEverythingElseEnglish) {
  EXPECT_EQ(ResourceLanguageFor(0x0419), kResourceRussian);  // Russian (Russia)
  EXPECT_EQ(ResourceLanguageFor(0x0819), kResourceRussian);  // Russian (Moldova)
  EXPECT_EQ(ResourceLanguageFor(0x0409), kResourceEnglishUs);
  EXPECT_EQ(ResourceLanguageFor(0x0809), kResourceEnglishUs);  // English (United Kingdom)
  EXPECT_EQ(ResourceLanguageFor(0x0423), kResourceEnglishUs);  // Belarusian: not carried
  EXPECT_EQ(ResourceLanguageFor(0x0407), kResourceEnglishUs);  // German
  EXPECT_EQ(ResourceLanguageFor(0x0000), kResourceEnglishUs);  // neutral
}
