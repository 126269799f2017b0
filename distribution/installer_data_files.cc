#include "distribution/installer_data_files.h"

namespace lite {

InstallerDataFiles::InstallerDataFiles(std::u16string installer_data, std::u16string clids,
                                       std::u16string website_icon, std::u16string abt_config)
    : paths_{FilePath(std::move(installer_data)), FilePath(std::move(clids)),
             FilePath(std::move(website_icon)), FilePath(std::move(abt_config))} {}

}  // namespace lite
