// The order of the progress screen's slides and the numbers of the slides
// still to download: built-in start pictures first, then the downloaded
// ones, over and over.
#ifndef UI_IMAGES_SLIDE_ROTATION_H_
#define UI_IMAGES_SLIDE_ROTATION_H_

#include <string>

#include "ui/layout/window_design.h"

namespace lite {

class SlideRotation {
 public:
  // |builtin_count| is 1 (the progress background) or 2 (the window
  // background first, when the first screen was skipped).
  explicit SlideRotation(int builtin_count) : builtin_count_(builtin_count) {}

  // Which of the |held| pictures the slideshow's |index| shows. The first
  // pass starts with picture 0; with two start pictures later passes skip
  // the window background and start with picture 1.
  int Pick(int index, int held);

  // The number of the next slide to download while |held| pictures are
  // held: 2 for the first download, then one more for each.
  int NextNumber(int held) const { return held - builtin_count_ + 2; }

 private:
  const int builtin_count_;
  int offset_ = 0;
  bool wrapped_ = false;
};

// Base + "x2/" + the number (two digits at least) + |extension|.
std::string SlideAddress(const std::string& base, int number, const std::string& extension);

// The brand's slide address when it has one, else the download CDN's
// installer folder, the design's subfolder and the interface language.
std::string SlideBaseAddress(const std::string& brand_slide_url, WindowDesign design,
                             const std::string& language_code);

// ".png" for NewIdentity on Windows 8 and later, ".jpg" otherwise.
std::string SlideExtension(WindowDesign design, WindowsRelease windows);

}  // namespace lite

#endif  // UI_IMAGES_SLIDE_ROTATION_H_
