#pragma once
// A display's DPI scale. The layout tables, the window model and the handlers work in
// 96-DPI units; the host draws and places in device pixels, which are those units times
// dpi / 96 (96 -> 1.0, 120 -> 1.25, 144 -> 1.5, 192 -> 2.0, any other value too).
#include "ui/geometry.h"

namespace vorlane {

class Scale {
public:
    constexpr Scale() = default;
    constexpr explicit Scale(int dpi) : dpi_(dpi > 0 ? dpi : kBaseDpi) {}

    static constexpr int kBaseDpi = 96;

    int dpi() const { return dpi_; }
    double factor() const { return static_cast<double>(dpi_) / kBaseDpi; }

    // Device pixels of a length in units, rounded half away from zero.
    int px(int units) const;
    // Units of a device length, rounded; cover() gives the fewest units whose device
    // length reaches it (for positive lengths).
    int units(int px) const;
    int cover(int px) const;

    // A control's rectangle: each edge is mapped, so controls that touch, overlap or
    // contain one another in the layout still do on the device.
    Rect rect(const Rect& units) const;
    // A window's: position and size are mapped apart, so its size does not depend on
    // where it stands.
    Rect windowRect(const Rect& units) const;
    Rect windowUnits(const Rect& px) const;

    friend bool operator==(Scale, Scale) = default;

private:
    int dpi_ = kBaseDpi;
};

}  // namespace vorlane
