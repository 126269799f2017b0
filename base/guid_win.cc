#include <objbase.h>
#include <windows.h>

#include <cstring>

#include "base/guid.h"

namespace lite {

std::optional<Guid> CreateGuid() {
  GUID raw;
  if (FAILED(CoCreateGuid(&raw))) return std::nullopt;
  static_assert(sizeof(Guid) == sizeof(GUID), "layouts must match");
  Guid guid;
  std::memcpy(&guid, &raw, sizeof(guid));
  return guid;
}

}  // namespace lite
