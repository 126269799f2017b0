#include "distribution/language_codes.h"

#include "distribution/brand_platform.h"

namespace lite {
namespace {

struct LanguageRow {
  std::string_view code;
  uint32_t lang_id;
};

constexpr LanguageRow kLanguages[] = {
    {"ru", 1049},    {"uk", 1058},    {"tr", 1055},    {"de", 1031},    {"es", 3082},
    {"fr", 1036},    {"it", 1040},    {"ja", 1041},    {"kk", 1087},    {"uz", 1091},
    {"cs", 1029},    {"pt-PT", 2070}, {"pt-BR", 1046}, {"zh-CN", 2052}, {"zh-TW", 1028},
};

}  // namespace

bool IsInterfaceLanguageCode(std::string_view code) {
  if (code == "en") return true;
  for (const LanguageRow& row : kLanguages) {
    if (row.code == code) return true;
  }
  return false;
}

uint32_t LanguageCodeToLangId(std::string_view code) {
  for (const LanguageRow& row : kLanguages) {
    if (row.code == code) return row.lang_id;
  }
  return kEnglishLangId;
}

std::string LangIdToLanguageCode(uint32_t lang_id) {
  for (const LanguageRow& row : kLanguages) {
    if (row.lang_id == lang_id) return std::string(row.code);
  }
  return "en";
}

std::string GetUserUiLanguageCode() { return LangIdToLanguageCode(UserDefaultUiLanguageId()); }

}  // namespace lite
