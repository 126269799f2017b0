#include "tools/tag_tool/signed_image_for_testing.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>

#include "distribution/pe_certificate_table.h"

namespace lite {
namespace testing {
namespace {

void Put16(std::string* image, size_t offset, uint16_t value) {
  (*image)[offset] = static_cast<char>(value & 0xFF);
  (*image)[offset + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string* image, size_t offset, uint32_t value) {
  Put16(image, offset, static_cast<uint16_t>(value));
  Put16(image, offset + 2, static_cast<uint16_t>(value >> 16));
}

void Put64(std::string* image, size_t offset, uint64_t value) {
  Put32(image, offset, static_cast<uint32_t>(value));
  Put32(image, offset + 4, static_cast<uint32_t>(value >> 32));
}

int Run(const std::string& command) { return system((command + " >/dev/null 2>&1").c_str()); }

}  // namespace

std::string MakeTinyPeImage(uint16_t magic) {
  const bool plus = magic == kPe32PlusMagic;
  std::string image(0x400, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  const size_t pe = 0x40;
  Put32(&image, 60, pe);
  image.replace(pe, 4, std::string("PE\0\0", 4));
  // File header: machine, one section, optional header size, characteristics.
  Put16(&image, pe + 4, plus ? 0x8664 : 0x014C);
  Put16(&image, pe + 6, 1);
  const uint16_t optional_size = plus ? 240 : 224;
  Put16(&image, pe + 20, optional_size);
  Put16(&image, pe + 22, plus ? 0x0022 : 0x0102);
  // Optional header.
  const size_t opt = pe + 24;
  Put16(&image, opt, magic);
  image[opt + 2] = 14;  // linker version
  Put32(&image, opt + 4, 0x200);      // SizeOfCode
  Put32(&image, opt + 16, 0x1000);    // AddressOfEntryPoint
  Put32(&image, opt + 20, 0x1000);    // BaseOfCode
  if (plus) {
    Put64(&image, opt + 24, 0x140000000);
  } else {
    Put32(&image, opt + 24, 0x1000);  // BaseOfData
    Put32(&image, opt + 28, 0x400000);
  }
  Put32(&image, opt + 32, 0x1000);  // SectionAlignment
  Put32(&image, opt + 36, 0x200);   // FileAlignment
  Put16(&image, opt + 40, 6);       // operating system version
  Put16(&image, opt + 48, 6);       // subsystem version
  Put32(&image, opt + 56, 0x2000);  // SizeOfImage
  Put32(&image, opt + 60, 0x200);   // SizeOfHeaders
  Put16(&image, opt + 68, 3);       // console subsystem
  const size_t sizes = opt + 72;    // stack and heap reserve and commit
  for (int i = 0; i < 4; ++i) {
    const uint64_t value = i % 2 == 0 ? 0x100000 : 0x1000;
    if (plus) {
      Put64(&image, sizes + 8 * i, value);
    } else {
      Put32(&image, sizes + 4 * i, static_cast<uint32_t>(value));
    }
  }
  Put32(&image, opt + (plus ? 108 : 92), 16);  // NumberOfRvaAndSizes
  // The one section.
  const size_t section = opt + optional_size;
  image.replace(section, 5, ".text");
  Put32(&image, section + 8, 0x10);     // VirtualSize
  Put32(&image, section + 12, 0x1000);  // VirtualAddress
  Put32(&image, section + 16, 0x200);   // SizeOfRawData
  Put32(&image, section + 20, 0x200);   // PointerToRawData
  Put32(&image, section + 36, 0x60000020);
  image.replace(0x200, 3, "\x31\xC0\xC3");  // xor eax, eax; ret
  return image;
}

std::string MakeTempDir() {
  std::string dir = "/tmp/tag_tool_test-XXXXXX";
  return mkdtemp(dir.data()) ? dir : std::string();
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out.flush());
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

std::string SignImage(const std::string& image, const std::string& dir) {
  const std::string in = dir + "/unsigned.exe";
  const std::string out = dir + "/signed.exe";
  const std::string keys = TL_TEST_KEYS_DIR;
  if (!WriteFile(in, image)) return std::string();
  remove(out.c_str());
  if (Run(std::string(TL_OSSLSIGNCODE) + " sign -certs " + keys + "/test_signing.pem -key " +
          keys + "/test_signing.key -ac " + keys + "/test_root_ca.pem -h sha256 -in " + in +
          " -out " + out) != 0) {
    return std::string();
  }
  return ReadFile(out);
}

bool VerifiesWithTestRoot(const std::string& path) {
  return Run(std::string(TL_OSSLSIGNCODE) + " verify -CAfile " + TL_TEST_KEYS_DIR +
             "/test_root_ca.pem -in " + path) == 0;
}

}  // namespace testing
}  // namespace lite
