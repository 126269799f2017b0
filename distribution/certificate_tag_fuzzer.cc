// Any bytes as an executable, or as the certificate table of a small valid
// PE header (so that the DER walk is reached): the reader must stay inside
// the input and report a tag only with a well-formed walk.
#include <cstddef>
#include <cstdint>
#include <string>

#include "distribution/certificate_tag.h"
#include "distribution/pe_image_for_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string image = (data[0] & 1)
      ? lite::WrapInPeImage(data + 1, size - 1)
      : std::string(reinterpret_cast<const char*>(data + 1), size - 1);
  const lite::CertificateTagResult result = lite::ReadCertificateTag(image);
  if (result.status != lite::CertificateTagStatus::kOk && !result.tag.empty()) __builtin_trap();
  if (result.tag.size() > image.size()) __builtin_trap();
  return 0;
}
