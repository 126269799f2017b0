// The distribution's brand values: identifiers, setup URLs, legal links,
// service endpoints, design-feature flags, forced test ids and package
// paths. Filled from configuration JSON texts (first writer wins for every
// string, tri-state and the test ids; the last text wins for the design
// flags), then completed by ApplyDefaults; read-only afterwards.
#ifndef DISTRIBUTION_BRAND_INFO_H_
#define DISTRIBUTION_BRAND_INFO_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/file_path.h"

namespace lite {

class Value;

// Held as the numbers the configuration's booleans map to.
enum class TriState : int { kUnset = 0, kTrue = 1, kFalse = 2 };

class BrandInfo {
 public:
  // |working_dir| is the user's temporary directory, ending in a backslash.
  explicit BrandInfo(FilePath working_dir);
  BrandInfo(const BrandInfo&) = delete;
  BrandInfo& operator=(const BrandInfo&) = delete;
  virtual ~BrandInfo();

  // Empties every value but the working directory and the two
  // package-present flags.
  virtual void Clear();

  // Applies one configuration text; a text that does not parse, or whose
  // root is not an object, changes nothing.
  void ApplyBrandInfo(std::string_view text);
  // Fills what is still empty with the compiled-in defaults, then logs. An
  // interface language that is not one of the sixteen counts as empty.
  void ApplyDefaults();
  void LogBrandInfo() const;

  // The installer tag's "lang" override; the language id follows it. A code
  // that is not one of the sixteen interface languages is ignored.
  void SetInterfaceLanguage(std::string code);

  // Package paths and presence, set by the package sources.
  void set_brand_package_path(FilePath path) { brand_package_path_ = std::move(path); }
  void set_partner_package_path(FilePath path) { partner_package_path_ = std::move(path); }
  void set_brand_package_present(bool present) { brand_package_present_ = present; }
  void set_partner_package_present(bool present) { partner_package_present_ = present; }

  const FilePath& working_dir() const { return working_dir_; }
  const FilePath& brand_package_path() const { return brand_package_path_; }
  const FilePath& partner_package_path() const { return partner_package_path_; }
  bool brand_package_present() const { return brand_package_present_; }
  bool partner_package_present() const { return partner_package_present_; }

  const std::string& setup_url() const { return setup_url_; }
  const std::string& setup_url_version() const { return setup_url_version_; }
  const std::string& setup_url64() const { return setup_url64_; }
  const std::string& setup_url_version64() const { return setup_url_version64_; }
  const std::string& setup_url32() const { return setup_url32_; }
  const std::string& brand_id() const { return brand_id_; }
  const std::string& brand_name() const { return brand_name_; }
  const std::string& interface_language() const { return interface_language_; }
  uint32_t language_id() const { return language_id_; }
  const std::string& license_url() const { return license_url_; }
  const std::string& conf_policy_url() const { return conf_policy_url_; }
  TriState alternate_installer_title() const { return alternate_installer_title_; }
  TriState send_statistics() const { return send_statistics_; }
  TriState make_browser_default() const { return make_browser_default_; }
  const std::string& partner_id() const { return partner_id_; }
  const std::string& scenarios_url() const { return scenarios_url_; }
  const std::string& slide_url() const { return slide_url_; }
  const std::string& slide_url_if_tagged() const { return slide_url_if_tagged_; }
  const std::string& variations_url() const { return variations_url_; }
  const std::string& abt_url() const { return abt_url_; }
  const std::string& webntp_url() const { return webntp_url_; }
  const std::string& preloaded_wallpapers_url() const { return preloaded_wallpapers_url_; }
  bool pin() const { return pin_; }
  const std::string& tlpin_trial_state() const { return tlpin_trial_state_; }
  const std::vector<std::string>& forced_test_ids() const { return forced_test_ids_; }

  bool ShowAlternateInstallerTitle() const {
    return alternate_installer_title_ == TriState::kTrue;
  }
  bool ShouldSendStatistics() const { return send_statistics_ != TriState::kFalse; }
  bool ShouldMakeBrowserDefault() const { return make_browser_default_ != TriState::kFalse; }
  bool IsDesignFeatureEnabled() const { return feature_enabled_; }
  bool IsFirstScreenOff() const { return feature_enabled_ && first_screen_off_; }
  bool IsDialogsRedesign() const { return feature_enabled_ && dialogs_redesign_; }
  bool IsLessContrasty() const { return feature_enabled_ && less_contrasty_; }
  bool IsNewIdentity() const { return feature_enabled_ && new_identity_; }

  // The service endpoints with the installer query appended.
  std::string GetVariationsUrl() const;
  std::string GetAbtUrl() const;
  std::string AppendInstallerQuery(const std::string& url) const;

  // The per-user registry values read by the browser's setup program.
  void StoreLanguageValue() const;
  void StoreBrandValues() const;
  void RemoveBrandValues() const;

 private:
  void ApplyStrings(const Value& root);
  void ApplyTriStates(const Value& root);
  void ApplyDesignFeature(const Value& root);
  void ApplyForcedTestIds(const Value& root);

  const FilePath working_dir_;
  FilePath brand_package_path_;
  FilePath partner_package_path_;
  bool brand_package_present_ = false;
  bool partner_package_present_ = false;

  std::string setup_url_;
  std::string setup_url_version_;
  std::string setup_url64_;
  std::string setup_url_version64_;
  std::string setup_url32_;
  std::string brand_id_;
  std::string brand_name_;
  std::string interface_language_;
  uint32_t language_id_ = 1033;
  std::string license_url_;
  std::string conf_policy_url_;
  TriState alternate_installer_title_ = TriState::kUnset;
  TriState send_statistics_ = TriState::kUnset;
  TriState make_browser_default_ = TriState::kUnset;
  std::string partner_id_;
  std::string scenarios_url_;
  std::string slide_url_;
  std::string slide_url_if_tagged_;
  std::string variations_url_;
  std::string abt_url_;
  std::string webntp_url_;
  std::string preloaded_wallpapers_url_;
  bool pin_ = false;
  std::string tlpin_trial_state_;

  bool feature_enabled_ = true;
  bool first_screen_off_ = false;
  bool dialogs_redesign_ = false;
  bool less_contrasty_ = true;
  bool new_identity_ = false;

  std::vector<std::string> forced_test_ids_;
};

// |url| + "?" or "&" + name=value for each non-empty parameter, in order
// (brand, partner, uid, version); values are inserted unescaped.
std::string AppendQueryParameters(
    std::string url, const std::vector<std::pair<std::string_view, std::string_view>>& params);

}  // namespace lite

#endif  // DISTRIBUTION_BRAND_INFO_H_
