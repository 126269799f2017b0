// Writing the compiled-in data files that no switch supplied.
#ifndef DISTRIBUTION_INSTALLER_DATA_FILES_WIN_H_
#define DISTRIBUTION_INSTALLER_DATA_FILES_WIN_H_

#include <windows.h>

#include "base/file_path.h"
#include "distribution/installer_data_files.h"

namespace lite {

// For every path of |files| still empty: the file's name in |working_dir|
// (which ends in a separator) receives the resource of |module| (the
// running executable when null). Paths given on the command line are left
// alone. Without the experiment configuration resource its path stays empty.
void ExtractInstallerDataIfAbsent(const FilePath& working_dir, InstallerDataFiles& files,
                                  HMODULE module = nullptr);

}  // namespace lite

#endif  // DISTRIBUTION_INSTALLER_DATA_FILES_WIN_H_
