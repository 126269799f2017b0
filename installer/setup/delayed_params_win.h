// The parameter block through which the first installer hands the elevated
// copy what its command line cannot carry: the verified archive, the data
// files, the user's choices. It is a data section shared by every process
// running the same installer file (a copy elsewhere has its own), zero when
// the first of them starts.
#ifndef INSTALLER_SETUP_DELAYED_PARAMS_WIN_H_
#define INSTALLER_SETUP_DELAYED_PARAMS_WIN_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "installer/command_line/installer_command_line.h"

namespace lite {

inline constexpr size_t kDelayedPathUnits = 261;  // MAX_PATH and the terminator
inline constexpr size_t kDelayedTextUnits = 33;

// Fixed layout: both sides of the hand-off are the same file, but the
// offsets are part of the installer's contract, so they are pinned below.
// Text fields are UTF-16, zero-terminated within the field.
struct DelayedParams {
  char16_t browser_arc_path[kDelayedPathUnits];
  char16_t clids_file_path[kDelayedPathUnits];
  char16_t tolvar_website_icon_file_path[kDelayedPathUnits];
  char16_t installer_data_path[kDelayedPathUnits];
  char16_t brand_package_path[kDelayedPathUnits];
  char16_t partner_package_path[kDelayedPathUnits];
  char16_t partner_package_override_path[kDelayedPathUnits];
  char16_t histogram_download_time[kDelayedTextUnits];  // whole seconds
  char16_t histogram_full_time[kDelayedTextUnits];      // install-start time stamp
  uint8_t send_statistics;
  uint8_t make_default;
  uint8_t install_tlpin;
  uint8_t padding[3];
  int32_t failure_kind;  // FailureKind, written and read on its own
};

static_assert(offsetof(DelayedParams, browser_arc_path) == 0x000);
static_assert(offsetof(DelayedParams, clids_file_path) == 0x20A);
static_assert(offsetof(DelayedParams, tolvar_website_icon_file_path) == 0x414);
static_assert(offsetof(DelayedParams, installer_data_path) == 0x61E);
static_assert(offsetof(DelayedParams, brand_package_path) == 0x828);
static_assert(offsetof(DelayedParams, partner_package_path) == 0xA32);
static_assert(offsetof(DelayedParams, partner_package_override_path) == 0xC3C);
static_assert(offsetof(DelayedParams, histogram_download_time) == 0xE46);
static_assert(offsetof(DelayedParams, histogram_full_time) == 0xE88);
static_assert(offsetof(DelayedParams, send_statistics) == 0xECA);
static_assert(offsetof(DelayedParams, make_default) == 0xECB);
static_assert(offsetof(DelayedParams, install_tlpin) == 0xECC);
static_assert(offsetof(DelayedParams, failure_kind) == 0xED0);
static_assert(sizeof(DelayedParams) == 0xED4);

struct DelayedParamsValues {
  std::u16string browser_arc_path;
  std::u16string clids_file_path;
  std::u16string tolvar_website_icon_file_path;
  std::u16string installer_data_path;
  std::u16string brand_package_path;
  std::u16string partner_package_path;
  std::u16string partner_package_override_path;
  std::u16string histogram_download_time;
  std::u16string histogram_full_time;
  bool send_statistics = false;
  bool make_default = false;
  bool install_tlpin = true;
};

// Paths of up to 260 units and texts of up to 32 fit. Anything longer logs
// one error line with every value and leaves the block as it was.
bool WriteDelayedParams(const DelayedParamsValues& values);
// The same into |block|, a record of the same layout kept elsewhere.
bool WriteDelayedParams(const DelayedParamsValues& values, DelayedParams* block);

// Puts the shared block's archive as |setup_command_line|'s program and its
// paths and choices as switches; the website icon only when the file it
// names can be read and is not empty.
void ReadDelayedParams(InstallerCommandLine* setup_command_line);
// The same from |block|, without opening any file it names: the website
// icon's switch is added whenever its path is not empty.
void ReadDelayedParams(const DelayedParams& block, InstallerCommandLine* setup_command_line);

// Why the setup program failed in whichever process ran it; never reset.
enum class FailureKind : int32_t {
  kNone = 0,
  kMachineTypeMismatch = 4,  // CreateProcessW: ERROR_EXE_MACHINE_TYPE_MISMATCH
  kSetupExit7 = 5,
  kSetupExit8 = 6,
};

void SetFailureKind(FailureKind kind);
FailureKind GetFailureKind();
// The kind this process itself set last (none before), whatever other
// processes wrote into the shared block since.
FailureKind GetOwnFailureKind();
// The same for a block kept elsewhere, mapped into more than one process.
void SetFailureKind(DelayedParams* block, FailureKind kind);
FailureKind GetFailureKind(const DelayedParams& block);

}  // namespace lite

#endif  // INSTALLER_SETUP_DELAYED_PARAMS_WIN_H_
