#pragma once

#include "core/idle.h"

#include <cstdint>
#include <optional>

namespace vsolo::testing {

// An idle source that says what the test sets: nothing where it cannot tell.
struct ScriptedIdle final : IdleSource {
    ScriptedIdle(std::optional<std::int32_t> i = 0, std::optional<bool> l = {})
        : idle(i), locked(l) {}
    std::optional<std::int32_t> idle;
    std::optional<bool> locked;
    std::optional<std::int32_t> idleSeconds() const override { return idle; }
    std::optional<bool> screenLocked() const override { return locked; }
};

} // namespace vsolo::testing
