#include "distribution/cabinet_win.h"

#include <windows.h>
// fdi.h needs the types of <windows.h> first.
#include <fdi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>

#include "base/proc_address_win.h"
#include "base/system_library_win.h"

namespace lite {
namespace {

using FdiCreateFunction = decltype(&FDICreate);
using FdiCopyFunction = decltype(&FDICopy);
using FdiDestroyFunction = decltype(&FDIDestroy);

struct CabinetApi {
  FdiCreateFunction create = nullptr;
  FdiCopyFunction copy = nullptr;
  FdiDestroyFunction destroy = nullptr;
};

// Null when the library or one of its functions is missing. The library is
// never freed: it serves every extraction of the process.
const CabinetApi* GetCabinetApi() {
  static const CabinetApi* const api = []() -> const CabinetApi* {
    static CabinetApi loaded;
    HMODULE module = LoadSystemLibrary(L"cabinet.dll");
    loaded.create = GetProcAddressAs<FdiCreateFunction>(module, "FDICreate");
    loaded.destroy = GetProcAddressAs<FdiDestroyFunction>(module, "FDIDestroy");
    loaded.copy = GetProcAddressAs<FdiCopyFunction>(module, "FDICopy");
    return loaded.create && loaded.destroy && loaded.copy ? &loaded : nullptr;
  }();
  return api;
}

// What FDI's file handles stand for: a reader over the cabinet bytes, or
// the member being extracted.
struct FdiStream {
  enum class Kind { kReader, kOutput };
  Kind kind = Kind::kReader;
  std::string_view source;
  size_t position = 0;
  std::string* output = nullptr;
};

struct ExtractionContext {
  const std::string* wanted_name = nullptr;
  std::map<std::string, std::string>* files = nullptr;
  std::string buffer;
  size_t expected_size = 0;
  FdiStream output{FdiStream::Kind::kOutput, {}, 0, &buffer};
};

FdiStream* StreamOf(INT_PTR handle) { return reinterpret_cast<FdiStream*>(handle); }

FNALLOC(HeapAllocate) { return HeapAlloc(GetProcessHeap(), 0, cb); }
FNFREE(HeapRelease) { HeapFree(GetProcessHeap(), 0, pv); }

// The cabinet "name" is the decimal address of the string_view holding the
// bytes; FDI hands it back here unchanged.
FNOPEN(OpenMemory) {
  char* end = nullptr;
  const unsigned long long address = std::strtoull(pszFile, &end, 10);
  if (address == 0 || end == pszFile || *end != '\0') return -1;
  FdiStream* reader = new (std::nothrow) FdiStream;
  if (!reader) return -1;
  reader->source = *reinterpret_cast<const std::string_view*>(static_cast<uintptr_t>(address));
  return reinterpret_cast<INT_PTR>(reader);
}

FNREAD(ReadMemory) {
  FdiStream* stream = StreamOf(hf);
  if (stream->kind != FdiStream::Kind::kReader) return static_cast<UINT>(-1);
  const size_t count = std::min<size_t>(cb, stream->source.size() - stream->position);
  memcpy(pv, stream->source.data() + stream->position, count);
  stream->position += count;
  return static_cast<UINT>(count);
}

FNWRITE(WriteMember) {
  FdiStream* stream = StreamOf(hf);
  if (stream->kind != FdiStream::Kind::kOutput) return static_cast<UINT>(-1);
  try {
    stream->output->append(static_cast<const char*>(pv), cb);
  } catch (const std::exception&) {
    return static_cast<UINT>(-1);
  }
  return cb;
}

FNCLOSE(CloseStream) {
  FdiStream* stream = StreamOf(hf);
  // The output belongs to the extraction context.
  if (stream->kind == FdiStream::Kind::kReader) delete stream;
  return 0;
}

FNSEEK(SeekMemory) {
  FdiStream* stream = StreamOf(hf);
  if (stream->kind != FdiStream::Kind::kReader) return -1;
  long long base = 0;
  switch (seektype) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = static_cast<long long>(stream->position); break;
    case SEEK_END: base = static_cast<long long>(stream->source.size()); break;
    default: return -1;
  }
  const long long target = base + dist;
  if (target < 0 || target > static_cast<long long>(stream->source.size())) return -1;
  stream->position = static_cast<size_t>(target);
  return static_cast<__LONG32>(target);
}

FNFDINOTIFY(OnNotification) {
  ExtractionContext* context = static_cast<ExtractionContext*>(pfdin->pv);
  switch (fdint) {
    case fdintCABINET_INFO:
    case fdintENUMERATE:
      return 0;
    case fdintCOPY_FILE:
      if (!context->wanted_name->empty() && *context->wanted_name != pfdin->psz1) return 0;
      // The size comes from the cabinet; one of 2 GiB or more reads as
      // negative here and cannot be held in memory anyway.
      if (pfdin->cb < 0) return -1;
      context->buffer.clear();
      context->expected_size = static_cast<size_t>(pfdin->cb);
      // No exception may leave a callback: it would unwind through
      // cabinet.dll.
      try {
        context->buffer.reserve(context->expected_size);
      } catch (const std::exception&) {
        return -1;
      }
      return reinterpret_cast<INT_PTR>(&context->output);
    case fdintCLOSE_FILE_INFO:
      // FDI may close a member whose data failed to decompress: a member
      // shorter than its header says is not kept.
      if (context->buffer.size() != context->expected_size) return FALSE;
      try {
        (*context->files)[pfdin->psz1] = std::move(context->buffer);
      } catch (const std::exception&) {
        return -1;
      }
      context->buffer.clear();
      return TRUE;
    case fdintPARTIAL_FILE:
    case fdintNEXT_CABINET:
    default:
      // Packages are single, self-contained cabinets.
      return -1;
  }
}

}  // namespace

bool LoadCabinetLibrary() { return GetCabinetApi() != nullptr; }

bool ExtractCabinetFiles(std::string_view cabinet, const std::string& wanted_name,
                         std::map<std::string, std::string>* files) {
  files->clear();
  const CabinetApi* api = GetCabinetApi();
  if (!api) return false;

  ERF error = {};
  HFDI fdi = api->create(HeapAllocate, HeapRelease, OpenMemory, ReadMemory, WriteMember,
                         CloseStream, SeekMemory, cpuUNKNOWN, &error);
  if (!fdi) return false;

  ExtractionContext context;
  context.wanted_name = &wanted_name;
  context.files = files;
  char source_name[32];
  std::snprintf(source_name, sizeof(source_name), "%llu",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(&cabinet)));
  char empty_path[1] = "";
  const BOOL copied =
      api->copy(fdi, source_name, empty_path, 0, OnNotification, nullptr, &context);
  api->destroy(fdi);
  return copied != FALSE;
}

}  // namespace lite
