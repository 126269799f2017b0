// The command line of the browser's setup program: the installer's own
// switches passed on, with the archive as the program, plus what the
// installation has gathered (choices, time stamps, data files, brand ids).
#ifndef INSTALLER_SETUP_SETUP_COMMAND_LINE_H_
#define INSTALLER_SETUP_SETUP_COMMAND_LINE_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/file_path.h"
#include "installer/command_line/installer_command_line.h"

namespace lite {

// What the engine knows when it starts setup. Empty paths and texts, and
// zero time values, leave their switch out unless noted otherwise.
struct SetupCommandLineInputs {
  const InstallerCommandLine* process_command_line = nullptr;  // copied
  std::u16string archive_path;  // becomes the program
  bool with_data_files = false;
  bool uac_declined = false;
  uint64_t progress_window = 0;  // the delegate's window handle; 0 without one
  std::string brand_name;
  FilePath distr_info_file;
  bool make_default = false;
  bool send_statistics = false;
  bool install_pin = true;
  int64_t ok_button_pressed_time = 0;
  int64_t install_start_time = 0;
  int64_t interface_availability = 0;
  FilePath abt_config_resource_file;
  // With data files only: "installerdata" and "clids-file" are written even
  // when empty.
  FilePath installer_data;
  FilePath clids_file;
  FilePath website_icon_file;
  FilePath brand_package;    // empty when no brand package is present
  FilePath partner_package;  // empty when no partner package is present
  FilePath override_partner_package;
  int elevation_mode = 0;  // 2: the browser asks for elevation at its start
  std::string uts2;        // distribution parameter; only "1" counts
  std::string browser_present;
  std::string installer_brand_id;
  std::string installer_partner_id;
  std::vector<std::string> test_ids;
  // (switch, path) of the background tasks' results, in their order.
  std::vector<std::pair<std::string, FilePath>> background_results;
};

InstallerCommandLine BuildSetupCommandLine(const SetupCommandLineInputs& in);

}  // namespace lite

#endif  // INSTALLER_SETUP_SETUP_COMMAND_LINE_H_
