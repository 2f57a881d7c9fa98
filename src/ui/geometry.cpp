#include "ui/geometry.h"

#include <algorithm>

namespace vorlane {

Rect intersect(const Rect& a, const Rect& b) {
    int l = std::max(a.left, b.left), t = std::max(a.top, b.top);
    int r = std::min(a.right(), b.right()), btm = std::min(a.bottom(), b.bottom());
    if (r <= l || btm <= t) return {l, t, 0, 0};
    return {l, t, r - l, btm - t};
}

}  // namespace vorlane
