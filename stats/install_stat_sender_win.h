// The persistent statistics parameters and the URL of one statistics
// request built from them and an event's own parameters.
#ifndef STATS_INSTALL_STAT_SENDER_WIN_H_
#define STATS_INSTALL_STAT_SENDER_WIN_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "base/srw_lock_win.h"
#include "stats/stat_params.h"
#include "stats/stat_query_url.h"
#include "stats/user_id_win.h"

namespace lite {

// The registry value (per-user product key) through which a later installer
// process of the same user, notably the elevated copy, inherits the
// parameters.
inline constexpr char16_t kInstallStatValueName[] = u"install_stat";

enum InstallerKind : int32_t {
  kInstallerKindLite = 0,
  kInstallerKindFull = 1,
};

class InstallStatSender {
 public:
  // Restores |saved_params| (the "install_stat" text, may be empty), then
  // sets launched, ui (looked up as |user_id| says), old_ver (unless
  // restored), lite_ver (lite only) and installer_type.
  InstallStatSender(int32_t kind, std::u16string_view saved_params,
                    UserIdLookup user_id = UserIdLookup::kCreateWhenMissing);
  InstallStatSender(const InstallStatSender&) = delete;
  InstallStatSender& operator=(const InstallStatSender&) = delete;
  // Removes the "install_stat" value: it lives only while an installer runs.
  virtual ~InstallStatSender();

  // The request URL for |event_params| on the current counter.
  virtual std::u16string GetQueryUrl(const StatParams& event_params);

  void SetParam(StatParam param, std::string_view value);
  // The stored value narrowed, or empty.
  std::string GetParam(StatParam param);
  // A copy of the persistent parameters.
  StatParams params();

  void set_counter(StatCounter counter);

  // Stores the persistent parameters as the "install_stat" value.
  void SaveParamsToRegistry();

 private:
  const int32_t kind_;
  SrwLock lock_;  // the window's thread and the worker thread share the map
  StatParams params_;
  StatCounter counter_ = StatCounter::kExtendedStat;
};

// "true" when the browser left a launch command line whose global event
// exists right now, else "false".
std::u16string CheckBrowserLaunched();

}  // namespace lite

#endif  // STATS_INSTALL_STAT_SENDER_WIN_H_
