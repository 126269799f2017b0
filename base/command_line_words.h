// The words of a Windows command line: quoting one argument so that
// CommandLineToArgvW gives it back, and splitting a line by the same rules.
#ifndef BASE_COMMAND_LINE_WORDS_H_
#define BASE_COMMAND_LINE_WORDS_H_

#include <string>
#include <string_view>
#include <vector>

namespace lite {

// True for the characters with the Unicode White_Space property (all of them
// lie in the Basic Multilingual Plane).
bool IsUnicodeWhitespace(char16_t c);

// |text| as one argument for CommandLineToArgvW. A text without space, tab,
// quotation mark or backslash is returned as it is, so an empty text stays
// empty; a caller that needs an empty argument writes "" itself.
std::u16string QuoteForCommandLine(std::u16string_view text);

// Splits |line| by the documented rules of CommandLineToArgvW, so that tests
// and the fuzzer can check rendered lines without Windows. Always returns at
// least the program word, which may be empty.
std::vector<std::u16string> SplitCommandLineForTesting(std::u16string_view line);

// |program| as the first word of a command line, which Windows reads by a
// rule of its own (see the .cc).
std::u16string QuoteProgramWord(std::u16string_view program);

}  // namespace lite

#endif  // BASE_COMMAND_LINE_WORDS_H_
