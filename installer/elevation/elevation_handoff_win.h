// What the first installer hands its elevated copy, in a form no other
// process can write or signal: an unnamed section holding the parameter
// block, two unnamed events, the log file and every file setup is given,
// each opened by the first installer with its own rights. Their handle
// values travel on the copy's command line ("elevation-handoff"); the copy
// duplicates them out of the first installer, which it opens by its
// process id. Only a process that could already change the first installer
// itself could reach them.
#ifndef INSTALLER_ELEVATION_ELEVATION_HANDOFF_WIN_H_
#define INSTALLER_ELEVATION_ELEVATION_HANDOFF_WIN_H_

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/file_path.h"
#include "base/scoped_handle_win.h"
#include "installer/command_line/installer_command_line.h"
#include "installer/setup/delayed_params_win.h"
#include "logging/logger.h"

namespace lite {

inline constexpr char kElevationHandoffSwitch[] = "elevation-handoff";

// The setup switches that name a file setup reads; the copy hands setup
// only its own copies of them. The last five are the background fetches'
// results.
inline constexpr const char* kHandedFileSwitches[] = {
    "installerdata",          "clids-file",
    "tolvar-website-icon-file", "abt-config-resource-file",
    "distr-info-file",        "brand-package",
    "partner-package",        "override-partner-package",
    "variations-update-path", "abt-update-path",
    "webntp-path",            "server-config-bundle-path",
    "preloaded-wallpaper-bundle-path",
};
// The table's name for the archive, which is setup's program, not a switch.
inline constexpr char kHandedArchive[] = "browser-archive";

inline constexpr size_t kMaxHandedFiles = 16;
inline constexpr size_t kHandedFileNameSize = 40;

struct HandedFile {
  char name[kHandedFileNameSize];  // zero-terminated
  uint64_t handle;                 // in the first installer's handle table
};

// The section's content: the parameter block in the shared block's layout
// (its failure kind is the copy's answer), then the handed files.
struct HandoffBlock {
  DelayedParams params;
  uint32_t file_count;
  HandedFile files[kMaxHandedFiles];
};

// The first installer's side. Everything is made at construction, before
// the copy is started; valid() tells whether all of it could be.
class ElevationHandoff {
 public:
  ElevationHandoff();
  ElevationHandoff(const ElevationHandoff&) = delete;
  ElevationHandoff& operator=(const ElevationHandoff&) = delete;

  bool valid() const;
  HANDLE start_event() const { return start_event_.get(); }
  HANDLE abort_event() const { return abort_event_.get(); }
  // The value of "elevation-handoff": the section, the two events and the
  // log file, as decimal handle values ("0" for a log that could not be
  // opened).
  std::string SwitchValue() const;

  // Writes |values| into the section and opens |archive| and each of
  // |files| (switch name, path) for reading, for the copy to take. A file
  // that cannot be opened is logged and left out; false when the values do
  // not fit or the archive cannot be opened.
  bool HandOver(const DelayedParamsValues& values, const FilePath& archive,
                const std::vector<std::pair<std::string, FilePath>>& files);

  // What the copy wrote back once it ended.
  FailureKind failure_kind() const;

 private:
  bool AddFile(std::string_view name, const FilePath& path);

  ScopedHandle section_;
  ScopedMappedView view_;
  ScopedHandle start_event_;
  ScopedHandle abort_event_;
  ScopedHandle log_;
  std::vector<ScopedHandle> files_;
};

// The copy's side: the handles of "elevation-handoff" taken out of the
// first installer's process |parent| (opened with PROCESS_DUP_HANDLE).
// What cannot be taken stays invalid: the copy's wait then fails at once.
class ReceivedHandoff {
 public:
  ReceivedHandoff(HANDLE parent, std::string_view switch_value);
  ReceivedHandoff(const ReceivedHandoff&) = delete;
  ReceivedHandoff& operator=(const ReceivedHandoff&) = delete;

  HANDLE start_event() const { return start_event_.get(); }
  HANDLE abort_event() const { return abort_event_.get(); }
  // Null when the section could not be mapped.
  HandoffBlock* block() const {
    return static_cast<HandoffBlock*>(const_cast<void*>(view_.get()));
  }
  // A handle of this process to the handed file |name|, for reading;
  // invalid when none was handed.
  ScopedHandle TakeFile(std::string_view name) const;

 private:
  HANDLE parent_;
  std::vector<uint64_t> values_;
  ScopedHandle section_;
  ScopedMappedView view_;
  ScopedHandle start_event_;
  ScopedHandle abort_event_;
};

// Opens the first installer named by "parent-installer-process-id" for
// taking handles out of it; invalid when it cannot.
ScopedHandle OpenFirstInstaller(const InstallerCommandLine& command_line);

// The elevated copy's logger: it appends to the log through the handle the
// first installer handed it. Null when there is none; the copy then logs
// nothing rather than open a file by a path the user controls.
std::unique_ptr<Logger> CreateElevatedCopyLogger(const InstallerCommandLine& command_line);

}  // namespace lite

#endif  // INSTALLER_ELEVATION_ELEVATION_HANDOFF_WIN_H_
