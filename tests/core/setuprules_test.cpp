#include "viewer/setuprules.hpp"

#include <gtest/gtest.h>

namespace ondavia {
namespace {

TEST(SetupRules, MapListValues) {
    // Index order of the list, and the value each entry writes.
    const int values[] = {0, 1, 2, kSelectMapKeyless};
    ASSERT_EQ(MapChoices().size(), std::size(values));
    for (size_t i = 0; i < std::size(values); ++i) {
        EXPECT_EQ(MapChoices()[i].selectMap, values[i]);
        EXPECT_EQ(MapChoiceIndex(values[i]), static_cast<int>(i));
    }
    // Values that already stand for other pages keep them.
    for (int taken : {3, 4, -1})
        EXPECT_EQ(MapChoiceIndex(taken), -1) << taken;
}

TEST(SetupRules, RouteIsDrawnAgainOnlyForTheMapOptions) {
    TDtgSetValue before;
    before.CompanyName = "A";
    struct Case {
        const char* name;
        void (*change)(TDtgSetValue&);
        bool redraw;
    };
    const Case cases[] = {
        {"nothing", [](TDtgSetValue&) {}, false},
        {"company", [](TDtgSetValue& s) { s.CompanyName = "B"; }, false},
        {"map page", [](TDtgSetValue& s) { s.SelectMap = 2; }, false},
        {"gps view", [](TDtgSetValue& s) { s.GpsView = !s.GpsView; }, true},
        {"no car track", [](TDtgSetValue& s) { s.NoCarTrack = !s.NoCarTrack; }, true},
    };
    for (const Case& c : cases) {
        TDtgSetValue after = before;
        c.change(after);
        EXPECT_EQ(RouteNeedsRedraw(before, after), c.redraw) << c.name;
    }
}

}  // namespace
}  // namespace ondavia
