#include "installer/elevation/elevation_mode.h"

#include <string>

#include "base/decimal_text.h"
#include "distribution/brand_info.h"
#include "installer/command_line/switches.h"

namespace lite {
namespace {

const std::string* FindParam(const DistribParamMap* params, const std::string& key) {
  if (!params) return nullptr;
  const auto it = params->find(key);
  return it == params->end() ? nullptr : &it->second;
}

// "1" and "2" are the two presets of a tri-state parameter; anything else is
// no preset.
bool HasTriStatePreset(const DistribParamMap* params, const std::string& key) {
  const std::string* value = FindParam(params, key);
  return value && (*value == "1" || *value == "2");
}

// The whole text as a decimal integer, 0 when it is not one.
int ParseDecimalOrZero(const std::string& text) {
  int value = 0;
  return ParseDecimal(text, &value) ? value : 0;
}

// Without a welcome screen nobody presses Install, so the restart has to come
// when the window opens, but only when the screen's choices are preset.
ElevationMode DefaultElevationMode(const BrandInfo* brand, const DistribParamMap* params) {
  const bool first_screen_off = brand && brand->IsFirstScreenOff();
  const std::string* first = FindParam(params, "first");
  if (!first_screen_off && !(first && *first == "1")) return kElevateOnInstall;
  const bool statistics_preset =
      HasTriStatePreset(params, "stat") || FindParam(params, "statpromo") != nullptr;
  return HasTriStatePreset(params, "def") && statistics_preset ? kElevateOnStart
                                                                : kElevateOnInstall;
}

}  // namespace

ElevationMode GetElevationMode(const BrandInfo* brand, const DistribParamMap* params,
                               const InstallerCommandLine& command_line) {
  if (command_line.HasSwitch(switches::kSystemLevel) ||
      command_line.HasSwitch(switches::kProgramFilesInstallation)) {
    return kElevateOnInstall;
  }
  const std::string* uac = FindParam(params, "uac");
  if (!uac) return kElevateOnInstall;
  switch (ParseDecimalOrZero(*uac)) {
    case 0:
      return DefaultElevationMode(brand, params);
    case kElevateOnStart:
      return kElevateOnStart;
    case kNeverElevate:
      return kNeverElevate;
    default:
      return kElevateOnInstall;
  }
}

}  // namespace lite
