// Whether bytes a module's own tables point at may be read. A resource's
// address and size come from the module's resource directory, which nothing
// has vouched for when the trust document is looked up: they may point past
// the image, wrap around the address space, or into a page that is not
// committed, is a guard page or may not be read.
#ifndef TRUST_MODULE_IMAGE_RANGE_WIN_H_
#define TRUST_MODULE_IMAGE_RANGE_WIN_H_

#include <windows.h>

#include <cstddef>

namespace lite {

// True when the |size| bytes at |data| lie inside the image mapped at
// |module| (a module handle or a view of a SEC_IMAGE mapping; the tag bits
// LoadLibraryExW sets in the handles of data-file and image-resource loads
// are ignored), the image's extent being SizeOfImage from its own headers,
// and every page of them belongs to that mapping, is committed and may be
// read now. The headers are checked the same way before they are read.
bool IsReadableImageRange(HMODULE module, const void* data, size_t size);

}  // namespace lite

#endif  // TRUST_MODULE_IMAGE_RANGE_WIN_H_
