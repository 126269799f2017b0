#include "distribution/distrib_info_params.h"

#include <windows.h>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "distribution/tag_file_win.h"
#include "logging/system_error_win.h"
#include "stats/setup_registry_win.h"

namespace lite {

DistribInfoParams::DistribInfoParams(std::optional<std::u16string> params_switch)
    : params_switch_(std::move(params_switch)) {}

DistribInfoParams::~DistribInfoParams() = default;

bool DistribInfoParams::LoadDistribParams() {
  const std::string text = ReadParamsText();
  if (text.empty()) return false;
  StoreRegistryValue(kDistribInfoParamsValueName, WidenBytes(text));
  ParseDistribParams(text, &params_);
  if (params_.empty()) return false;
  distrib_info_path_ = FilePath(GetUserTempDir().value() + kDistribInfoFileName);
  CreateJsonFromDistribParams(distrib_info_path_);
  return true;
}

std::string DistribInfoParams::ReadParamsText() const {
  if (params_switch_ && !params_switch_->empty()) return UTF16ToUTF8(*params_switch_);
  const FilePath exe = GetOwnExecutablePath();
  std::string text = ExtractTagFromFakeCertificate(exe);
  if (!text.empty()) return text;
  size_t size = 0;
  if (!ReadLegacyTag(exe, nullptr, &size) || size == 0) return std::string();
  text.resize(size);
  if (!ReadLegacyTag(exe, text.data(), &size)) return std::string();
  text.pop_back();  // the terminating zero
  return text;
}

void DistribInfoParams::CreateJsonFromDistribParams(const FilePath& path) const {
  const std::optional<std::string> json = BuildDistribInfoJson(params_);
  if (!json) {
    PLOG(ERROR) << "Can't create json dump";
    return;
  }
  // Create-always, no sharing, the whole text or a failure.
  if (!WriteWholeFile(path, *json)) PLOG(ERROR) << "Write json to file error";
}

bool DistribInfoParams::GetParam(const std::string& key, std::string* value) const {
  const auto it = params_.find(key);
  if (it == params_.end()) return false;
  *value = it->second;
  return true;
}

bool DistribInfoParams::GetTriStateParam(const std::string& key, bool* flag) const {
  *flag = false;
  std::string value;
  if (!GetParam(key, &value)) return false;
  if (value == "1") *flag = true;
  return value == "1" || value == "2";
}

bool DistribInfoParams::StoreRegistryValue(const std::u16string& name,
                                           const std::u16string& value) {
  return StoreSetupValue(name, value);
}

FilePath DistribInfoParams::GetOwnExecutablePath() const { return GetExecutablePath(); }

}  // namespace lite
