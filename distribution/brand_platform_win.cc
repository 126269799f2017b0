#include "distribution/brand_platform.h"

#include <windows.h>

#include "logging/system_error_win.h"
#include "stats/user_id_win.h"

namespace lite {

uint32_t UserDefaultUiLanguageId() { return GetUserDefaultUILanguage(); }

std::string UserIdForQuery() { return GetUserId(); }

std::string LastSystemErrorText() { return SystemErrorText(GetLastError()); }

}  // namespace lite
