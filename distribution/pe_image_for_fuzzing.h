// Fuzz input wrapped in a small valid PE32 header whose certificate table
// is the input itself, so that random bytes reach the signature readers.
#ifndef DISTRIBUTION_PE_IMAGE_FOR_FUZZING_H_
#define DISTRIBUTION_PE_IMAGE_FOR_FUZZING_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace lite {

inline std::string WrapInPeImage(const uint8_t* data, size_t size) {
  std::string image(0x200, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  image[60] = 0x40;
  image.replace(0x40, 4, std::string("PE\0\0", 4));
  image[0x58] = 0x0B;  // optional-header magic 0x10B
  image[0x59] = 0x01;
  image[0x58 + 92] = 16;  // NumberOfRvaAndSizes
  const size_t entry = 0x58 + 96 + 4 * 8;
  image[entry + 1] = 0x02;  // the table at 0x200
  for (int i = 0; i < 4; ++i) image[entry + 4 + i] = static_cast<char>(size >> (8 * i));
  image.append(reinterpret_cast<const char*>(data), size);
  return image;
}

}  // namespace lite

#endif  // DISTRIBUTION_PE_IMAGE_FOR_FUZZING_H_
