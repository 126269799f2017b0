#include "tools/fake_setup/setup_record_win.h"

#include <windows.h>
#include <shellapi.h>

#include "base/file_util_win.h"
#include "base/json/json_writer.h"
#include "base/registry_win.h"
#include "base/scoped_handle_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"

namespace lite {

namespace {

// The key the installer writes, in the same (32-bit) view.
constexpr char16_t kHandedOverKey[] = u"Software\\Tolvar\\TolvarBrowser";

Value::Dict HandedOverValues() {
  Value::Dict values;
  RegistryKey key;
  if (key.Open(HKEY_CURRENT_USER, kHandedOverKey, KEY_QUERY_VALUE) != ERROR_SUCCESS) {
    return values;
  }
  for (const char16_t* name : kHandedOverValueNames) {
    if (std::optional<std::u16string> value = key.ReadString(name)) {
      values[UTF16ToUTF8(name)] = Value(UTF16ToUTF8(*value));
    }
  }
  return values;
}

}  // namespace

std::vector<std::u16string> CommandLineWords() {
  std::vector<std::u16string> words;
  const wchar_t* command_line = GetCommandLineW();
  // For an empty line CommandLineToArgvW would invent the program's path.
  if (*command_line == L'\0') return words;
  int count = 0;
  ScopedLocalMemory argv(CommandLineToArgvW(command_line, &count));
  if (!argv.is_valid()) return words;
  for (int i = 0; i < count; ++i) words.push_back(FromWide(static_cast<wchar_t**>(argv.get())[i]));
  return words;
}

Value CaptureSetupRecord() {
  Value::List arguments;
  for (const std::u16string& word : CommandLineWords()) {
    arguments.emplace_back(UTF16ToUTF8(word));
  }
  Value::Dict record;
  record["command_line"] = Value(UTF16ToUTF8(FromWide(GetCommandLineW())));
  record["arguments"] = Value(std::move(arguments));
  record["registry"] = Value(HandedOverValues());
  return Value(std::move(record));
}

bool WriteSetupRecord(const Value& record, const FilePath& path) {
  const FilePath partial(path.value() + u".partial");
  return WriteWholeFile(partial, WriteJson(record)) &&
         MoveFileExW(AsWide(partial.value()), AsWide(path.value()), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace lite
