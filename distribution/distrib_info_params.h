// The distribution parameters of this run: taken from the
// "distr-info-params" switch or the installer tag of the running executable,
// handed to setup as a registry value and as the distrib_info JSON file.
#ifndef DISTRIBUTION_DISTRIB_INFO_PARAMS_H_
#define DISTRIBUTION_DISTRIB_INFO_PARAMS_H_

#include <optional>
#include <string>

#include "base/file_path.h"
#include "distribution/distrib_params.h"

namespace lite {

inline constexpr char16_t kDistribInfoParamsValueName[] = u"DistribInfoParams";
inline constexpr char16_t kDistribInfoFileName[] = u"distrib_info";

class DistribInfoParams {
 public:
  // |params_switch| is the value of "distr-info-params" when the switch is
  // on the command line; an empty value counts as no switch.
  explicit DistribInfoParams(std::optional<std::u16string> params_switch);
  DistribInfoParams(const DistribInfoParams&) = delete;
  DistribInfoParams& operator=(const DistribInfoParams&) = delete;
  virtual ~DistribInfoParams();

  // Reads the text, stores it for setup and writes the distrib_info file.
  // True when a distrib_info path was recorded (at least one parameter).
  bool LoadDistribParams();

  virtual bool GetParam(const std::string& key, std::string* value) const;
  // "1" is true, "2" is false; any other value, or none, is not found.
  bool GetTriStateParam(const std::string& key, bool* flag) const;

  // Empty when no parameter exists; set even when writing the file failed.
  const FilePath& distrib_info_path() const { return distrib_info_path_; }
  const DistribParamMap& params() const { return params_; }

 protected:
  // Seams for tests: where the raw text goes, and which file carries the tag.
  virtual bool StoreRegistryValue(const std::u16string& name, const std::u16string& value);
  virtual FilePath GetOwnExecutablePath() const;

 private:
  std::string ReadParamsText() const;
  void CreateJsonFromDistribParams(const FilePath& path) const;

  const std::optional<std::u16string> params_switch_;
  FilePath distrib_info_path_;
  DistribParamMap params_;
};

}  // namespace lite

#endif  // DISTRIBUTION_DISTRIB_INFO_PARAMS_H_
