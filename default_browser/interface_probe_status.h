// The number that describes one check of the default-browser interfaces:
// result code × 1,000,000,000 + Windows build × 10,000 + update build
// revision, each part limited so that the whole fits in 32 bits. Setup gets
// it as "the-interface-availability".
#ifndef DEFAULT_BROWSER_INTERFACE_PROBE_STATUS_H_
#define DEFAULT_BROWSER_INTERFACE_PROBE_STATUS_H_

#include <cstdint>

namespace lite::win10_default_browser {

using InterfaceProbeStatus = uint32_t;

enum class ProbeResult : uint32_t {
  kAvailable = 0,     // or not probed: the build is known to be good
  kCrashed = 1,       // the probe copy ended with a negative exit code
  kNotAvailable = 2,  // the probe copy said so (701)
  kTimedOut = 3,      // the probe copy was still running after the wait
  kOtherFailure = 4,  // no program, no launch, or an unexpected exit code
};

// Builds from 29497 and revisions from 7296 on are stored as 0; result
// codes above 4 as 4.
InterfaceProbeStatus MakeInterfaceProbeStatus(uint32_t result_code, uint32_t build,
                                              uint32_t revision);
inline InterfaceProbeStatus MakeInterfaceProbeStatus(ProbeResult result, uint32_t build,
                                                     uint32_t revision) {
  return MakeInterfaceProbeStatus(static_cast<uint32_t>(result), build, revision);
}

// Builds where the interfaces are known to work, so no probe copy is needed.
bool IsKnownGoodBuild(uint32_t build, uint32_t revision);

// The probe copy's exit code: 700 available, 701 not, negative a crash.
inline constexpr int kProbeExitAvailable = 700;
inline constexpr int kProbeExitNotAvailable = 701;
ProbeResult ClassifyProbeExitCode(int exit_code);

}  // namespace lite::win10_default_browser

#endif  // DEFAULT_BROWSER_INTERFACE_PROBE_STATUS_H_
