#include "default_browser/interface_probe_status.h"

namespace lite::win10_default_browser {
namespace {

constexpr uint32_t kResultFactor = 1000000000;
constexpr uint32_t kBuildFactor = 10000;
constexpr uint32_t kMaxResultCode = 4;
constexpr uint32_t kFirstBuildTooLarge = 29497;
constexpr uint32_t kFirstRevisionTooLarge = 7296;

}  // namespace

InterfaceProbeStatus MakeInterfaceProbeStatus(uint32_t result_code, uint32_t build,
                                              uint32_t revision) {
  const uint64_t code = result_code > kMaxResultCode ? kMaxResultCode : result_code;
  const uint64_t build_part =
      build >= kFirstBuildTooLarge ? 0 : (uint64_t{build} * kBuildFactor) % kResultFactor;
  const uint64_t revision_part = revision >= kFirstRevisionTooLarge ? 0 : revision;
  return static_cast<InterfaceProbeStatus>(code * kResultFactor + build_part + revision_part);
}

bool IsKnownGoodBuild(uint32_t build, uint32_t revision) {
  return build > 17703 || (build == 17134 && revision > 318);
}

ProbeResult ClassifyProbeExitCode(int exit_code) {
  if (exit_code < 0) return ProbeResult::kCrashed;
  if (exit_code == kProbeExitAvailable) return ProbeResult::kAvailable;
  if (exit_code == kProbeExitNotAvailable) return ProbeResult::kNotAvailable;
  return ProbeResult::kOtherFailure;
}

}  // namespace lite::win10_default_browser
