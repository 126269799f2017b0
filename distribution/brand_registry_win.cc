// The brand values handed to the browser's setup program in the registry.
#include "base/utf.h"
#include "distribution/brand_info.h"
#include "stats/setup_registry_win.h"

namespace lite {

void BrandInfo::StoreLanguageValue() const {
  StoreSetupValue(u"lang", WidenBytes(interface_language_));
}

void BrandInfo::StoreBrandValues() const {
  StoreSetupValue(u"brand", WidenBytes(brand_name_));
  StoreSetupValue(u"BrandFile", brand_package_path_.value());
  if (partner_package_present_) StoreSetupValue(u"PartnerFile", partner_package_path_.value());
}

void BrandInfo::RemoveBrandValues() const {
  for (const char16_t* name : {u"brand", u"BrandFile", u"PartnerFile"}) RemoveSetupValue(name);
}

}  // namespace lite
