#include "stats/stat_query_url.h"

#include "base/utf.h"

namespace lite {

namespace {

constexpr StatCounterInfo kStatCounters[] = {
    {72992, "extended_stat"},
    {72696, "tlbrowser_reinstall_dialog"},
    {72696, "tlbrowser_pf_migration"},
    {72924, "zombo_window"},
};

}  // namespace

const StatCounterInfo& GetStatCounterInfo(StatCounter counter) {
  return kStatCounters[static_cast<size_t>(counter)];
}

StatParams MergeStatParams(const StatParams& persistent, const StatParams& event) {
  StatParams merged = persistent;
  merged.insert(event.begin(), event.end());  // insert keeps existing keys
  merged["old_style"] = u"0";
  merged.emplace("brand_id", u"unknown");
  return merged;
}

std::u16string ReplaceStatSeparators(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (c == u',' || c == u'-' || c == u'=') c = u'_';
  }
  return out;
}

std::u16string BuildStatVarList(const StatParams& merged, SegmentEscaper escape) {
  std::u16string list;
  for (const auto& [key, value] : merged) {
    if (!list.empty()) list += u',';
    list += u'-';
    list += escape(ReplaceStatSeparators(WidenBytes(key)));
    list += u'=';
    list += escape(ReplaceStatSeparators(value));
  }
  return list;
}

std::u16string BuildStatQueryUrl(std::string_view host, StatCounter counter,
                                 const StatParams& merged, SegmentEscaper escape) {
  const StatCounterInfo& info = GetStatCounterInfo(counter);
  std::string url(host);
  url += "/installstats/send/dtype=stred/pid=457/cid=";
  url += std::to_string(info.id);
  url += "/path=";
  url += info.path;
  const std::u16string list = BuildStatVarList(merged, escape);
  if (!list.empty()) {
    url += "/vars=";
    url += NarrowLowBytes(list);
  }
  url += "/*";
  return WidenBytes(url);
}

}  // namespace lite
