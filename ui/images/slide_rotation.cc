#include "ui/images/slide_rotation.h"

#include "base/endpoints.h"
#include "stats/url_escape.h"

namespace lite {

int SlideRotation::Pick(int index, int held) {
  if (held <= 0) return -1;
  int slot = (index + offset_) % held;
  if (slot != 0) return slot;
  if (!wrapped_) {
    wrapped_ = true;
    return 0;
  }
  if (builtin_count_ == 2 && held > 1) {
    // The window background belongs to the first pass only. The download
    // numbers stay as they are: they count the pictures after the start
    // pictures, which have not changed.
    ++offset_;
    slot = 1;
  }
  return slot;
}

std::string SlideAddress(const std::string& base, int number, const std::string& extension) {
  std::string digits = std::to_string(number);
  if (number < 10) digits.insert(0, "0");
  return base + "x2/" + digits + extension;
}

std::string SlideBaseAddress(const std::string& brand_slide_url, WindowDesign design,
                             const std::string& language_code) {
  if (!brand_slide_url.empty()) return brand_slide_url;
  std::string base = std::string(endpoints::kDownloadCdn) + "/browser/installer/";
  if (design == WindowDesign::kNewIdentity) {
    base += "new-identity/";
  } else if (design == WindowDesign::kFacetune) {
    base += "facetune/";
  }
  // One path segment, whatever the code holds: no "../" walks the CDN.
  return base + EscapeQueryValue(language_code) + "/";
}

std::string SlideExtension(WindowDesign design, WindowsRelease windows) {
  return design == WindowDesign::kNewIdentity && IsWin8OrLater(windows) ? ".png" : ".jpg";
}

}  // namespace lite
