// The installer's string tables read back the way the window reads them: by
// string-table block in exactly one language. Every language must carry
// every text, shaped like the English one: the same link markup, the same
// line breaks and the product name written the same way.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/string_table_win.h"
#include "distribution/language_codes.h"

namespace lite {
namespace {

std::u16string LoadTableString(uint16_t language_id, int id) {
  return LoadStringInLanguage(GetModuleHandleW(nullptr), language_id, static_cast<uint32_t>(id));
}

constexpr const char* kLanguageCodes[] = {"en", "ru", "uk", "tr", "de", "es", "fr", "it",
                                          "ja", "kk", "uz", "cs", "pt-PT", "pt-BR", "zh-CN",
                                          "zh-TW"};

// Main window, dialogs and the processor message.
constexpr int kStringIds[] = {
    400, 408, 409, 410, 411, 412, 413, 414, 415, 416, 417, 426, 427, 429, 431, 462, 463,
    419, 420, 421, 422, 423, 433, 435, 436, 438, 439, 442, 443, 445, 446, 448, 450, 451,
    453, 454, 455, 456, 457, 461, 471, 472, 491, 492, 493, 494, 495, 496, 497, 498, 499,
    500, 501, 503, 504, 505, 506, 507, 508, 509, 510, 481, 482, 483, 484};

size_t Count(std::u16string_view text, std::u16string_view what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != text.npos; at = text.find(what, at + what.size()))
    ++count;
  return count;
}

bool Contains(std::u16string_view text, std::u16string_view what) {
  return text.find(what) != text.npos;
}

// Every "((" is closed by "))" before the next one opens.
bool LinkMarkupBalanced(std::u16string_view text) {
  bool open = false;
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    const std::u16string_view pair = text.substr(i, 2);
    if (pair == u"((" || pair == u"))") {
      if ((pair == u"((") == open) return false;
      open = !open;
      ++i;
    }
  }
  return !open;
}

TEST(StringTablesTest, EveryLanguageHasEveryTextShapedLikeEnglish) {
  for (const char* code : kLanguageCodes) {
    const auto language_id = static_cast<uint16_t>(LanguageCodeToLangId(code));
    const bool english = language_id == kEnglishLangId;
    ASSERT_EQ(english, std::string_view(code) == "en") << code;
    int same_as_english = 0;
    for (int id : kStringIds) {
      SCOPED_TRACE(std::string(code) + " string " + std::to_string(id));
      const std::u16string reference = LoadTableString(kEnglishLangId, id);
      const std::u16string text = LoadTableString(language_id, id);
      EXPECT_FALSE(text.empty());
      if (text.empty()) continue;
      EXPECT_TRUE(LinkMarkupBalanced(text));
      EXPECT_EQ(Count(text, u"(("), Count(reference, u"(("));
      EXPECT_EQ(Count(text, u"\n"), Count(reference, u"\n"));
      // The product name stays in Latin script, with the no-break space
      // wherever the English text has one and nowhere else.
      EXPECT_EQ(Contains(text, u"Tolvar"), Contains(reference, u"Tolvar"));
      EXPECT_EQ(Contains(text, u"Tolvar\u00A0Browser"), Contains(reference, u"Tolvar\u00A0Browser"));
      if (!Contains(reference, u"Tolvar Browser")) {
        EXPECT_FALSE(Contains(text, u"Tolvar Browser"));
      }
      if (!english && text == reference) ++same_as_english;
    }
    // Only the product name and "OK" may read as in English; more means a
    // table was copied and not translated.
    EXPECT_LE(same_as_english, 2) << code;
  }
}

TEST(StringTablesTest, EnglishTextsAreExact) {
  const struct {
    int id;
    std::u16string_view text;
  } cases[] = {
      {410, u"You can install\nTolvar Browser now"},
      {436, u"Contact support and attach the file \nwith errors.\n\nFile location:"},
      {462, u"By using Tolvar\u00A0Browser, you agree to the terms and conditions of the "
            u"((License Agreement))."},
      {471, u"Not enough disk space\nto install Tolvar\u00A0Browser"},
      {481, u"Tolvar\u00A0Browser Installation"},
      {482, u"Couldn't install Tolvar\u00A0Browser on this computer."},
      {484, u"The processor doesn't support SSE3."},
  };
  for (const auto& c : cases) EXPECT_EQ(LoadTableString(kEnglishLangId, c.id), c.text) << c.id;
}

}  // namespace
}  // namespace lite
