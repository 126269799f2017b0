#include "distribution/installer_data_files_win.h"

#include <string_view>

#include "base/file_util_win.h"
#include "distribution/resource_bytes_win.h"
#include "logging/log_message.h"

namespace lite {
namespace {

struct NumberedDataFile {
  DataFile file;
  int resource_id;
  const char16_t* file_name;
};

constexpr NumberedDataFile kNumberedDataFiles[] = {
    {DataFile::kInstallerData, 305, u"master_preferences"},
    {DataFile::kClids, 306, u"clids.xml"},
    {DataFile::kWebsiteIcon, 323, u"website.ico"},
};

}  // namespace

void ExtractInstallerDataIfAbsent(const FilePath& working_dir, InstallerDataFiles& files,
                                  HMODULE module) {
  for (const NumberedDataFile& data : kNumberedDataFiles) {
    if (!files.path(data.file).empty()) continue;
    const FilePath path(working_dir.value() + data.file_name);
    files.set_path(data.file, path);
    const std::string_view bytes = LoadBinResource(module, data.resource_id);
    if (bytes.empty()) LOG(WARNING) << "Failed to extract resource " << data.resource_id;
    // Written even without the resource (setup then finds an empty file);
    // a failed write shows up in setup.
    WriteWholeFile(path, std::string(bytes));
  }

  if (files.abt_config_path().empty()) {
    const FilePath path(working_dir.value() + u"abt_config_resource");
    const std::string_view bytes = LoadBinResource(module, L"ABT_CONFIG");
    WriteWholeFile(path, std::string(bytes));
    if (bytes.empty()) {
      LOG(WARNING) << "Failed to extract resource abt_config_resource";
    } else {
      files.set_path(DataFile::kAbtConfig, path);
    }
  }
}

}  // namespace lite
