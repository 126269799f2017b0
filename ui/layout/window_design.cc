#include "ui/layout/window_design.h"

#include "distribution/brand_info.h"

namespace lite {

WindowDesign ChooseWindowDesign(const BrandInfo& brand) {
  if (brand.IsNewIdentity()) return WindowDesign::kNewIdentity;
  if (brand.IsDesignFeatureEnabled()) return WindowDesign::kFacetune;
  return WindowDesign::kOrigin;
}

}  // namespace lite
