#include "trust/module_image_range_win.h"

#include <cstdint>

#include "trust/address_range.h"

namespace lite {
namespace {

constexpr DWORD kReadableProtections = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY |
                                       PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE |
                                       PAGE_EXECUTE_WRITECOPY;

bool IsReadableRegion(const MEMORY_BASIC_INFORMATION& region, uintptr_t allocation) {
  return region.State == MEM_COMMIT &&
         reinterpret_cast<uintptr_t>(region.AllocationBase) == allocation &&
         (region.Protect & PAGE_GUARD) == 0 && (region.Protect & kReadableProtections) != 0;
}

// Whether every page of [start, start + size) lies in the allocation that
// begins at |allocation| and may be read. |size| has been checked not to
// wrap.
bool IsReadableWithin(uintptr_t allocation, uintptr_t start, uintptr_t size) {
  const uintptr_t end = start + size;
  uintptr_t next = start;
  do {
    MEMORY_BASIC_INFORMATION region;
    if (!VirtualQuery(reinterpret_cast<const void*>(next), &region, sizeof(region)) ||
        !IsReadableRegion(region, allocation)) {
      return false;
    }
    const uintptr_t region_base = reinterpret_cast<uintptr_t>(region.BaseAddress);
    // A region never reaches past the top of the address space.
    next = region_base + region.RegionSize;
  } while (next < end);
  return true;
}

// SizeOfImage from the headers at |base|, each read only once its bytes
// are known to be readable; 0 when they are not an image's.
uintptr_t ImageSize(uintptr_t base) {
  if (!IsReadableWithin(base, base, sizeof(IMAGE_DOS_HEADER))) return 0;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0) return 0;
  // The signature, the file header and the optional header as far as
  // SizeOfImage, which lies at the same offset in PE32 and PE32+.
  constexpr uintptr_t kHeadersUpToSizeOfImage =
      offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
      offsetof(IMAGE_OPTIONAL_HEADER32, SizeOfImage) + sizeof(DWORD);
  static_assert(offsetof(IMAGE_OPTIONAL_HEADER32, SizeOfImage) ==
                offsetof(IMAGE_OPTIONAL_HEADER64, SizeOfImage));
  const uintptr_t nt_offset = static_cast<uintptr_t>(dos->e_lfanew);
  if (!RangeEndsWithin(base, nt_offset, UINTPTR_MAX) ||
      !RangeEndsWithin(base + nt_offset, kHeadersUpToSizeOfImage, UINTPTR_MAX) ||
      !IsReadableWithin(base, base + nt_offset, kHeadersUpToSizeOfImage)) {
    return 0;
  }
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + nt_offset);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return 0;
  const WORD magic = nt->OptionalHeader.Magic;
  if (magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC && magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) return 0;
  const uintptr_t size = nt->OptionalHeader.SizeOfImage;
  return RangeEndsWithin(base, size, UINTPTR_MAX) ? size : 0;
}

}  // namespace

bool IsReadableImageRange(HMODULE module, const void* data, size_t size) {
  const uintptr_t base = reinterpret_cast<uintptr_t>(module) & ~uintptr_t{3};
  const uintptr_t start = reinterpret_cast<uintptr_t>(data);
  if (base == 0 || start < base) return false;
  const uintptr_t image_size = ImageSize(base);
  if (image_size == 0 || !RangeEndsWithin(start, size, base + image_size)) return false;
  return size == 0 || IsReadableWithin(base, start, size);
}

}  // namespace lite
