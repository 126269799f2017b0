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

// |certificates| as the certificate set of a minimal PKCS #7 SignedData,
// wrapped in a WIN_CERTIFICATE and a PE image.
inline std::string WrapInSignedData(const uint8_t* certificates, size_t size) {
  const auto der = [](uint8_t tag, const std::string& contents) {
    std::string out(1, static_cast<char>(tag));
    out += static_cast<char>(0x84);  // four length bytes fit any fuzz input
    for (int shift = 24; shift >= 0; shift -= 8) {
      out += static_cast<char>(contents.size() >> shift);
    }
    return out + contents;
  };
  const std::string signed_data =
      der(0x30, std::string("\x02\x01\x01\x31\x00\x30\x00", 7) +
                    der(0xA0, std::string(reinterpret_cast<const char*>(certificates), size)) +
                    std::string("\x31\x00", 2));
  const std::string content_info =
      der(0x30, std::string("\x06\x09\x2A\x86\x48\x86\xF7\x0D\x01\x07\x02", 11) +
                    der(0xA0, signed_data));
  const std::string table = std::string("\0\0\0\0\x00\x02\x02\x00", 8) + content_info;
  return WrapInPeImage(reinterpret_cast<const uint8_t*>(table.data()), table.size());
}

}  // namespace lite

#endif  // DISTRIBUTION_PE_IMAGE_FOR_FUZZING_H_
