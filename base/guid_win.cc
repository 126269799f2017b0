#include <objbase.h>
#include <windows.h>

#include <cstring>

#include "base/guid.h"

namespace lite {

std::optional<Guid> CreateGuid() {
  GUID raw;
  if (FAILED(CoCreateGuid(&raw))) return std::nullopt;
  Guid guid;
  guid.data1 = raw.Data1;
  guid.data2 = raw.Data2;
  guid.data3 = raw.Data3;
  std::memcpy(guid.data4, raw.Data4, sizeof(guid.data4));
  return guid;
}

}  // namespace lite
