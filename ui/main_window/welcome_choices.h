// What the welcome screen offers and what the user's choices are when it
// is left: which check boxes show, whether the screen is skipped because
// every choice is preset, and the pin offer's state.
#ifndef UI_MAIN_WINDOW_WELCOME_CHOICES_H_
#define UI_MAIN_WINDOW_WELCOME_CHOICES_H_

#include <cstdint>
#include <optional>
#include <string>

#include "distribution/distrib_params.h"
#include "ui/layout/window_design.h"

namespace lite {

// The statistics choice nobody made: no preset and no check box.
inline constexpr uint8_t kStatisticsChoiceUnknown = 255;

// The welcome screen is left out only when both of its choices are preset
// ("def", and "stat" or "statpromo") and either the brand turns the first
// screen off or the parameter "first" is "1".
bool ShouldSkipFirstScreen(bool brand_first_screen_off, const DistribParamMap& params);

// The pin offer: 0 none, 1 not configured, 2 offered and checked, 3 offered
// unchecked.
struct PinStateSources {
  WindowDesign design = WindowDesign::kFacetune;
  bool brand_pin = false;             // the brand's "install.pin"
  std::string brand_state;            // the brand's pin trial state
  std::optional<std::string> switch_state;  // "tlpin-state"
  std::optional<std::string> param_state;   // the parameter "tlpin"
};
int GetTlpinTrialState(const PinStateSources& sources);

inline bool PinCheckBoxShown(int pin_state) { return pin_state == 2 || pin_state == 3; }

// The layout's check-box mask. The make-default box also stays away when
// the elevation mode never restarts (mode 2) or the default-browser
// interface cannot be used.
uint32_t WelcomeCheckBoxMask(const DistribParamMap& params, bool make_default_possible,
                             int pin_state);

// The choices handed to the engine: a preset wins over the check box
// (nullopt when the box does not exist).
uint8_t StatisticsChoice(const DistribParamMap& params, std::optional<bool> box_checked);
bool MakeDefaultChoice(const DistribParamMap& params, std::optional<bool> box_checked);
bool PinChoice(int pin_state, std::optional<bool> box_checked);

}  // namespace lite

#endif  // UI_MAIN_WINDOW_WELCOME_CHOICES_H_
