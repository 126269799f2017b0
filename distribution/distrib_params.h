// The distribution parameters: "key=value" pairs joined by "&", as found in
// the installer tag, and their JSON form for the distrib_info file.
#ifndef DISTRIBUTION_DISTRIB_PARAMS_H_
#define DISTRIBUTION_DISTRIB_PARAMS_H_

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace lite {

// Keys in byte order, the order the JSON file is written in.
using DistribParamMap = std::map<std::string, std::string>;

// The first "=" of a pair ends its key; the value may contain "=". A pair
// without "=" has an empty value; a repeated key keeps its last value.
// Nothing is decoded or trimmed.
void ParseDistribParams(std::string_view text, DistribParamMap* params);

// One compact JSON object with every parameter as a string member. Nothing
// when a key or value is not UTF-8, which JSON cannot carry unchanged.
std::optional<std::string> BuildDistribInfoJson(const DistribParamMap& params);

}  // namespace lite

#endif  // DISTRIBUTION_DISTRIB_PARAMS_H_
