#include "tools/ui_gallery/gallery_options.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace lite {
namespace {

struct DesignRow {
  const char* name;
  WindowDesign design;
};
constexpr DesignRow kDesigns[] = {
    {"newidentity", WindowDesign::kNewIdentity},
    {"facetune", WindowDesign::kFacetune},
    {"origin", WindowDesign::kOrigin},
};

struct ReleaseRow {
  const char* name;
  WindowsRelease release;
};
constexpr ReleaseRow kReleases[] = {
    {"7", WindowsRelease::kWin7},
    {"8", WindowsRelease::kWin8},
    {"8.1", WindowsRelease::kWin81},
    {"10", WindowsRelease::kWin10},
};

bool ParseBool(const std::string& value, bool* out) {
  if (value == "1" || value == "true" || value.empty()) {
    *out = true;
  } else if (value == "0" || value == "false") {
    *out = false;
  } else {
    return false;
  }
  return true;
}

}  // namespace

std::optional<GalleryOptions> ParseGalleryOptions(const std::vector<std::string>& args,
                                                  const GalleryOptions& defaults,
                                                  std::string* error) {
  GalleryOptions options = defaults;
  for (const std::string& arg : args) {
    if (arg.rfind("--", 0) != 0) {
      *error = "not a switch: " + arg;
      return std::nullopt;
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos
                                                                        : equals - 2);
    const std::string value = equals == std::string::npos ? "" : arg.substr(equals + 1);
    bool known = true;
    bool valid = true;
    if (name == "page") {
      options.page = value;
      valid = !value.empty();
    } else if (name == "design") {
      valid = false;
      for (const DesignRow& row : kDesigns) {
        if (value == row.name) {
          options.design = row.design;
          valid = true;
        }
      }
    } else if (name == "windows") {
      valid = false;
      for (const ReleaseRow& row : kReleases) {
        if (value == row.name) {
          options.windows = row.release;
          valid = true;
        }
      }
    } else if (name == "lang") {
      valid = false;
      for (const std::string& code : InterfaceLanguages()) valid = valid || code == value;
      if (valid) options.language = value;
    } else if (name == "force-device-scale-factor") {
      char* end = nullptr;
      const double factor = std::strtod(value.c_str(), &end);
      valid = end && *end == '\0' && std::isfinite(factor) && factor >= 0.5 && factor <= 4;
      if (valid) options.scale_factor = factor;
    } else if (name == "less-contrasty") {
      valid = ParseBool(value, &options.less_contrasty);
    } else if (name == "classic-dialogs") {
      valid = ParseBool(value, &options.classic_dialogs);
    } else if (name == "params") {
      options.params = value;
      valid = !value.empty();
    } else if (name == "percent") {
      char* end = nullptr;
      const long percent = std::strtol(value.c_str(), &end, 10);
      valid = !value.empty() && end && *end == '\0' && percent >= 0 && percent <= 100;
      if (valid) options.progress_percent = static_cast<int>(percent);
    } else if (name == "shot") {
      options.shot = value;
      valid = !value.empty();
    } else {
      known = false;
    }
    if (!known || !valid) {
      *error = (known ? "bad value in " : "unknown switch ") + arg;
      return std::nullopt;
    }
  }
  return options;
}

std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

const char* DesignName(WindowDesign design) {
  for (const DesignRow& row : kDesigns) {
    if (row.design == design) return row.name;
  }
  return "";
}

const std::vector<std::string>& InterfaceLanguages() {
  static const std::vector<std::string> codes = {
      "en", "ru", "uk", "tr", "de", "es", "fr", "it",
      "ja", "kk", "uz", "cs", "pt-PT", "pt-BR", "zh-CN", "zh-TW"};
  return codes;
}

std::string BrandConfigFor(const GalleryOptions& options) {
  const std::string redesign = options.classic_dialogs ? "false" : "true";
  switch (options.design) {
    case WindowDesign::kNewIdentity:
      return R"({"overridden_features": {"InstallerNewIdentity2024": {"enabled": true, )"
             R"("params": {"dialogsRedesign": )" + redesign + "}}}}";
    case WindowDesign::kFacetune:
      return R"({"overridden_features": {"InstallerFacetune2023": {"enabled": true, )"
             R"("params": {"dialogsRedesign": )" + redesign + R"(, "lessContrasty": )" +
             (options.less_contrasty ? "true" : "false") + "}}}}";
    case WindowDesign::kOrigin:
      break;
  }
  return R"({"overridden_features": {"InstallerFacetune2023": {"enabled": false}}})";
}

}  // namespace lite
