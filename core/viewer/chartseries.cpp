#include "viewer/chartseries.hpp"

#include <algorithm>
#include <numeric>
#include <optional>

#include "viewer/chartzoom.hpp"

namespace ondavia {

namespace {
constexpr double kUnixEpochDay = 25569.0;  // 1970-01-01 as a day count
constexpr double kSecondsPerDay = 86400.0;
}  // namespace

double ChartKeyFromDateTime(DateTime t) { return (t - kUnixEpochDay) * kSecondsPerDay; }

DateTime DateTimeFromChartKey(double key) { return key / kSecondsPerDay + kUnixEpochDay; }

ChartSeries BuildChartSeries(const TDTG_CLASS& table, bool hundredths, int pivotYear) {
    struct Point {
        double key;
        DateTime time;
        int record;
    };
    std::vector<Point> points;
    points.reserve(static_cast<size_t>(table.Count()));
    bool ascending = true;
    const auto& items = table.Items();
    for (size_t i = 0; i < items.size(); ++i) {
        std::optional<DateTime> t = TryParseDateTime(items[i].InfoDateTime.View(), pivotYear);
        if (!t) continue;
        const double key = ChartKeyFromDateTime(*t);
        if (!points.empty() && key < points.back().key) ascending = false;
        points.push_back({key, *t, static_cast<int>(i)});
    }
    if (!ascending)
        std::stable_sort(points.begin(), points.end(),
                         [](const Point& a, const Point& b) { return a.key < b.key; });

    ChartSeries s;
    s.hundredths = hundredths;
    const size_t n = points.size();
    for (auto* v : {&s.keys, &s.speed, &s.rpm, &s.engine, &s.brake, &s.distance, &s.gx, &s.gy})
        v->resize(n);
    for (size_t i = 0; i < n; ++i) {
        const TDTG_RECORD& r = items[static_cast<size_t>(points[i].record)];
        s.keys[i] = points[i].key;
        s.speed[i] = r.Speed;
        s.rpm[i] = r.RPM;
        s.engine[i] = r.Engine;
        s.brake[i] = r.Brake * 0.8;
        s.distance[i] = DistanceZigzag(r.Km);
        s.gx[i] = CapG(r.Gx);
        s.gy[i] = CapG(r.Gy);
    }
    if (n > 0) {
        s.firstTime = points.front().time;
        s.lastTime = points.back().time;
    }
    return s;
}

}  // namespace ondavia
