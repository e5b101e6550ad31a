// The settings window's rules without the window: its map list and when the
// main window must draw the route again after it closes.
#pragma once

#include <span>

#include "common/settings.hpp"

namespace ondavia {

struct MapChoice {
    const char* caption;  // UTF-8
    int selectMap;
};
// The entries of the map list, in order.
std::span<const MapChoice> MapChoices();
// The entry showing a SelectMap value; -1 when none does (a hand-edited file).
int MapChoiceIndex(int selectMap);

// The two map options act at once: the route is drawn again when either
// changed. The map page itself changes only at the next start.
bool RouteNeedsRedraw(const TDtgSetValue& before, const TDtgSetValue& after);

}  // namespace ondavia
