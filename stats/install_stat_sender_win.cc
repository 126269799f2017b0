#include "stats/install_stat_sender_win.h"

#include <windows.h>

#include <optional>

#include "base/endpoints.h"
#include "base/file_util_win.h"
#include "base/file_version_win.h"
#include "base/scoped_handle_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "logging/log_message.h"
#include "stats/launch_event_name.h"
#include "stats/setup_registry_win.h"
#include "stats/url_escape_win.h"
#include "stats/user_id_win.h"

namespace lite {

namespace {

std::u16string ReadValueOrEmpty(const char16_t* name) {
  return ReadSetupValue(name).value_or(std::u16string());
}

}  // namespace

std::u16string CheckBrowserLaunched() {
  std::u16string command_line = ReadValueOrEmpty(u"InstallerSuccessLaunchCmdLine");
  // The event name has every letter lowered, including those of a profile
  // folder named outside ASCII; LaunchEventName itself only knows ASCII.
  if (!command_line.empty()) {
    CharLowerBuffW(AsWide(command_line.data()), static_cast<DWORD>(command_line.size()));
  }
  const std::optional<std::u16string> name = LaunchEventName(command_line);
  if (!name) return u"false";
  ScopedHandle event(OpenEventW(SYNCHRONIZE, FALSE, AsWide(*name)));
  return event ? u"true" : u"false";
}

InstallStatSender::InstallStatSender(int32_t kind, std::u16string_view saved_params,
                                     UserIdLookup user_id)
    : kind_(kind) {
  RestoreStatParams(saved_params, &params_);
  params_[std::string(StatParamKey(StatParam::kLaunched))] = CheckBrowserLaunched();
  params_[std::string(StatParamKey(StatParam::kUi))] = WidenBytes(GetUserId(user_id));
  const std::string old_ver_key(StatParamKey(StatParam::kOldVer));
  if (params_.count(old_ver_key) == 0) {
    std::u16string old_ver = ReadValueOrEmpty(u"tpv");
    if (old_ver.empty()) old_ver = ReadValueOrEmpty(u"pv");
    params_[old_ver_key] = old_ver;
  }
  if (kind_ == kInstallerKindLite) {
    params_[std::string(StatParamKey(StatParam::kLiteVer))] =
        WidenBytes(GetFileVersionText(GetExecutablePath()));
  }
  params_[std::string(StatParamKey(StatParam::kInstallerType))] =
      kind_ == kInstallerKindLite ? u"lite" : u"full";
}

InstallStatSender::~InstallStatSender() {
  if (kind_ == kInstallerKindLite || kind_ == kInstallerKindFull) {
    RemoveSetupValue(kInstallStatValueName);
  }
}

std::u16string InstallStatSender::GetQueryUrl(const StatParams& event_params) {
  StatParams merged;
  StatCounter counter;
  {
    SrwAutoLock hold(lock_);
    merged = MergeStatParams(params_, event_params);
    counter = counter_;
  }
  LOG(INFO) << "InstallStatSender::Send:";
  for (const auto& [key, value] : merged) LOG(INFO) << key << "=" << value;
  return BuildStatQueryUrl(endpoints::kStats, counter, merged, &EscapeUrlSegmentWithShell);
}

void InstallStatSender::SetParam(StatParam param, std::string_view value) {
  SrwAutoLock hold(lock_);
  params_[std::string(StatParamKey(param))] = WidenBytes(value);
}

std::string InstallStatSender::GetParam(StatParam param) {
  SrwAutoLock hold(lock_);
  auto it = params_.find(std::string(StatParamKey(param)));
  return it == params_.end() ? std::string() : NarrowLowBytes(it->second);
}

StatParams InstallStatSender::params() {
  SrwAutoLock hold(lock_);
  return params_;
}

void InstallStatSender::set_counter(StatCounter counter) {
  SrwAutoLock hold(lock_);
  counter_ = counter;
}

void InstallStatSender::SaveParamsToRegistry() {
  std::u16string text;
  {
    SrwAutoLock hold(lock_);
    text = SerializeStatParams(params_);
  }
  StoreSetupValue(kInstallStatValueName, text);
}

}  // namespace lite
