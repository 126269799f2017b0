// Any bytes as an executable, as the certificate table of a small valid PE
// image, or as the certificate set of a valid signature (so that the DER
// walks are reached): the reader must stay inside the input and report a
// tag only with a well-formed walk.
#include <cstddef>
#include <cstdint>
#include <string>

#include "distribution/certificate_tag.h"
#include "distribution/pe_image_for_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string image;
  switch (data[0] % 3) {
    case 0:
      image.assign(reinterpret_cast<const char*>(data + 1), size - 1);
      break;
    case 1:
      image = lite::WrapInPeImage(data + 1, size - 1);
      break;
    default:
      image = lite::WrapInSignedData(data + 1, size - 1);
      break;
  }
  const lite::CertificateTagResult result = lite::ReadCertificateTag(image);
  if (result.status != lite::CertificateTagStatus::kOk && !result.tag.empty()) __builtin_trap();
  if (result.tag.size() > image.size()) __builtin_trap();
  return 0;
}
