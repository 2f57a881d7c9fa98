#include "ui/tab_order.h"

#include <vector>

namespace vorlane {
namespace {

bool reachable(const Control& c) { return c.visible() && c.enabled(); }

std::vector<Control*> radios(Window& window) {
    std::vector<Control*> group;
    for (const char* name : window.spec().tabOrder) {
        Control& c = window.control(name);
        if (c.kind() == ControlKind::RadioButton && reachable(c)) group.push_back(&c);
    }
    return group;
}

// The tab order with the radio buttons folded into the group's stop (nullptr while no
// radio button can take the focus).
std::vector<Control*> stops(Window& window) {
    std::vector<Control*> out;
    bool groupPlaced = false;
    for (const char* name : window.spec().tabOrder) {
        Control& c = window.control(name);
        if (c.kind() != ControlKind::RadioButton) {
            out.push_back(&c);
        } else if (!groupPlaced) {
            groupPlaced = true;
            const std::vector<Control*> group = radios(window);
            Control* stop = group.empty() ? nullptr : group.front();
            for (Control* radio : group) {
                if (radio->checked()) stop = radio;
            }
            out.push_back(stop);
        }
    }
    return out;
}

}  // namespace

Control* nextTabStop(Window& window, const Control* from, bool backwards) {
    const std::vector<Control*> order = stops(window);
    const int n = static_cast<int>(order.size());
    int at = backwards ? n : -1;
    for (int i = 0; i < n; ++i) {
        const Control* stop = order[static_cast<std::size_t>(i)];
        bool sameGroup = from && stop && from->kind() == ControlKind::RadioButton &&
                         stop->kind() == ControlKind::RadioButton;
        if (stop == from || sameGroup) at = i;
    }
    for (int step = 1; step <= n; ++step) {
        int i = ((at + (backwards ? -step : step)) % n + n) % n;
        Control* stop = order[static_cast<std::size_t>(i)];
        if (stop && reachable(*stop)) return stop;
    }
    return nullptr;
}

Control* nextRadio(Window& window, const Control& from, bool backwards) {
    const std::vector<Control*> group = radios(window);
    const int n = static_cast<int>(group.size());
    for (int i = 0; i < n; ++i) {
        if (group[static_cast<std::size_t>(i)] == &from) {
            return group[static_cast<std::size_t>(((i + (backwards ? -1 : 1)) % n + n) % n)];
        }
    }
    return n > 0 ? group.front() : nullptr;
}

}  // namespace vorlane
