// The installer's sixteen interface languages as codes and Windows language
// ids. Matching is exact and case-sensitive; anything unknown is English.
#ifndef DISTRIBUTION_LANGUAGE_CODES_H_
#define DISTRIBUTION_LANGUAGE_CODES_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace lite {

inline constexpr uint32_t kEnglishLangId = 1033;

// Whether |code| is one of the sixteen codes ("en" and the table's).
bool IsInterfaceLanguageCode(std::string_view code);
// "pt-BR" gives 1046; "pt", "PT-BR" and "en" give 1033.
uint32_t LanguageCodeToLangId(std::string_view code);
// The inverse; an id not in the table gives "en".
std::string LangIdToLanguageCode(uint32_t lang_id);
// The code of the user's UI language (GetUserDefaultUILanguage).
std::string GetUserUiLanguageCode();

}  // namespace lite

#endif  // DISTRIBUTION_LANGUAGE_CODES_H_
