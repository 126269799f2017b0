// What one gallery view shows: a page (a window preview, a dialog kind, a
// control set) in a design, language, Windows release and scale factor.
#ifndef TOOLS_UI_GALLERY_GALLERY_OPTIONS_H_
#define TOOLS_UI_GALLERY_GALLERY_OPTIONS_H_

#include <optional>
#include <string>
#include <vector>

#include "ui/layout/window_design.h"

namespace lite {

struct GalleryOptions {
  std::string page = "welcome";
  WindowDesign design = WindowDesign::kFacetune;
  bool less_contrasty = false;
  // The classic dialogs instead of the redesigned ones.
  bool classic_dialogs = false;
  std::string language = "en";
  WindowsRelease windows = WindowsRelease::kWin10;
  double scale_factor = 1.0;
  // The window's distribution parameters, as "distr-info-params" gives
  // them ("cancel=1&first=1&def=1&stat=1").
  std::string params;
  // What the progress page's bar and text show.
  int progress_percent = 37;
  // Where the picture goes; empty shows the page until it is closed.
  std::string shot;
};

// Reads "--name=value" switches over |defaults|; an unknown switch or
// value gives nothing and says why in |*error|.
std::optional<GalleryOptions> ParseGalleryOptions(const std::vector<std::string>& args,
                                                  const GalleryOptions& defaults,
                                                  std::string* error);

// Words of a line separated by blanks (a batch file's line).
std::vector<std::string> SplitWords(const std::string& line);

// "newidentity", "facetune", "origin".
const char* DesignName(WindowDesign design);

// The sixteen interface languages' codes.
const std::vector<std::string>& InterfaceLanguages();

// The brand configuration that selects |options|' design.
std::string BrandConfigFor(const GalleryOptions& options);

}  // namespace lite

#endif  // TOOLS_UI_GALLERY_GALLERY_OPTIONS_H_
