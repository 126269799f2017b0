#include "base/string_table_win.h"

#include "gtest/gtest.h"

namespace lite {
namespace {

constexpr uint16_t kEnglish = 0x409;
constexpr uint16_t kGerman = 0x407;
constexpr uint16_t kFrench = 0x40C;

TEST(StringTableTest, AnswersOnlyInTheLanguageAsked) {
  HMODULE module = GetModuleHandleW(nullptr);
  struct Case {
    uint16_t language;
    uint32_t id;
    std::u16string expected;
  } cases[] = {
      {kEnglish, 4001, u"first"},
      {kEnglish, 4005, u"English"},
      {kGerman, 4005, u"Deutsch \u00FC"},
      {kGerman, 4001, u""},   // present in English only
      {kFrench, 4005, u""},   // a language the table does not have
      {kEnglish, 4002, u""},  // an empty slot of an existing block
      {kEnglish, 9999, u""},  // a block that does not exist
      {kEnglish, 0x10000, u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LoadStringInLanguage(module, c.language, c.id), c.expected)
        << std::hex << c.language << " " << std::dec << c.id;
  }
}

}  // namespace
}  // namespace lite
