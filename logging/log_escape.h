// Text streamed into a log call may come from anywhere: a path from the
// command line, an answer from the network, a value another process wrote.
// One record must stay one line, so every character that could end a line
// or move the cursor in a viewer is written as a visible escape instead.
#ifndef LOGGING_LOG_ESCAPE_H_
#define LOGGING_LOG_ESCAPE_H_

#include <string>
#include <string_view>

namespace lite {

// Appends |text| (UTF-8) to |out| with C0 controls and DEL as "\xHH" and the
// C1 controls and the Unicode line and paragraph separators as "\uHHHH".
// Backslashes stay as they are, so paths read as they always did; the
// escape is for reading, not meant to be undone.
void AppendEscapedLogText(std::string_view text, std::string* out);

}  // namespace lite

#endif  // LOGGING_LOG_ESCAPE_H_
