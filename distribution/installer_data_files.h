// The four data files handed to the browser's setup program: each path
// comes from its switch, or is filled in with a compiled-in copy written to
// the temporary directory (installer_data_files_win.h).
#ifndef DISTRIBUTION_INSTALLER_DATA_FILES_H_
#define DISTRIBUTION_INSTALLER_DATA_FILES_H_

#include <string>

#include "base/file_path.h"

namespace lite {

// In the order setup receives them.
enum class DataFile { kInstallerData, kClids, kWebsiteIcon, kAbtConfig, kCount };

class InstallerDataFiles {
 public:
  // The values of "installerdata", "clids-file", "tolvar-website-icon-file"
  // and "abt-config-resource-file"; empty when a switch is absent.
  InstallerDataFiles(std::u16string installer_data, std::u16string clids,
                     std::u16string website_icon, std::u16string abt_config);

  const FilePath& path(DataFile file) const { return paths_[static_cast<int>(file)]; }
  void set_path(DataFile file, FilePath path) { paths_[static_cast<int>(file)] = std::move(path); }

  const FilePath& installer_data_path() const { return path(DataFile::kInstallerData); }
  const FilePath& clids_path() const { return path(DataFile::kClids); }
  const FilePath& website_icon_path() const { return path(DataFile::kWebsiteIcon); }
  // Empty when the build carries no experiment configuration.
  const FilePath& abt_config_path() const { return path(DataFile::kAbtConfig); }

 private:
  FilePath paths_[static_cast<int>(DataFile::kCount)];
};

}  // namespace lite

#endif  // DISTRIBUTION_INSTALLER_DATA_FILES_H_
