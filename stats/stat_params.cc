#include "stats/stat_params.h"

#include <vector>

#include "base/utf.h"

namespace lite {

namespace {

constexpr std::string_view kStatParamKeys[] = {
    "brand_id",         // kBrandId
    "partner_id",       // kPartnerId
    "testids",          // kTestIds
    "banner_id",        // kBannerId
    "distr_tolvar_uid", // kDistrTolvarUid
    "tolvar_uid",       // kTolvarUid
    "launched",         // kLaunched
    "ui",               // kUi
    "old_ver",          // kOldVer
    "lite_ver",         // kLiteVer
    "installer_type",   // kInstallerType
    "new_ver",          // kNewVer
    "install_type",     // kInstallType
    "browser_present",  // kBrowserPresent
};
static_assert(std::size(kStatParamKeys) == static_cast<size_t>(StatParam::kBrowserPresent) + 1);

}  // namespace

std::string_view StatParamKey(StatParam param) {
  return kStatParamKeys[static_cast<size_t>(param)];
}

std::u16string SerializeStatParams(const StatParams& params) {
  std::u16string text;
  for (const auto& [key, value] : params) {
    text += WidenBytes(key);
    text += u'\n';
    text += value;
    text += u'\n';
  }
  return text;
}

void RestoreStatParams(std::u16string_view saved, StatParams* params) {
  if (saved.empty()) return;
  std::vector<std::u16string_view> pieces;
  size_t start = 0;
  while (true) {
    const size_t end = saved.find(u'\n', start);
    if (end == std::u16string_view::npos) {
      pieces.push_back(saved.substr(start));
      break;
    }
    pieces.push_back(saved.substr(start, end - start));
    start = end + 1;
  }
  for (size_t i = 0; i + 1 < pieces.size(); i += 2) {
    if (pieces[i].empty()) continue;
    (*params)[NarrowLowBytes(pieces[i])] = std::u16string(pieces[i + 1]);
  }
}

}  // namespace lite
