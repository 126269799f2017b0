// Parses arbitrary words, renders them and splits the rendering the way
// CommandLineToArgvW would: the setup program must read back exactly the
// switches and program the installer meant to pass on.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/command_line_words.h"
#include "installer/command_line/installer_command_line.h"

namespace {

// Little-endian UTF-16 units; a 0x0000 unit separates words, as no word that
// Windows hands over can contain one. An odd last byte is ignored.
std::vector<std::u16string> ReadWords(const uint8_t* data, size_t size) {
  std::vector<std::u16string> words(1);
  for (size_t i = 0; i + 1 < size; i += 2) {
    const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0) {
      words.emplace_back();
    } else {
      words.back().push_back(unit);
    }
  }
  return words;
}

// The program word cannot carry a quotation mark and Render() leaves them
// out; everything else in it must come back.
std::u16string WithoutQuotationMarks(const std::u16string& text) {
  std::u16string out;
  for (char16_t c : text) {
    if (c != u'"') out.push_back(c);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using lite::InstallerCommandLine;
  const InstallerCommandLine parsed = InstallerCommandLine::FromWords(ReadWords(data, size));
  const std::u16string line = parsed.Render();
  const InstallerCommandLine read =
      InstallerCommandLine::FromWords(lite::SplitCommandLineForTesting(line));

  if (read.switches() != parsed.switches()) __builtin_trap();
  if (read.GetProgram() != WithoutQuotationMarks(parsed.GetProgram())) __builtin_trap();
  // Rendering what was read back must not drift either.
  if (read.Render() != line) __builtin_trap();
  return 0;
}
