#include "ui/hit_test.h"

namespace vorlane {
namespace {

Control* search(Window& window, const Control* parent, int x, int y, Scale scale) {
    for (Control& c : window.controls()) {
        if (c.parent() != parent || !c.visible() || !isDrawnControl(c.kind())) continue;
        if (!scale.rect(c.windowRect()).contains(x, y)) continue;
        if (c.kind() == ControlKind::PictureBox) {
            if (Control* child = search(window, &c, x, y, scale)) return child;
        }
        return &c;
    }
    return nullptr;
}

}  // namespace

bool isDrawnControl(ControlKind kind) {
    return kind != ControlKind::Timer && kind != ControlKind::FileDialog && kind != ControlKind::AnimationObject;
}

Control* controlAt(Window& window, int x, int y, Scale scale) { return search(window, nullptr, x, y, scale); }

}  // namespace vorlane
