#include "distribution/brand_info.h"

#include <optional>

#include "base/endpoints.h"
#include "base/json/json_reader.h"
#include "base/json/json_value.h"
#include "distribution/brand_platform.h"
#include "distribution/language_codes.h"
#include "logging/log_message.h"
#include "product_config.h"

namespace lite {
namespace {

constexpr std::string_view kInstallPrefix = "install.";

// The value of |type| at |key|, falling back from "install.x" to the
// top-level "x" when the nested one is missing or of another type.
const Value* FindTyped(const Value& root, std::string_view key, Value::Type type) {
  const Value* value = root.FindPath(key);
  if (value && value->type() == type) return value;
  if (key.substr(0, kInstallPrefix.size()) != kInstallPrefix) return nullptr;
  value = root.FindPath(key.substr(kInstallPrefix.size()));
  return value && value->type() == type ? value : nullptr;
}

const std::string* FindString(const Value& root, std::string_view key) {
  const Value* value = FindTyped(root, key, Value::Type::kString);
  return value ? value->GetIfString() : nullptr;
}

const bool* FindBool(const Value& root, std::string_view key) {
  const Value* value = FindTyped(root, key, Value::Type::kBoolean);
  return value ? value->GetIfBool() : nullptr;
}

void AssignIfEmpty(std::string* held, const std::string* found) {
  if (held->empty() && found) *held = *found;
}

void AssignIfUnset(TriState* held, const bool* found) {
  if (*held == TriState::kUnset && found) *held = *found ? TriState::kTrue : TriState::kFalse;
}

// A boolean member of a feature object overwrites the flag; anything else
// leaves it.
void ReadFlag(const Value& feature, std::string_view member, bool* flag) {
  const Value* value = feature.FindPath(member);
  if (const bool* b = value ? value->GetIfBool() : nullptr) *flag = *b;
}

const Value* FindNonNull(const Value& root, std::string_view key) {
  const Value* value = root.FindPath(key);
  return value && !value->is_none() ? value : nullptr;
}

std::string DefaultUrl(std::string_view host, std::string_view path) {
  std::string url(host);
  url.append(path);
  return url;
}

void FillIfEmpty(std::string* held, std::string value) {
  if (held->empty()) *held = std::move(value);
}

}  // namespace

BrandInfo::BrandInfo(FilePath working_dir) : working_dir_(std::move(working_dir)) {}

BrandInfo::~BrandInfo() = default;

void BrandInfo::Clear() {
  LOG(INFO) << "Reset brand info.";
  for (std::string* s :
       {&setup_url_, &setup_url_version_, &setup_url64_, &setup_url_version64_, &setup_url32_,
        &brand_id_, &brand_name_, &interface_language_, &license_url_, &conf_policy_url_,
        &partner_id_, &scenarios_url_, &slide_url_, &slide_url_if_tagged_, &variations_url_,
        &abt_url_, &webntp_url_, &preloaded_wallpapers_url_, &tlpin_trial_state_}) {
    s->clear();
  }
  brand_package_path_ = FilePath();
  partner_package_path_ = FilePath();
  language_id_ = kEnglishLangId;
  alternate_installer_title_ = send_statistics_ = make_browser_default_ = TriState::kUnset;
  pin_ = false;
  feature_enabled_ = true;
  first_screen_off_ = false;
  dialogs_redesign_ = false;
  less_contrasty_ = true;
  new_identity_ = false;
  forced_test_ids_.clear();
}

void BrandInfo::ApplyBrandInfo(std::string_view text) {
  std::string parse_error;
  std::optional<Value> root = ReadJson(text, &parse_error);
  if (!root) {
    SystemErrorLogMessage(LOGSEV_ERROR, __func__, __LINE__, LastSystemErrorText()).stream()
        << "Failed to load json : " << parse_error;
    return;
  }
  if (!root->is_dict()) {
    SystemErrorLogMessage(LOGSEV_ERROR, __func__, __LINE__, LastSystemErrorText()).stream()
        << "Incorrect format of json";
    return;
  }
  ApplyStrings(*root);
  ApplyTriStates(*root);

  static constexpr std::pair<std::string_view, std::string BrandInfo::*> kLaterStrings[] = {
      {"partner_id", &BrandInfo::partner_id_},
      {"install.scenarios_url", &BrandInfo::scenarios_url_},
      {"install.slide_url", &BrandInfo::slide_url_},
      {"install.slide_url_if_tagged", &BrandInfo::slide_url_if_tagged_},
      {"urls.variations", &BrandInfo::variations_url_},
      {"urls.abt", &BrandInfo::abt_url_},
      {"urls.webntp", &BrandInfo::webntp_url_},
      {"install.preloaded_wallpapers_url", &BrandInfo::preloaded_wallpapers_url_},
  };
  for (const auto& [key, member] : kLaterStrings) {
    AssignIfEmpty(&(this->*member), FindString(*root, key));
  }

  // The pin section is looked up only where it is nested.
  if (FindNonNull(*root, "install.pin")) {
    pin_ = true;
    LOG(INFO) << "Found install.pin";
  }
  AssignIfEmpty(&tlpin_trial_state_, FindString(*root, "install.tlpin_trial_state"));
  ApplyDesignFeature(*root);
  ApplyForcedTestIds(*root);
}

void BrandInfo::ApplyStrings(const Value& root) {
  AssignIfEmpty(&interface_language_, FindString(root, "languages.interface"));
  language_id_ = LanguageCodeToLangId(interface_language_);

  static constexpr std::pair<std::string_view, std::string BrandInfo::*> kStrings[] = {
      {"brand_id", &BrandInfo::brand_id_},
      {"brand_name", &BrandInfo::brand_name_},
      {"install.setup_url", &BrandInfo::setup_url_},
      {"install.setup_url_version", &BrandInfo::setup_url_version_},
      {"install.setup_url64", &BrandInfo::setup_url64_},
      {"install.setup_url_version64", &BrandInfo::setup_url_version64_},
      {"install.setup_url32", &BrandInfo::setup_url32_},
      {"license_url", &BrandInfo::license_url_},
      {"install.conf_policy_url", &BrandInfo::conf_policy_url_},
  };
  for (const auto& [key, member] : kStrings) AssignIfEmpty(&(this->*member), FindString(root, key));
}

void BrandInfo::ApplyTriStates(const Value& root) {
  static constexpr std::pair<std::string_view, TriState BrandInfo::*> kTriStates[] = {
      {"install.alternate_installer_title", &BrandInfo::alternate_installer_title_},
      {"install.send_statistics", &BrandInfo::send_statistics_},
      {"install.make_browser_default", &BrandInfo::make_browser_default_},
  };
  for (const auto& [key, member] : kTriStates) AssignIfUnset(&(this->*member), FindBool(root, key));
}

void BrandInfo::ApplyDesignFeature(const Value& root) {
  if (const Value* feature = FindNonNull(root, "overridden_features.InstallerNewIdentity2024")) {
    ReadFlag(*feature, "enabled", &feature_enabled_);
    new_identity_ = feature_enabled_;
    ReadFlag(*feature, "params.firstScreenOff", &first_screen_off_);
    ReadFlag(*feature, "params.dialogsRedesign", &dialogs_redesign_);
    LOG_FROM(INFO, "ApplyBrandInfo") << "InstallerNewIdentity2024: enabled = " << feature_enabled_
              << ", firstScreenOff = " << first_screen_off_
              << ", dialogsRedesign = " << dialogs_redesign_;
  } else if (const Value* feature =
                 FindNonNull(root, "overridden_features.InstallerFacetune2023")) {
    ReadFlag(*feature, "enabled", &feature_enabled_);
    ReadFlag(*feature, "params.firstScreenOff", &first_screen_off_);
    ReadFlag(*feature, "params.dialogsRedesign", &dialogs_redesign_);
    ReadFlag(*feature, "params.lessContrasty", &less_contrasty_);
    LOG_FROM(INFO, "ApplyBrandInfo") << "InstallerFacetune2023: enabled = " << feature_enabled_
              << ", firstScreenOff = " << first_screen_off_
              << ", dialogsRedesign = " << dialogs_redesign_
              << ", lessContrasty = " << less_contrasty_;
  }
}

void BrandInfo::ApplyForcedTestIds(const Value& root) {
  if (!forced_test_ids_.empty()) return;
  const Value* ids = root.FindPath("forced_testids");
  const Value::List* list = ids ? ids->GetIfList() : nullptr;
  if (!list) return;
  for (const Value& id : *list) {
    if (const std::string* s = id.GetIfString()) forced_test_ids_.push_back(*s);
  }
}

void BrandInfo::SetInterfaceLanguage(std::string code) {
  // The tag lies outside what the signature covers, and the code ends up in
  // document addresses and the slides' path: only a language the installer
  // has is taken.
  if (!IsInterfaceLanguageCode(code)) {
    LOG(WARNING) << "The installer tag's interface language is not one of the installer's "
                    "languages; it is ignored";
    return;
  }
  interface_language_ = std::move(code);
  language_id_ = LanguageCodeToLangId(interface_language_);
}

void BrandInfo::ApplyDefaults() {
  FillIfEmpty(&brand_id_, "tolvar");
  FillIfEmpty(&brand_name_, brand_id_);
  FillIfEmpty(&scenarios_url_,
              DefaultUrl(endpoints::kDownloadCdn, "/browser/installer/oriel/scenarios/"));
  FillIfEmpty(&setup_url_,
              DefaultUrl(endpoints::kDownloadCdn, "/browser/" + brand_id_ + "/browser-setup.arc"));
  FillIfEmpty(&license_url_, DefaultUrl(endpoints::kLegal, "/browser_agreement/"));
  FillIfEmpty(&conf_policy_url_, DefaultUrl(endpoints::kLegal, "/confidential/"));
  // An unknown code falls back as an absent one does.
  if (!IsInterfaceLanguageCode(interface_language_)) {
    if (!interface_language_.empty()) {
      LOG(WARNING) << "The configured interface language is not one of the installer's "
                      "languages; the user's language is used";
    }
    interface_language_ = GetUserUiLanguageCode();
  }
  language_id_ = LanguageCodeToLangId(interface_language_);
  FillIfEmpty(&variations_url_,
              DefaultUrl(endpoints::kBrowserApi, "/content/get/experiments/browser.proto"));
  FillIfEmpty(&abt_url_, DefaultUrl(endpoints::kBrowserApi, "/ab/get"));
  FillIfEmpty(&webntp_url_, DefaultUrl(endpoints::kWebNtp, ""));
  LogBrandInfo();
}

void BrandInfo::LogBrandInfo() const {
  std::string test_ids;
  for (const std::string& id : forced_test_ids_) {
    if (!test_ids.empty()) test_ids.append(", ");
    test_ids.append(id);
  }
  const std::pair<const char*, std::string_view> kLines[] = {
      {"Brand id: ", brand_id_},
      {"Brand name: ", brand_name_},
      {"Setup url: ", setup_url_},
      {"Versioned setup url: ", setup_url_version_},
      {"Setup url64: ", setup_url64_},
      {"Versioned setup url64: ", setup_url_version64_},
      {"Setup url32: ", setup_url32_},
      {"Default language: ", interface_language_},
      {"Oriel install scenarios url: ", scenarios_url_},
      {"Install slide url by default: ", slide_url_},
      {"Install slide url if tagged installer: ", slide_url_if_tagged_},
      {"Show international title: ", ShowAlternateInstallerTitle() ? "1" : "0"},
      {"Send browser's statistics: ", ShouldSendStatistics() ? "1" : "0"},
      {"Make browser default after import: ", ShouldMakeBrowserDefault() ? "1" : "0"},
      {"Preloaded wallpapers url: ", preloaded_wallpapers_url_},
      {"Test ids: ", test_ids},
  };
  for (const auto& [label, value] : kLines) LOG(INFO) << label << value;
}

std::string BrandInfo::GetVariationsUrl() const { return AppendInstallerQuery(variations_url_); }

std::string BrandInfo::GetAbtUrl() const { return AppendInstallerQuery(abt_url_); }

std::string BrandInfo::AppendInstallerQuery(const std::string& url) const {
  const std::string uid = UserIdForQuery();
  return AppendQueryParameters(url, {{"brand", brand_id_},
                                     {"partner", partner_id_},
                                     {"uid", uid},
                                     {"version", TL_VERSION_STRING}});
}

std::string AppendQueryParameters(
    std::string url, const std::vector<std::pair<std::string_view, std::string_view>>& params) {
  for (const auto& [name, value] : params) {
    if (value.empty()) continue;
    url.push_back(url.find('?') == std::string::npos ? '?' : '&');
    url.append(name);
    url.push_back('=');
    url.append(value);
  }
  return url;
}

}  // namespace lite
