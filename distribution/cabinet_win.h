// In-memory extraction of Microsoft Cabinet files through cabinet.dll.
#ifndef DISTRIBUTION_CABINET_WIN_H_
#define DISTRIBUTION_CABINET_WIN_H_

#include <map>
#include <string>
#include <string_view>

namespace lite {

// Loads the system's cabinet.dll once per process and resolves FDICreate,
// FDICopy and FDIDestroy; false when any of them is unavailable.
bool LoadCabinetLibrary();

// Fills |files| with the members of |cabinet| named exactly |wanted_name|
// (case matters), or with every member when |wanted_name| is empty. The
// result is FDICopy's; |files| keeps the members completed before a
// failure. Multi-cabinet sets are refused.
bool ExtractCabinetFiles(std::string_view cabinet, const std::string& wanted_name,
                         std::map<std::string, std::string>* files);

}  // namespace lite

#endif  // DISTRIBUTION_CABINET_WIN_H_
