#include "tests/ui/interactive_installation_win.h"

#include "tests/ui/wait_win.h"

namespace lite {
namespace testing {
namespace {

bool Contains(const StatEvent& event, const StatEvent& wanted) {
  for (const auto& [key, value] : wanted) {
    const auto found = event.find(key);
    if (found == event.end() || found->second != value) return false;
  }
  return true;
}

}  // namespace

InteractiveInstallation::~InteractiveInstallation() {
  // A failed case may leave the installer running; its elevated copy and
  // setup end with it (they wait on its process).
  if (process_.is_valid() && !exit_code_) {
    process_.Terminate(1);
    int code = 0;
    process_.WaitForExit(10000, &code);
  }
}

bool InteractiveInstallation::Start(const std::vector<std::u16string>& switches,
                                    const FakeSetup& setup) {
  setup_ = setup;
  process_ = StartAnother(switches);
  return process_.is_valid();
}

Process InteractiveInstallation::StartAnother(const std::vector<std::u16string>& switches) const {
  return Launch(switches, setup_);
}

std::optional<int> InteractiveInstallation::WaitForExit(DWORD timeout_ms) {
  if (!exit_code_ && process_.is_valid()) {
    int code = 0;
    if (process_.WaitForExit(timeout_ms, &code)) exit_code_ = code;
  }
  return exit_code_;
}

bool InteractiveInstallation::WaitForLogLine(const std::string& text, DWORD timeout_ms) const {
  return WaitUntil([&] { return !LogLinesWith(text).empty(); }, timeout_ms, 100);
}

bool InteractiveInstallation::WaitForEvent(const StatEvent& wanted, DWORD timeout_ms) {
  return WaitUntil(
      [&] {
        for (const StatEvent& event : StatEventsSoFar()) {
          if (Contains(event, wanted)) return true;
        }
        return false;
      },
      timeout_ms, 200);
}

std::string InteractiveInstallation::State() {
  std::string state = "the installer (process " + std::to_string(process_.id()) + ") ";
  if (!process_.is_valid()) {
    state += "was not started";
  } else if (const std::optional<int> code = WaitForExit(0)) {
    state += "ended with " + std::to_string(*code);
  } else {
    state += "still runs";
  }
  const std::vector<std::string> lines = LogLines();
  return state + "; its log stopped at: " + (lines.empty() ? "(no log)" : lines.back());
}

std::vector<StatEvent> EventsNamed(const std::vector<StatEvent>& events, const std::string& word) {
  std::vector<StatEvent> named;
  for (const StatEvent& event : events) {
    for (const char* key : {"action", "clicked_button", "clicked_link", "chosen_checkbox"}) {
      const auto found = event.find(key);
      if (found != event.end() && found->second == word) {
        named.push_back(event);
        break;
      }
    }
  }
  return named;
}

}  // namespace testing
}  // namespace lite
