#include "ui/layout/installation_window_layout.h"

#include "distribution/brand_info.h"

namespace lite {
namespace {

// The values that do not depend on the check boxes, the Windows release or
// the contrast: one row per design.
struct DesignSlots {
  int width;
  int height;
  int shadow_inset;
  Rect title;
  Rect privacy_link_column;
  Point install_button;
  Point close_button;
  Point cancel_button;
  Rect logo;
  Rect license;
  Rect progress_bar;
  Rect progress_text;
  Rect progress_license;
  Point inline_link_margin;
  Point minimize_button;
};

constexpr DesignSlots kFacetune = {
    802, 430, 1,
    {61, 140, 504, 358},   // title
    {61, 1, 454, 428},     // privacy-link column
    {61, 333},             // Install
    {767, 11},             // Close
    {466, 354},            // Cancel, centred on the progress bar's line
    {61, 41, 273, 79},     // logo
    {557, 333, 759, 428},  // licence
    {61, 358, 454, 363},   // progress bar
    {61, 372, 454, 428},   // progress text
    {424, 350, 666, 430},  // progress-screen licence
    {5, 5},
    {723, 11},  // Minimize
};

// The Facetune layout with its own title and licence.
constexpr DesignSlots kNewIdentity = [] {
  DesignSlots slots = kFacetune;
  slots.title = {61, 99, 473, 358};
  slots.license = {555, 333, 757, 428};
  return slots;
}();

constexpr DesignSlots kOrigin = {
    728, 400, 0,
    {0, 182, 728, 250},
    {84, 0, 310, 390},
    {557, 305},
    {698, 18},
    {698, 18},
    {61, 41, 273, 79},
    {400, 38, 667, 400},
    {392, 56, 684, 60},
    {352, 50, 376, 66},
    {424, 350, 666, 400},
    {0, 0},
    {0, 0},
};

const DesignSlots& SlotsOf(WindowDesign design) {
  switch (design) {
    case WindowDesign::kNewIdentity:
      return kNewIdentity;
    case WindowDesign::kFacetune:
      return kFacetune;
    case WindowDesign::kOrigin:
      break;
  }
  return kOrigin;
}

// Origin's check boxes move with the set of boxes shown: mask -> rectangle.
struct MaskedRect {
  uint32_t mask;
  Rect rect;
};

constexpr MaskedRect kOriginStatistics[] = {
    {2, {60, 305, 308, 400}}, {3, {60, 305, 308, 400}},
    {6, {60, 309, 525, 400}}, {7, {60, 310, 525, 400}},
};
constexpr MaskedRect kOriginMakeDefault[] = {
    {1, {60, 305, 525, 400}}, {3, {314, 305, 537, 400}},
    {5, {60, 294, 525, 400}}, {7, {60, 250, 525, 400}},
};
constexpr MaskedRect kOriginPin[] = {
    {4, {60, 315, 525, 400}}, {5, {60, 324, 525, 400}},
    {6, {60, 279, 525, 400}}, {7, {60, 280, 525, 400}},
};

template <size_t N>
Rect ByMask(const MaskedRect (&table)[N], uint32_t mask) {
  for (const MaskedRect& entry : table) {
    if (entry.mask == mask) return entry.rect;
  }
  return {};
}

// Facetune and NewIdentity boxes: a corner; the label decides the height.
constexpr int kCheckBoxRight = 454;
constexpr int kCheckBoxBottom = 428;

Rect CheckBoxAt(int left, int top) { return {left, top, kCheckBoxRight, kCheckBoxBottom}; }

}  // namespace

InstallationWindowLayout::InstallationWindowLayout(WindowDesign design, WindowsRelease windows,
                                                   bool less_contrasty,
                                                   uint32_t check_box_mask)
    : design_(design),
      windows_(windows),
      less_contrasty_(less_contrasty),
      check_box_mask_(check_box_mask & 7) {}

int InstallationWindowLayout::WindowWidth() const { return SlotsOf(design_).width; }
int InstallationWindowLayout::WindowHeight() const { return SlotsOf(design_).height; }
int InstallationWindowLayout::ShadowInset() const { return SlotsOf(design_).shadow_inset; }

Rect InstallationWindowLayout::TitleRect() const {
  Rect title = SlotsOf(design_).title;
  if (design_ == WindowDesign::kOrigin && check_box_mask_ == 7) title.top = 152;
  return title;
}

Rect InstallationWindowLayout::StatisticsCheckBoxRect() const {
  if (design_ == WindowDesign::kOrigin) return ByMask(kOriginStatistics, check_box_mask_);
  if (!(check_box_mask_ & kStatisticsBoxShown)) return {};
  if (less_contrasty_) return CheckBoxAt(59, 207);
  return CheckBoxAt(61, (check_box_mask_ & kMakeDefaultBoxShown) ? 235 : 207);
}

Rect InstallationWindowLayout::MakeDefaultCheckBoxRect() const {
  if (design_ == WindowDesign::kOrigin) return ByMask(kOriginMakeDefault, check_box_mask_);
  if (!(check_box_mask_ & kMakeDefaultBoxShown)) return {};
  // Below the statistics box when both are shown; the window then puts it
  // 4 pixels under that box's real bottom.
  if (less_contrasty_) return CheckBoxAt(59, (check_box_mask_ & kStatisticsBoxShown) ? 267 : 207);
  return CheckBoxAt(61, 207);
}

Rect InstallationWindowLayout::PinCheckBoxRect() const {
  if (design_ == WindowDesign::kOrigin) return ByMask(kOriginPin, check_box_mask_);
  return {};
}

Rect InstallationWindowLayout::PrivacyLinkColumn() const {
  return SlotsOf(design_).privacy_link_column;
}
Point InstallationWindowLayout::InstallButtonOrigin() const {
  return SlotsOf(design_).install_button;
}
Point InstallationWindowLayout::CloseButtonOrigin() const { return SlotsOf(design_).close_button; }
Point InstallationWindowLayout::CancelButtonOrigin() const {
  return SlotsOf(design_).cancel_button;
}
Rect InstallationWindowLayout::LogoRect() const { return SlotsOf(design_).logo; }
Rect InstallationWindowLayout::LicenseRect() const { return SlotsOf(design_).license; }
Rect InstallationWindowLayout::ProgressBarRect() const { return SlotsOf(design_).progress_bar; }
Rect InstallationWindowLayout::ProgressTextRect() const { return SlotsOf(design_).progress_text; }
Rect InstallationWindowLayout::ProgressLicenseRect() const {
  return SlotsOf(design_).progress_license;
}

int InstallationWindowLayout::CornerRadius() const {
  if (design_ == WindowDesign::kOrigin) return 0;
  return IsWin8OrLater(windows_) ? 9 : 0;
}

int InstallationWindowLayout::CheckBoxLabelGap() const {
  if (design_ == WindowDesign::kOrigin) return 8;
  return less_contrasty_ ? 8 : 12;
}

Point InstallationWindowLayout::InlineLinkMargin() const {
  return SlotsOf(design_).inline_link_margin;
}

Point InstallationWindowLayout::MinimizeButtonOrigin() const {
  return SlotsOf(design_).minimize_button;
}

std::shared_ptr<const InstallationWindowLayout> CreateLayout(const BrandInfo& brand,
                                                             uint32_t check_box_mask,
                                                             WindowsRelease windows) {
  return std::make_shared<const InstallationWindowLayout>(
      ChooseWindowDesign(brand), windows, brand.IsLessContrasty(), check_box_mask);
}

}  // namespace lite
