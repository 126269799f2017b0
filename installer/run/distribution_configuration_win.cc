#include "installer/run/distribution_configuration_win.h"

#include "crash/crash_handler_win.h"
#include "distribution/package_sources_win.h"
#include "installer/command_line/installer_command_line.h"
#include "installer/command_line/switches.h"

namespace lite {

namespace {

void SetCrashKeyIfComplete(const std::string& name, const std::string& value) {
  if (!name.empty() && !value.empty()) SetCrashKey(name, value);
}

}  // namespace

std::unique_ptr<DistributionConfiguration> LoadDistributionConfiguration(
    const InstallerCommandLine& command_line, const FilePath& temp_dir,
    const std::string& brand_name) {
  std::optional<std::u16string> params_switch;
  if (command_line.HasSwitch(switches::kDistrInfoParams)) {
    params_switch = command_line.GetSwitchValue(switches::kDistrInfoParams);
  }
  auto config = std::make_unique<DistributionConfiguration>(std::move(params_switch), temp_dir);
  config->params.LoadDistribParams();

  GetInfo(config->brand, brand_name);
  std::string language;
  if (config->params.GetParam("lang", &language)) config->brand.SetInterfaceLanguage(language);
  config->brand.ApplyDefaults();

  for (const auto& [name, value] : config->params.params()) SetCrashKeyIfComplete(name, value);
  SetCrashKeyIfComplete("brand_id", config->brand.brand_id());
  SetCrashKeyIfComplete("brand_name", config->brand.brand_name());
  SetCrashKeyIfComplete("default_language", config->brand.interface_language());
  return config;
}

}  // namespace lite
