#include "ui/scale.h"

namespace vorlane {
namespace {

// value * num / den, rounded half away from zero.
int mulDivRounded(int value, int num, int den) {
    long long magnitude = (static_cast<long long>(value < 0 ? -value : value) * num * 2 + den) / (2LL * den);
    return static_cast<int>(value < 0 ? -magnitude : magnitude);
}

}  // namespace

int Scale::px(int units) const { return mulDivRounded(units, dpi_, kBaseDpi); }

int Scale::units(int px) const { return mulDivRounded(px, kBaseDpi, dpi_); }

int Scale::cover(int px) const {
    // The least u with px(u) >= px, that is u * dpi / 96 >= px - 1/2.
    return static_cast<int>(((2LL * px - 1) * kBaseDpi + 2LL * dpi_ - 1) / (2LL * dpi_));
}

Rect Scale::rect(const Rect& u) const {
    int left = px(u.left), top = px(u.top);
    return {left, top, px(u.right()) - left, px(u.bottom()) - top};
}

Rect Scale::windowRect(const Rect& u) const { return {px(u.left), px(u.top), px(u.width), px(u.height)}; }

Rect Scale::windowUnits(const Rect& p) const { return {units(p.left), units(p.top), units(p.width), units(p.height)}; }

}  // namespace vorlane
