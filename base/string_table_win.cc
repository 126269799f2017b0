#include "base/string_table_win.h"

namespace lite {

std::u16string LoadStringInLanguage(HMODULE module, uint16_t language_id, uint32_t id) {
  if (id > 0xFFFF) return std::u16string();
  // String tables are stored in blocks of 16 under id / 16 + 1.
  HRSRC block = FindResourceExW(module, RT_STRING,
                                MAKEINTRESOURCEW(static_cast<WORD>(id / 16 + 1)), language_id);
  if (!block) return std::u16string();
  HGLOBAL loaded = LoadResource(module, block);
  const auto* entry = static_cast<const WORD*>(LockResource(loaded));
  if (!entry) return std::u16string();
  // Each entry is a length-prefixed UTF-16 string; a block that claims more
  // than its resource holds is read no further.
  const size_t units = SizeofResource(module, block) / sizeof(WORD);
  size_t offset = 0;
  for (uint32_t i = 0; i < id % 16; ++i) {
    if (offset >= units) return std::u16string();
    offset += 1 + static_cast<size_t>(entry[offset]);
  }
  if (offset >= units || entry[offset] > units - offset - 1) return std::u16string();
  return std::u16string(reinterpret_cast<const char16_t*>(entry + offset + 1), entry[offset]);
}

}  // namespace lite
