#ifndef STATS_URL_ESCAPE_WIN_H_
#define STATS_URL_ESCAPE_WIN_H_

#include <string>
#include <string_view>

namespace lite {

// UrlEscapeW with URL_ESCAPE_SEGMENT_ONLY into a 2084-unit buffer; empty
// when the call fails or the result does not fit.
std::u16string EscapeUrlSegmentWithShell(std::u16string_view segment);

}  // namespace lite

#endif  // STATS_URL_ESCAPE_WIN_H_
