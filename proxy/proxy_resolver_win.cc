#include "proxy/proxy_resolver_win.h"

#include <map>
#include <optional>
#include <utility>

#include "base/srw_lock_win.h"
#include "logging/log_message.h"
#include "proxy/internet_settings_win.h"
#include "proxy/proxy_script_win.h"
#include "proxy/url_origin.h"

namespace lite {
namespace {

// What the run has already chosen and said. Process-wide: every transport
// asks, and a script is fetched and run once per origin, not per request
// (a statistics ping must not cost a script download). The settings
// themselves are read again on every call; they are cheap and may change.
class ChoiceMemory {
 public:
  std::optional<ProxyChoice> FindScriptAnswer(const std::u16string& key) {
    SrwAutoLock hold(lock_);
    const auto it = script_answers_.find(key);
    if (it == script_answers_.end()) return std::nullopt;
    return it->second;
  }
  void KeepScriptAnswer(const std::u16string& key, const ProxyChoice& choice) {
    SrwAutoLock hold(lock_);
    script_answers_[key] = choice;
  }
  // Held while a script runs. The system's script host keeps one script for
  // the whole process (Wine's does): two runs side by side end each other's
  // (error 1003), and the failed one's fallback would stand for its origin
  // for the rest of the run. A transfer that waited here usually finds the
  // answer the run before it kept.
  SrwLock& script_run_lock() { return script_run_lock_; }
  // True the first time |origin| gets |servers|, and whenever that changes.
  bool IsNewAnswer(const std::u16string& origin, const std::u16string& servers) {
    SrwAutoLock hold(lock_);
    auto [it, inserted] = logged_.emplace(origin, servers);
    if (inserted) return true;
    if (it->second == servers) return false;
    it->second = servers;
    return true;
  }

 private:
  SrwLock lock_;
  SrwLock script_run_lock_;
  std::map<std::u16string, ProxyChoice> script_answers_;
  std::map<std::u16string, std::u16string> logged_;
};

ChoiceMemory& Memory() {
  static ChoiceMemory* memory = new ChoiceMemory();
  return *memory;
}

const char* SourceName(ProxySource source) {
  switch (source) {
    case ProxySource::kDirect:
      return "no proxy in the settings";
    case ProxySource::kManual:
      return "the manual proxy";
    case ProxySource::kScript:
      return "the proxy script";
  }
  return "";
}

ProxyChoice ManualChoice(const InternetSettings& settings) {
  ProxyChoice choice;
  if (settings.servers.empty()) return choice;
  choice.servers = settings.servers;
  choice.bypass = settings.bypass;
  choice.source = ProxySource::kManual;
  return choice;
}

ProxyChoice Choose(const std::u16string& url, const std::u16string& origin) {
  const InternetSettings settings = ReadInternetSettings();
  if (settings.script_url.empty() && !settings.auto_detect) return ManualChoice(settings);

  const std::u16string key = settings.script_url + u"\n" + origin;
  if (std::optional<ProxyChoice> known = Memory().FindScriptAnswer(key)) return *known;
  SrwAutoLock one_run(Memory().script_run_lock());
  if (std::optional<ProxyChoice> known = Memory().FindScriptAnswer(key)) return *known;
  std::optional<ProxyChoice> answer = RunProxyScript(url, settings.script_url);
  if (!answer) {
    // Windows falls back the same way: no script, then the manual proxy.
    answer = ManualChoice(settings);
    LOG(WARNING) << "Without the proxy script, " << origin << " goes "
                 << (answer->direct() ? std::u16string(u"direct")
                                      : u"through the manual proxy " + answer->servers);
  }
  Memory().KeepScriptAnswer(key, *answer);
  return *answer;
}

}  // namespace

ProxyChoice ChooseProxyForUrl(const std::u16string& url) {
  const std::u16string origin = UrlOrigin(url);
  ProxyChoice choice = Choose(url, origin);
  if (Memory().IsNewAnswer(origin, choice.servers)) {
    LOG(INFO) << "Proxy for " << origin << ": "
              << (choice.direct() ? std::u16string(u"direct") : choice.servers) << " ("
              << SourceName(choice.source) << ")";
  }
  return choice;
}

}  // namespace lite
