// Stamps tags into small executables signed at test time and reads them
// back with the installer's own readers; osslsigncode checks that the
// signature survives.
#include "tools/tag_tool/tag_stamper.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "distribution/certificate_tag.h"
#include "distribution/legacy_tag.h"
#include "distribution/pe_certificate_table.h"
#include "tools/tag_tool/signed_image_for_testing.h"

namespace lite {
namespace {

using testing::ReadFile;
using testing::WriteFile;

class TagStamperTest : public ::testing::TestWithParam<uint16_t> {
 protected:
  void SetUp() override {
    dir_ = testing::MakeTempDir();
    ASSERT_FALSE(dir_.empty());
    signed_ = testing::SignImage(testing::MakeTinyPeImage(GetParam()), dir_);
    ASSERT_FALSE(signed_.empty()) << "osslsigncode could not sign the test image";
  }
  void TearDown() override { system(("rm -rf " + dir_).c_str()); }

  // The certificate table and WIN_CERTIFICATE agree, are 8-byte aligned and
  // end the file; the checksum is current; the signature verifies.
  void ExpectSoundSignedImage(const std::string& image) {
    const std::optional<CertificateTable> table = FindCertificateTable(image);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->offset % 8, 0u);
    EXPECT_EQ(table->size % 8, 0u);
    EXPECT_EQ(uint64_t{table->offset} + table->size, image.size());
    EXPECT_EQ(ReadLittleEndian32(image, table->offset), table->size);
    EXPECT_EQ(ReadLittleEndian32(image, table->checksum_offset),
              ComputePeChecksum(image, table->checksum_offset));
    const std::string path = dir_ + "/check.exe";
    ASSERT_TRUE(WriteFile(path, image));
    EXPECT_TRUE(testing::VerifiesWithTestRoot(path));
  }

  std::string dir_;
  std::string signed_;
};

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, TagStamperTest,
                         ::testing::Values(kPe32Magic, kPe32PlusMagic));

std::string TagOf(const std::string& image) {
  const CertificateTagResult result = ReadCertificateTag(image);
  EXPECT_EQ(result.status, CertificateTagStatus::kOk);
  return result.tag;
}

TEST_P(TagStamperTest, StampedTagReadsBackAndTheSignatureStillVerifies) {
  // A freshly signed image has no dummy certificate: an empty tag, no error.
  EXPECT_EQ(TagOf(signed_), "");
  ASSERT_NE(ReadLittleEndian32(signed_, FindCertificateTable(signed_)->checksum_offset), 0u);

  std::string image = signed_, error;
  ASSERT_TRUE(StampCertificateTag(&image, "lang=tr&x=1", &error)) << error;
  EXPECT_EQ(TagOf(image), "lang=tr&x=1");
  ExpectSoundSignedImage(image);

  // Stamping again replaces the dummy certificate instead of adding one.
  ASSERT_TRUE(StampCertificateTag(&image, "brand=x", &error)) << error;
  EXPECT_EQ(TagOf(image), "brand=x");
  ExpectSoundSignedImage(image);

  // The largest tag the 16-bit length allows needs long DER lengths around it.
  const std::string largest(0xFFFF, 'q');
  ASSERT_TRUE(StampCertificateTag(&image, largest, &error)) << error;
  EXPECT_EQ(TagOf(image), largest);
  ExpectSoundSignedImage(image);

  ASSERT_TRUE(StampCertificateTag(&image, "", &error)) << error;
  EXPECT_EQ(TagOf(image), "");
}

TEST_P(TagStamperTest, SeveralDummyCertificatesConcatenateTheirTags) {
  std::string image = signed_, error;
  ASSERT_TRUE(StampDummyCertificates(&image, {"a=1&", "", "b=2"}, &error)) << error;
  EXPECT_EQ(TagOf(image), "a=1&b=2");
  ExpectSoundSignedImage(image);
}

TEST_P(TagStamperTest, RefusalsLeaveTheImageAsItWas) {
  std::string image = signed_, error;
  EXPECT_FALSE(StampCertificateTag(&image, std::string(0x10000, 'q'), &error));
  EXPECT_NE(error.find("65536"), std::string::npos) << error;
  EXPECT_EQ(image, signed_);

  std::string unsigned_image = testing::MakeTinyPeImage(GetParam());
  const std::string original = unsigned_image;
  EXPECT_FALSE(StampCertificateTag(&unsigned_image, "a=1", &error));
  EXPECT_FALSE(StampLegacyTag(&unsigned_image, "a=1", &error));
  EXPECT_EQ(unsigned_image, original);
  EXPECT_EQ(ReadCertificateTag(unsigned_image).status, CertificateTagStatus::kNoCertificateTable);

  // Bytes after the table would have to move; that is refused too.
  image = signed_ + std::string(8, '\0');
  EXPECT_FALSE(StampCertificateTag(&image, "a=1", &error));
  EXPECT_EQ(image, signed_ + std::string(8, '\0'));
}

TEST_P(TagStamperTest, DamagedTablesNeverGiveAWrongTag) {
  std::string stamped = signed_, error;
  ASSERT_TRUE(StampCertificateTag(&stamped, "lang=de", &error)) << error;
  const CertificateTable table = *FindCertificateTable(stamped);

  // A cut file loses its table; a shrunk directory entry cuts the DER.
  for (size_t size = 0; size < stamped.size(); ++size) {
    const CertificateTagResult result = ReadCertificateTag(stamped.substr(0, size));
    EXPECT_EQ(result.status, CertificateTagStatus::kNoCertificateTable) << size;
    EXPECT_EQ(result.tag, "");
  }
  for (uint32_t size = 0; size < table.size; ++size) {
    std::string image = stamped;
    for (int i = 0; i < 4; ++i) image[table.directory_entry_offset + 4 + i] = char(size >> (8 * i));
    const CertificateTagResult result = ReadCertificateTag(image);
    if (result.status == CertificateTagStatus::kOk) {
      EXPECT_EQ(result.tag, "lang=de") << size;
    } else {
      EXPECT_EQ(result.tag, "") << size;
    }
  }

  // The certificate set under another tag is malformed SignedData.
  std::string image = stamped;
  const size_t set = image.find(std::string("\xA0\x82", 2), table.offset + 40);
  ASSERT_NE(set, std::string::npos);
  image[set] = '\xA1';
  EXPECT_EQ(ReadCertificateTag(image).status, CertificateTagStatus::kInvalidCertificateTable);
}

TEST_P(TagStamperTest, LegacyBlockOnlyInThirtyTwoBitImages) {
  std::string image = signed_, error;
  ASSERT_TRUE(StampCertificateTag(&image, "cert=1", &error)) << error;
  const std::string before = image;
  std::string_view tag;
  if (GetParam() == kPe32PlusMagic) {
    EXPECT_FALSE(StampLegacyTag(&image, "lang=de", &error));
    EXPECT_EQ(image, before);
    // A block placed where a 32-bit image would keep it is still not read.
    const CertificateTable table = *FindCertificateTable(image);
    const size_t block =
        LegacyTagBlockOffset(table.offset, ReadBigEndian16(image, table.offset + 10));
    image.resize(std::max(image.size(), block + 13), '\0');
    image.replace(block, 13, std::string("Tlct\0\x07lang=de", 13));
    EXPECT_FALSE(FindLegacyTag(image, &tag));
    return;
  }
  ASSERT_TRUE(StampLegacyTag(&image, "lang=de", &error)) << error;
  ASSERT_TRUE(FindLegacyTag(image, &tag));
  EXPECT_EQ(tag, "lang=de");
  EXPECT_EQ(TagOf(image), "cert=1");  // the dummy certificate stays
  ExpectSoundSignedImage(image);

  size_t size = 0;
  ASSERT_TRUE(CopyLegacyTag(image, nullptr, &size));
  EXPECT_EQ(size, 8u);
  char buffer[8];
  size = 7;
  EXPECT_FALSE(CopyLegacyTag(image, buffer, &size));
  size = 8;
  ASSERT_TRUE(CopyLegacyTag(image, buffer, &size));
  EXPECT_EQ(std::string(buffer, 8), std::string("lang=de\0", 8));

  // Cut anywhere inside the block, the image has no block.
  const size_t block = image.find("Tlct");
  for (size_t cut = block; cut < block + 13; ++cut) {
    EXPECT_FALSE(FindLegacyTag(std::string_view(image).substr(0, cut), &tag)) << cut;
  }
}

}  // namespace
}  // namespace lite
