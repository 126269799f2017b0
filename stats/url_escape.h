// Percent-escaping for statistics URLs.
#ifndef STATS_URL_ESCAPE_H_
#define STATS_URL_ESCAPE_H_

#include <string>
#include <string_view>

namespace lite {

// What UrlEscapeW with URL_ESCAPE_SEGMENT_ONLY does to a path segment:
// control characters, units 0x7F to 0xFF, the space and
// " # & < > ? [ \ ] ^ ` { | } / become "%" and two upper-case hexadecimal
// digits of the unit; "%" itself and everything else stay.
std::u16string EscapeUrlSegment(std::u16string_view segment);

// Escapes every byte except ASCII letters, digits and ! ' ( ) . _ ~ as "%"
// and two upper-case hexadecimal digits.
std::string EscapeAllButUnreserved(std::string_view bytes);

// A value put into a URL's query: every byte except the unreserved ASCII
// letters, digits and - . _ ~ as "%" and two upper-case hexadecimal digits,
// so that nothing in it can end the value, add a parameter, change the path
// or reach a command line as a quote, blank or line break.
std::string EscapeQueryValue(std::string_view bytes);

// The value of the statistics key "url": the URL as UTF-8, escaped twice
// with EscapeAllButUnreserved, so that a colon arrives as "%253A".
std::u16string DoublyEscapedUrlValue(std::u16string_view url);

}  // namespace lite

#endif  // STATS_URL_ESCAPE_H_
