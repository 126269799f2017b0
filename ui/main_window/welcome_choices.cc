#include "ui/main_window/welcome_choices.h"

#include <charconv>

#include "logging/log_message.h"
#include "ui/layout/installation_window_layout.h"

namespace lite {
namespace {

bool Has(const DistribParamMap& params, const char* key) { return params.count(key) != 0; }

const std::string* Find(const DistribParamMap& params, const char* key) {
  const auto it = params.find(key);
  return it == params.end() ? nullptr : &it->second;
}

bool HasStatisticsPreset(const DistribParamMap& params) {
  return Has(params, "stat") || Has(params, "statpromo");
}

// The whole text as a decimal integer 0..3, else 0.
int ParsePinState(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || at != end || value < 0 || value > 3) return 0;
  return value;
}

}  // namespace

bool ShouldSkipFirstScreen(bool brand_first_screen_off, const DistribParamMap& params) {
  const std::string* first = Find(params, "first");
  const bool asked = brand_first_screen_off || (first && *first == "1");
  return asked && Has(params, "def") && HasStatisticsPreset(params);
}

int GetTlpinTrialState(const PinStateSources& sources) {
  if (sources.design != WindowDesign::kOrigin) return 0;
  if (!sources.brand_pin) {
    if (!sources.brand_state.empty()) {
      LOG(WARNING) << "No install.pin for tlpin_state=" << sources.brand_state;
    }
    return 1;
  }
  if (!sources.brand_state.empty()) return ParsePinState(sources.brand_state);
  if (sources.switch_state) return ParsePinState(*sources.switch_state);
  if (sources.param_state) return ParsePinState(*sources.param_state);
  return 0;
}

uint32_t WelcomeCheckBoxMask(const DistribParamMap& params, bool make_default_possible,
                             int pin_state) {
  uint32_t mask = 0;
  if (!Has(params, "def") && make_default_possible) mask |= kMakeDefaultBoxShown;
  if (!HasStatisticsPreset(params)) mask |= kStatisticsBoxShown;
  if (PinCheckBoxShown(pin_state)) mask |= kPinBoxShown;
  return mask;
}

uint8_t StatisticsChoice(const DistribParamMap& params, std::optional<bool> box_checked) {
  if (const std::string* stat = Find(params, "stat")) return *stat == "1" ? 1 : 0;
  if (const std::string* promo = Find(params, "statpromo")) return *promo == "true" ? 1 : 0;
  if (box_checked) return *box_checked ? 1 : 0;
  return kStatisticsChoiceUnknown;
}

bool MakeDefaultChoice(const DistribParamMap& params, std::optional<bool> box_checked) {
  if (const std::string* def = Find(params, "def")) return *def == "1";
  return box_checked.value_or(false);
}

bool PinChoice(int pin_state, std::optional<bool> box_checked) {
  if (pin_state == 0) return true;
  return box_checked.value_or(false);
}

}  // namespace lite
