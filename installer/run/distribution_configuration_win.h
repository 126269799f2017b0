// The distribution configuration of one run: the parameters from the
// installer tag or the "distr-info-params" switch, and the brand read from
// the packages with the tag's "lang" override and the defaults applied.
// Built once on the main thread before the installation starts; read-only
// afterwards.
#ifndef INSTALLER_RUN_DISTRIBUTION_CONFIGURATION_WIN_H_
#define INSTALLER_RUN_DISTRIBUTION_CONFIGURATION_WIN_H_

#include <memory>
#include <string>

#include "base/file_path.h"
#include "distribution/brand_info.h"
#include "distribution/distrib_info_params.h"

namespace lite {

class InstallerCommandLine;

struct DistributionConfiguration {
  DistributionConfiguration(std::optional<std::u16string> params_switch, FilePath working_dir)
      : params(std::move(params_switch)), brand(std::move(working_dir)) {}

  DistribInfoParams params;
  BrandInfo brand;
};

// Loads the parameters, fills the brand for |brand_name| (the "brand-name"
// switch), applies "lang" and the defaults, and sets the crash keys.
std::unique_ptr<DistributionConfiguration> LoadDistributionConfiguration(
    const InstallerCommandLine& command_line, const FilePath& temp_dir,
    const std::string& brand_name);

}  // namespace lite

#endif  // INSTALLER_RUN_DISTRIBUTION_CONFIGURATION_WIN_H_
