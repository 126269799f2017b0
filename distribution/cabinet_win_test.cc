#include "distribution/cabinet_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "distribution/resource_bytes_win.h"

namespace lite {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Key;
using ::testing::Pair;

std::string_view OwnPackage(const wchar_t* name) { return LoadBinResource(nullptr, name); }

TEST(CabinetTest, ExtractsTheWantedMemberOrEveryMember) {
  ASSERT_TRUE(LoadCabinetLibrary());
  ASSERT_TRUE(LoadCabinetLibrary()) << "a second call reuses the loaded library";
  const std::string_view multi = OwnPackage(L"BRAND_MULTI");
  ASSERT_FALSE(multi.empty());

  std::map<std::string, std::string> files{{"stale", "x"}};
  EXPECT_TRUE(ExtractCabinetFiles(multi, "", &files));
  EXPECT_THAT(files, ElementsAre(Pair("brand_config", "{\"brand_id\": \"multi_brand\"}\n"),
                                 Pair("notes.txt", "not configuration\n")));

  EXPECT_TRUE(ExtractCabinetFiles(multi, "notes.txt", &files));
  EXPECT_THAT(files, ElementsAre(Key("notes.txt")));
}

TEST(CabinetTest, MemberNamesMatchWithTheirLetterCase) {
  const std::string_view mixed = OwnPackage(L"BRAND_MIXED_CASE");
  std::map<std::string, std::string> files;
  EXPECT_TRUE(ExtractCabinetFiles(mixed, "brand_config", &files));
  EXPECT_THAT(files, IsEmpty());
  EXPECT_TRUE(ExtractCabinetFiles(mixed, "Brand_Config", &files));
  EXPECT_THAT(files, ElementsAre(Pair("Brand_Config", "{\"brand_id\": \"mixed_case_brand\"}\n")));
}

TEST(CabinetTest, BrokenCabinetsFailWithoutMembers) {
  const std::string_view multi = OwnPackage(L"BRAND_MULTI");
  std::map<std::string, std::string> files;
  EXPECT_FALSE(ExtractCabinetFiles(OwnPackage(L"BRAND_NOT_A_CABINET"), "", &files));
  EXPECT_THAT(files, IsEmpty());
  EXPECT_FALSE(ExtractCabinetFiles(std::string_view(), "", &files));
  // Cut inside the compressed data: the header reads, the data does not.
  EXPECT_FALSE(ExtractCabinetFiles(multi.substr(0, multi.size() - 20), "", &files));
  EXPECT_THAT(files, IsEmpty());
  EXPECT_FALSE(ExtractCabinetFiles(multi.substr(0, 30), "", &files));
}

TEST(CabinetTest, MemberWithAnImpossibleSizeFailsTheExtraction) {
  std::string cabinet(OwnPackage(L"BRAND_MULTI"));
  ASSERT_GT(cabinet.size(), 36u);
  // The first CFFILE entry begins with the member's uncompressed size.
  const size_t first_file = static_cast<uint8_t>(cabinet[16]) |
                            static_cast<uint8_t>(cabinet[17]) << 8;
  ASSERT_LT(first_file + 4, cabinet.size());
  for (const char* size : {"\xF0\xFF\xFF\xFF", "\x00\x00\x00\x80"}) {
    cabinet.replace(first_file, 4, size, 4);
    std::map<std::string, std::string> files;
    EXPECT_FALSE(ExtractCabinetFiles(cabinet, "", &files));
    EXPECT_THAT(files, IsEmpty());
  }
}

}  // namespace
}  // namespace lite
