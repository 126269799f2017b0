// The window's pictures and fonts, read back from the compiled resources the
// way the window finds them: every picture id at its size, every 2x picture
// twice its 1x twin, every font registered under the family and weight the
// themes ask for, with the letters of the interface languages.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lite {
namespace {

std::string_view ResourceBytes(int id, const wchar_t* type) {
  HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
  if (!info) return {};
  HGLOBAL loaded = LoadResource(nullptr, info);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return std::string_view(static_cast<const char*>(data), SizeofResource(nullptr, info));
}

struct Size {
  int width = 0, height = 0;
  bool operator==(const Size& o) const { return width == o.width && height == o.height; }
};

uint32_t BigEndian(std::string_view bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

// The size a PNG's header or a JPEG's frame marker gives; zero when the
// bytes are neither.
Size PictureSize(std::string_view bytes) {
  if (bytes.size() >= 24 && bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8))
    return {static_cast<int>(BigEndian(bytes, 16, 4)), static_cast<int>(BigEndian(bytes, 20, 4))};
  if (bytes.size() < 4 || static_cast<uint8_t>(bytes[0]) != 0xFF ||
      static_cast<uint8_t>(bytes[1]) != 0xD8)
    return {};
  for (size_t at = 2; at + 9 < bytes.size();) {
    const uint8_t marker = static_cast<uint8_t>(bytes[at + 1]);
    if (marker >= 0xC0 && marker <= 0xC3)
      return {static_cast<int>(BigEndian(bytes, at + 7, 2)),
              static_cast<int>(BigEndian(bytes, at + 5, 2))};
    at += 2 + BigEndian(bytes, at + 2, 2);
  }
  return {};
}

Size ResourcePictureSize(int id) { return PictureSize(ResourceBytes(id, RT_RCDATA)); }

// 1x picture, its 2x twin (0 = none), and its 1x size (0 = a strip whose
// size the window takes from the picture, checked by the frame rule below).
struct PictureCase {
  int id_1x, id_2x;
  Size size;
};

const PictureCase kPictures[] = {
    // Window backgrounds and progress-screen pictures.
    {2021, 2022, {802, 430}}, {2023, 2024, {802, 430}}, {2025, 2026, {802, 430}},
    {2027, 2028, {802, 430}}, {2264, 2265, {802, 430}}, {2258, 2259, {802, 430}},
    {2266, 2267, {802, 430}}, {2268, 2269, {802, 430}}, {2260, 2261, {802, 430}},
    {2262, 2263, {802, 430}}, {906, 0, {728, 400}}, {904, 0, {728, 400}}, {910, 0, {728, 400}},
    // Logos.
    {903, 915, {212, 38}}, {911, 917, {212, 38}}, {2271, 2272, {160, 22}},
    {2273, 2274, {160, 22}},
    // Strips and bars.
    {2019, 2020, {96, 16}}, {2256, 2257, {96, 16}}, {902, 0, {96, 16}},
    {2029, 0, {432, 48}}, {2270, 0, {420, 48}}, {907, 0, {336, 32}},
    {2038, 2039, {393, 4}}, {2040, 2041, {393, 4}}, {908, 0, {292, 4}}, {909, 0, {292, 4}},
    {2030, 2031, {60, 20}}, {2034, 2035, {60, 20}}, {103, 0, {36, 12}}, {101, 0, {36, 12}},
    {2036, 2037, {20, 20}},
    // Dialogs.
    {2233, 0, {460, 234}}, {2234, 2235, {300, 35}}, {2236, 2237, {300, 35}},
    {2238, 2239, {}}, {104, 0, {410, 186}}, {105, 0, {360, 28}}, {106, 0, {360, 28}},
};

TEST(ArtResourcesTest, EveryPictureHasItsSizeAndItsTwinTwice) {
  for (const PictureCase& c : kPictures) {
    SCOPED_TRACE(c.id_1x);
    const Size size = ResourcePictureSize(c.id_1x);
    ASSERT_GT(size.width, 0) << "missing or not a PNG/JPEG";
    if (c.size.width) {
      EXPECT_EQ(size, c.size);
    } else {
      EXPECT_EQ(size.width, 3 * size.height) << "three square frames";
    }
    if (c.id_2x) {
      EXPECT_EQ(ResourcePictureSize(c.id_2x), (Size{2 * size.width, 2 * size.height}));
    }
  }
}

// Shadow families: the four corners' first id and the four edges' first id
// (1x and 2x, 0 = none), the corner size and the edge thickness at 1x. A
// corner reaches the spread of 8 beyond the window plus the inset (and the
// rounding of a rounded dialog) into it.
struct ShadowCase {
  int corners_1x, corners_2x, edges_1x, edges_2x;
  int corner, thickness;
};

const ShadowCase kShadows[] = {
    {2042, 2050, 2046, 2054, 17, 9},  // Facetune
    {2058, 2062, 2046, 2054, 17, 9},  // Facetune, Windows 7
    {2275, 2283, 2279, 2287, 17, 9},  // NewIdentity
    {2291, 2295, 2279, 2287, 17, 9},  // NewIdentity, Windows 7
    {225, 0, 229, 0, 16, 8},          // Origin
    {2240, 0, 2244, 0, 33, 9},        // dialogs
    {2248, 0, 2252, 0, 17, 9},        // dialogs, Windows 7
};

TEST(ArtResourcesTest, ShadowPiecesFitTheirPlaces) {
  for (const ShadowCase& c : kShadows) {
    for (int scale = 1; scale <= (c.corners_2x ? 2 : 1); ++scale) {
      const int corners = scale == 1 ? c.corners_1x : c.corners_2x;
      const int edges = scale == 1 ? c.edges_1x : c.edges_2x;
      for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(corners + i);
        EXPECT_EQ(ResourcePictureSize(corners + i), (Size{c.corner * scale, c.corner * scale}));
        // Left and right edges are as wide as the shadow is thick, top and
        // bottom as high.
        const Size edge = ResourcePictureSize(edges + i);
        EXPECT_EQ(i % 2 == 0 ? edge.width : edge.height, c.thickness * scale) << edges + i;
        EXPECT_GT(i % 2 == 0 ? edge.height : edge.width, 0) << edges + i;
      }
    }
  }
}

struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct FontDeleter {
  void operator()(HFONT font) const { DeleteObject(font); }
};
struct FontResourceDeleter {
  void operator()(HANDLE handle) const { RemoveFontMemResourceEx(handle); }
};

// The weight class in a TrueType file's OS/2 table; 0 when there is none.
int FileWeightClass(std::string_view font) {
  if (font.size() < 12) return 0;
  const uint32_t tables = BigEndian(font, 4, 2);
  for (uint32_t i = 0; i < tables && 12 + 16 * (i + 1) <= font.size(); ++i) {
    const size_t entry = 12 + 16 * i;
    if (font.substr(entry, 4) != "OS/2") continue;
    const size_t offset = BigEndian(font, entry + 8, 4);
    return offset + 6 <= font.size() ? static_cast<int>(BigEndian(font, offset + 4, 2)) : 0;
  }
  return 0;
}

// GDI must find each font by the family and weight the themes ask for. The
// two "TS Text" weights share a family, and choosing between them is GDI's
// part: Windows takes the nearest weight, Wine the face registered first
// (and Wine keeps a memory font after its removal). So GDI's weight is
// checked for the first face of each family, the file's own for every face.
TEST(ArtResourcesTest, EveryFontIsFoundByItsFamilyAndWeight) {
  struct Case {
    int id;
    const wchar_t* family;
    int weight;
    bool first_of_family;
  } cases[] = {{2087, L"TS Geo Regular", 400, true}, {2088, L"TS Geo Medium", 500, true},
               {2089, L"TS Display", 700, true},     {2091, L"TS Text", 500, true},
               {2090, L"TS Text", 400, false}};
  // Uzbek, Turkish, Czech, Ukrainian and Kazakh letters beside plain ones.
  const std::wstring letters = L"Tolvar \x02BB\x011F\x0130\x0131\x0159\x016F\x0491\x0454\x0457"
                               L"\x04D9\x0493\x049B\x04A3\x04E9\x04B1\x04AF\x04BB\x0456\x20B8";
  std::unique_ptr<HDC__, DcDeleter> dc(CreateCompatibleDC(nullptr));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const std::string_view bytes = ResourceBytes(c.id, RT_FONT);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(FileWeightClass(bytes), c.weight);
    DWORD count = 0;
    std::unique_ptr<void, FontResourceDeleter> added(AddFontMemResourceEx(
        const_cast<char*>(bytes.data()), static_cast<DWORD>(bytes.size()), nullptr, &count));
    ASSERT_TRUE(added);
    EXPECT_EQ(count, 1u);
    std::unique_ptr<HFONT__, FontDeleter> font(
        CreateFontW(-20, 0, 0, 0, c.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                    c.family));
    ASSERT_TRUE(font);
    HGDIOBJ previous = SelectObject(dc.get(), font.get());
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc.get(), LF_FACESIZE, face);
    EXPECT_EQ(std::wstring(face), c.family);
    TEXTMETRICW metrics = {};
    EXPECT_TRUE(GetTextMetricsW(dc.get(), &metrics));
    if (c.first_of_family) {
      EXPECT_EQ(metrics.tmWeight, c.weight);
    }
    std::vector<WORD> glyphs(letters.size());
    EXPECT_NE(GetGlyphIndicesW(dc.get(), letters.c_str(), static_cast<int>(letters.size()),
                               glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS),
              GDI_ERROR);
    for (size_t i = 0; i < letters.size(); ++i)
      EXPECT_NE(glyphs[i], 0xFFFF) << "no glyph for U+" << std::hex << int(letters[i]);
    SelectObject(dc.get(), previous);
  }
}

}  // namespace
}  // namespace lite
