#include "tests/support/child_process_win.h"

#include <windows.h>

#include <cstdio>

#include "base/command_line_words.h"
#include "base/file_util_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"

namespace lite {
namespace testing {
namespace {

std::map<std::string, ChildMain>& Registry() {
  static std::map<std::string, ChildMain> registry;
  return registry;
}

}  // namespace

bool RegisterChildMain(const char* name, ChildMain main) {
  Registry()[name] = main;
  return true;
}

bool MaybeRunChild(int argc, wchar_t** argv, int* exit_code) {
  if (argc < 2) return false;
  const std::u16string first = FromWide(argv[1]);
  const std::u16string prefix = u"--child=";
  if (first.compare(0, prefix.size(), prefix) != 0) return false;
  const std::string name = UTF16ToUTF8(first.substr(prefix.size()));
  auto found = Registry().find(name);
  if (found == Registry().end()) {
    *exit_code = 9998;
    return true;
  }
  std::vector<std::u16string> args;
  for (int i = 2; i < argc; ++i) args.push_back(FromWide(argv[i]));
  *exit_code = found->second(args);
  return true;
}

std::u16string JoinCommandLine(const std::vector<std::u16string>& words) {
  std::u16string line;
  for (const std::u16string& word : words) {
    if (!line.empty()) line.push_back(u' ');
    line += word.empty() ? u"\"\"" : QuoteForCommandLine(word);
  }
  return line;
}

Process StartChild(const std::string& name, const std::vector<std::u16string>& args,
                   const LaunchOptions& options) {
  std::vector<std::u16string> words = {GetExecutablePath().value(),
                                       u"--child=" + UTF8ToUTF16(name)};
  words.insert(words.end(), args.begin(), args.end());
  return LaunchProcess(JoinCommandLine(words), options);
}

int RunChild(const std::string& name, const std::vector<std::u16string>& args,
             DWORD timeout_ms) {
  Process child = StartChild(name, args);
  int exit_code = -9999;
  if (!child.is_valid() || !child.WaitForExit(timeout_ms, &exit_code)) {
    if (child.is_valid()) {
      std::fprintf(stderr, "child \"%s\" did not end within %lu ms and was ended\n",
                   name.c_str(), static_cast<unsigned long>(timeout_ms));
      child.Terminate(1);
    } else {
      std::fprintf(stderr, "child \"%s\" could not be started\n", name.c_str());
    }
    return -9999;
  }
  return exit_code;
}

bool WaitForFileText(const FilePath& file, const std::string& text, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  do {
    if (ReadFileWithLimit(file, 1 << 22).value_or("").find(text) != std::string::npos) {
      return true;
    }
    Sleep(50);
  } while (GetTickCount() - start < timeout_ms);
  std::fprintf(stderr, "\"%s\" not seen in %s within %lu ms\n", text.c_str(),
               UTF16ToUTF8(file.value()).c_str(), static_cast<unsigned long>(timeout_ms));
  return false;
}

FilePath MakeScratchDir() {
  std::optional<FilePath> dir = CreateUniqueTempDir(u"tltest");
  return dir ? *dir : FilePath();
}

std::u16string EnvironmentWith(const std::map<std::u16string, std::u16string>& overrides) {
  std::map<std::u16string, std::u16string> merged;
  wchar_t* block = GetEnvironmentStringsW();
  for (const wchar_t* entry = block; entry && *entry; entry += wcslen(entry) + 1) {
    const std::u16string text = FromWide(entry);
    const size_t eq = text.find(u'=', 1);  // "=C:" style entries start with '='
    if (eq == std::u16string::npos) continue;
    merged[text.substr(0, eq)] = text.substr(eq + 1);
  }
  if (block) FreeEnvironmentStringsW(block);
  for (const auto& [name, value] : overrides) {
    // Environment names are case-insensitive on Windows.
    for (auto it = merged.begin(); it != merged.end();) {
      it = ToLowerASCII(it->first) == ToLowerASCII(name) ? merged.erase(it) : std::next(it);
    }
    merged[name] = value;
  }
  std::u16string environment;
  for (const auto& [name, value] : merged) {
    environment += name + u"=" + value;
    environment.push_back(u'\0');
  }
  environment.push_back(u'\0');
  return environment;
}

FilePath InstallerExePath() { return FilePath(UTF8ToUTF16(TL_INSTALLER_EXE)); }

}  // namespace testing
}  // namespace lite
