#include "ui/controls/focus_order.h"

#include "ui/controls/control_ids.h"

namespace lite {

std::array<int, 7> WelcomeTabOrder(bool less_contrasty) {
  if (less_contrasty) {
    return {kInstallButtonId, kLicenceLinkId,   kPrivacyLinkId,   kStatisticsCheckBoxId,
            kPinCheckBoxId,   kDefaultCheckBoxId, kCloseButtonId};
  }
  return {kInstallButtonId, kLicenceLinkId,        kPrivacyLinkId, kDefaultCheckBoxId,
          kPinCheckBoxId,   kStatisticsCheckBoxId, kCloseButtonId};
}

bool ArrowFocusToggle::OnArrow(ArrowDirection direction) {
  bool& pending = direction == ArrowDirection::kBackward ? backward_pending_ : forward_pending_;
  pending = !pending;
  return !pending;
}

}  // namespace lite
