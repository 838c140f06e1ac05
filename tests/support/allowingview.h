#pragma once

#include "core/tracker.h"

namespace vsolo::testing {

// A view that lets the tracking engine start and stop whenever it asks.
struct AllowingView final : TrackerListener {
    int trackerNotify(Tracker&, int, int) override { return 1; }
};

} // namespace vsolo::testing
