#pragma once

#include <algorithm>
#include <initializer_list>
#include <span>
#include <string_view>

#include "engine/core/KTNode.h"

namespace kt {

// A control's look is made of named children ("default", "active", "pressed", ...), one or a few of them
// shown at a time. Missing looks are skipped.
inline void KTShowLook(KTNode& control, std::string_view name, bool visible) {
    if (const auto look = control.getChildByName(name)) look->setVisible(visible);
}

// Shows the named looks and hides the other candidates.
inline void KTShowOnlyLooks(KTNode& control, std::span<const std::string_view> candidates,
                            std::initializer_list<std::string_view> shown) {
    for (const std::string_view name : candidates)
        KTShowLook(control, name, std::ranges::find(shown, name) != shown.end());
}

}  // namespace kt
