// What a setup program was handed: its command line and the per-user values
// the installer left for it. The record is JSON so that tests read it with
// the installer's own reader:
//   {"command_line": "<raw text>", "arguments": ["<program>", "--a", ...],
//    "registry": {"lang": "en", ...}}
// Values that are absent from the registry are absent from "registry".
#ifndef TOOLS_FAKE_SETUP_SETUP_RECORD_WIN_H_
#define TOOLS_FAKE_SETUP_SETUP_RECORD_WIN_H_

#include <string>
#include <vector>

#include "base/file_path.h"
#include "base/json/json_value.h"

namespace lite {

// The values a setup program may read under
// HKEY_CURRENT_USER\Software\Tolvar\TolvarBrowser.
inline constexpr const char16_t* kHandedOverValueNames[] = {
    u"lang",          u"InstallerData", u"ClidsFile", u"TolvarWebsiteIconFile",
    u"AbtConfigResourceFile", u"brand", u"BrandFile", u"PartnerFile",
    u"install_stat",  u"DistribInfoParams",
};

// This process's command line as CommandLineToArgvW splits it.
std::vector<std::u16string> CommandLineWords();

// This process's command line and the handed-over values present now.
Value CaptureSetupRecord();

// Writes |record| so that a reader polling for |path| never sees half of it.
bool WriteSetupRecord(const Value& record, const FilePath& path);

}  // namespace lite

#endif  // TOOLS_FAKE_SETUP_SETUP_RECORD_WIN_H_
