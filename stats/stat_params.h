// The statistics parameters: the persistent ones every request carries, and
// the map type that holds them and an event's own values. Keys are narrow
// ASCII, values UTF-16; the map keeps them in byte order of the key, which
// is the order they take in a request.
#ifndef STATS_STAT_PARAMS_H_
#define STATS_STAT_PARAMS_H_

#include <map>
#include <string>
#include <string_view>

namespace lite {

using StatParams = std::map<std::string, std::u16string>;

enum class StatParam {
  kBrandId,
  kPartnerId,
  kTestIds,
  kBannerId,
  kDistrTolvarUid,
  kTolvarUid,
  kLaunched,
  kUi,
  kOldVer,
  kLiteVer,
  kInstallerType,
  kNewVer,
  kInstallType,
  kBrowserPresent,
};

// The key a persistent parameter is sent and saved under ("brand_id"...).
std::string_view StatParamKey(StatParam param);

// The "install_stat" hand-over text: every entry as key "\n" value "\n".
std::u16string SerializeStatParams(const StatParams& params);

// Reads that text back into |params|: pieces between "\n" taken in pairs,
// key then value; a pair with an empty key is skipped and a last piece
// without its value is ignored. Restored entries replace existing ones.
void RestoreStatParams(std::u16string_view saved, StatParams* params);

}  // namespace lite

#endif  // STATS_STAT_PARAMS_H_
