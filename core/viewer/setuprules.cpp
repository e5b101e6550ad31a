#include "setuprules.hpp"

namespace ondavia {

namespace {
constexpr MapChoice kMapChoices[] = {
    {"구글 지도Ⅰ", 0},
    {"구글 지도 Ⅱ", 1},
    {"다음 지도", 2},
    {"오픈스트리트맵 (키 불필요)", kSelectMapKeyless},
};
}  // namespace

std::span<const MapChoice> MapChoices() { return kMapChoices; }

int MapChoiceIndex(int selectMap) {
    for (size_t i = 0; i < std::size(kMapChoices); ++i)
        if (kMapChoices[i].selectMap == selectMap) return static_cast<int>(i);
    return -1;
}

bool RouteNeedsRedraw(const TDtgSetValue& before, const TDtgSetValue& after) {
    return before.GpsView != after.GpsView || before.NoCarTrack != after.NoCarTrack;
}

}  // namespace ondavia
