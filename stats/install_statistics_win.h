// The statistics object of one installation: the persistent parameters and
// the background sender that delivers each event's request.
#ifndef STATS_INSTALL_STATISTICS_WIN_H_
#define STATS_INSTALL_STATISTICS_WIN_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/srw_lock_win.h"
#include "stats/async_url_sender_win.h"
#include "stats/install_stat_sender_win.h"
#include "stats/stat_params.h"

namespace lite {

class InstallStatistics {
 public:
  // |saved_params| is the current "install_stat" value (empty if missing).
  // |url_sender| replaces the background sender (tests route it to a local
  // server); null gives the ordinary one. |user_id| tells whether the
  // identifier sent may be created.
  InstallStatistics(int32_t kind, std::u16string_view saved_params,
                    std::unique_ptr<AsyncUrlSender> url_sender = nullptr,
                    UserIdLookup user_id = UserIdLookup::kCreateWhenMissing);
  InstallStatistics(const InstallStatistics&) = delete;
  InstallStatistics& operator=(const InstallStatistics&) = delete;
  // The URL sender goes first (queued requests are dropped), then the
  // parameters, which removes the "install_stat" value.
  ~InstallStatistics();

  void SetParam(StatParam param, std::string_view value);
  std::string GetParam(StatParam param);

  // Queues one event on the default counter; false when the request thread
  // could not be started.
  bool Send(const StatParams& event_params);
  // The same on the reinstall-dialog counter.
  void SendReinstallDialogStat(const StatParams& event_params);

  void SaveParamsToRegistry();

  InstallStatSender& sender() { return *sender_; }

 private:
  static constexpr StatCounter kDefaultCounter = StatCounter::kExtendedStat;

  bool BuildAndQueue(StatCounter counter, const StatParams& event_params);

  // Declared before the URL sender so that it is destroyed after it.
  std::unique_ptr<InstallStatSender> sender_;
  std::unique_ptr<AsyncUrlSender> url_sender_;
  // Keeps one thread's switch to another counter from leaking into a
  // request that another thread builds meanwhile.
  SrwLock counter_lock_;
};

}  // namespace lite

#endif  // STATS_INSTALL_STATISTICS_WIN_H_
