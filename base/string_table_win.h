// Strings from a module's string table, in one chosen language.
#ifndef BASE_STRING_TABLE_WIN_H_
#define BASE_STRING_TABLE_WIN_H_

#include <windows.h>

#include <cstdint>
#include <string>

namespace lite {

// The string |id| of |module|'s table in exactly |language_id|; empty when
// the module has no such string in that language. Unlike LoadStringW it never
// answers in another language, so callers choose their own fallback.
std::u16string LoadStringInLanguage(HMODULE module, uint16_t language_id, uint32_t id);

}  // namespace lite

#endif  // BASE_STRING_TABLE_WIN_H_
