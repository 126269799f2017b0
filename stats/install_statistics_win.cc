#include "stats/install_statistics_win.h"

namespace lite {

InstallStatistics::InstallStatistics(int32_t kind, std::u16string_view saved_params,
                                     std::unique_ptr<AsyncUrlSender> url_sender,
                                     UserIdLookup user_id)
    : sender_(std::make_unique<InstallStatSender>(kind, saved_params, user_id)),
      url_sender_(url_sender ? std::move(url_sender) : std::make_unique<AsyncUrlSender>()) {}

InstallStatistics::~InstallStatistics() {
  url_sender_.reset();
  sender_.reset();
}

void InstallStatistics::SetParam(StatParam param, std::string_view value) {
  sender_->SetParam(param, value);
}

std::string InstallStatistics::GetParam(StatParam param) { return sender_->GetParam(param); }

bool InstallStatistics::BuildAndQueue(StatCounter counter, const StatParams& event_params) {
  std::u16string url;
  {
    SrwAutoLock hold(counter_lock_);
    sender_->set_counter(counter);
    url = sender_->GetQueryUrl(event_params);
    sender_->set_counter(kDefaultCounter);
  }
  return url_sender_->Send(url);
}

bool InstallStatistics::Send(const StatParams& event_params) {
  return BuildAndQueue(kDefaultCounter, event_params);
}

void InstallStatistics::SendReinstallDialogStat(const StatParams& event_params) {
  BuildAndQueue(StatCounter::kReinstallDialog, event_params);
}

void InstallStatistics::SaveParamsToRegistry() { sender_->SaveParamsToRegistry(); }

}  // namespace lite
