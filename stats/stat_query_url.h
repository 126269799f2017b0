// The statistics request: one GET whose whole content is its path,
//   <stats host>/installstats/send/dtype=stred/pid=457/cid=<id>/path=<name>
//   /vars=-key=value,-key=value.../*
// with the entries in key order.
#ifndef STATS_STAT_QUERY_URL_H_
#define STATS_STAT_QUERY_URL_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "stats/stat_params.h"

namespace lite {

// Which statistics counter a request goes to.
enum class StatCounter {
  kExtendedStat = 0,           // every installer event
  kReinstallDialog = 1,        // the events sent with SendReinstallDialogStat
  kProfileMigration = 2,       // not sent by the installer
  kZomboWindow = 3,            // not sent by the installer
};

struct StatCounterInfo {
  int32_t id;
  std::string_view path;
};
const StatCounterInfo& GetStatCounterInfo(StatCounter counter);

// The persistent parameters with the event's added (a key already present
// keeps its persistent value), old_style "0", and brand_id "unknown" when
// there is none.
StatParams MergeStatParams(const StatParams& persistent, const StatParams& event);

// Escapes one key or value for the path; an empty result stands for a
// failed escaping.
using SegmentEscaper = std::u16string (*)(std::u16string_view);

// ",", "-" and "=" become "_" so that they cannot be read as separators.
std::u16string ReplaceStatSeparators(std::u16string_view text);

// "-key=value" entries joined with ","; empty for an empty map.
std::u16string BuildStatVarList(const StatParams& merged, SegmentEscaper escape);

// The whole URL for |merged| (already merged) and |counter|, on |host|
// (scheme and host, no trailing slash).
std::u16string BuildStatQueryUrl(std::string_view host, StatCounter counter,
                                 const StatParams& merged, SegmentEscaper escape);

}  // namespace lite

#endif  // STATS_STAT_QUERY_URL_H_
