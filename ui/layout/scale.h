// Logical pixels of a design's 100 % size to screen pixels. The factor is
// handed to each component; only the top of the program reads the process's
// factor.
#ifndef UI_LAYOUT_SCALE_H_
#define UI_LAYOUT_SCALE_H_

namespace lite {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  friend bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
  }
  friend bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }
};

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
};

// Multiplied in double precision and truncated toward zero.
inline int Scale(double factor, int value) { return static_cast<int>(factor * value); }

// Each coordinate on its own, so a scaled width can differ by one from the
// scaled difference.
inline Rect ScaleRect(double factor, Rect r) {
  return {Scale(factor, r.left), Scale(factor, r.top), Scale(factor, r.right),
          Scale(factor, r.bottom)};
}

inline Point ScalePoint(double factor, Point p) { return {Scale(factor, p.x), Scale(factor, p.y)}; }

}  // namespace lite

#endif  // UI_LAYOUT_SCALE_H_
