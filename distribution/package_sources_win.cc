#include "distribution/package_sources_win.h"

#include <map>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "distribution/brand_autodetect.h"
#include "distribution/cabinet_win.h"
#include "distribution/resource_bytes_win.h"
#include "logging/log_message.h"

namespace lite {
namespace {

std::string ToUpperASCII(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string_view LoadBrandPackage(HMODULE module, const std::string& upper_name) {
  return LoadBinResource(module, WidenBytes("BRAND_" + upper_name));
}

}  // namespace

void GetInfo(BrandInfo& brand, const std::string& requested_name, HMODULE module) {
  brand.Clear();
  brand.RemoveBrandValues();
  brand.Clear();
  // The working directory ends in a separator: the names are joined directly.
  const std::u16string& dir = brand.working_dir().value();
  brand.set_brand_package_path(FilePath(dir + u"BrandFile"));
  LOG(INFO) << "Brand package path: " << brand.brand_package_path();
  brand.set_partner_package_path(FilePath(dir + u"PartnerFile"));
  LOG(INFO) << "Partner package path: " << brand.partner_package_path();
  GetInfoFromResources(brand, requested_name, module);
}

void GetInfoFromResources(BrandInfo& brand, const std::string& requested_name, HMODULE module) {
  const std::string_view partner = LoadBinResource(module, kPartnerPackageResourceId);
  if (!partner.empty()) {
    LOG(INFO) << "Extract Partner package: " << brand.partner_package_path() << " ["
              << partner.size() << "B]";
    // Setup then finds no file; the configuration still applies.
    WriteWholeFile(brand.partner_package_path(), std::string(partner));
    brand.set_partner_package_present(true);
    ApplyPackage(brand, partner, "partner_config");
  } else {
    LOG(WARNING) << "Partner package is empty.";
  }

  std::string_view package;
  if (requested_name == "auto") {
    const std::string name = ToUpperASCII(AutodetectBrandName());
    LOG(INFO) << "Fetching autodetected " << name << " package";
    package = LoadBrandPackage(module, name);
  } else if (!requested_name.empty()) {
    LOG(INFO) << "Fetching defined " << requested_name << " package";
    package = LoadBrandPackage(module, ToUpperASCII(requested_name));
  }
  if (package.empty()) {
    LOG(INFO) << "Fetching default package";
    package = LoadBinResource(module, kDefaultBrandPackageResourceId);
  }

  if (!package.empty()) {
    LOG(INFO) << "Extract Brand package: " << brand.brand_package_path() << " ["
              << package.size() << "B]";
    WriteWholeFile(brand.brand_package_path(), std::string(package));
    brand.set_brand_package_present(true);
    ApplyPackage(brand, package, "brand_config");
  } else {
    LOG(WARNING) << "Brand package is empty.";
  }
}

void ApplyPackage(BrandInfo& brand, std::string_view package, const std::string& member_name) {
  std::map<std::string, std::string> files;
  ExtractCabinetFiles(package, member_name, &files);
  const auto member = files.find(member_name);
  if (member == files.end()) return;
  brand.ApplyBrandInfo(member->second);
  brand.LogBrandInfo();
}

}  // namespace lite
