// <gdiplus.h> for this tree: its headers use min and max, which the build's
// NOMINMAX hides.
#ifndef UI_IMAGES_GDIPLUS_WIN_H_
#define UI_IMAGES_GDIPLUS_WIN_H_

#include <windows.h>
#include <objidl.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#endif  // UI_IMAGES_GDIPLUS_WIN_H_
