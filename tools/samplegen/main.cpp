// ondavia-samplegen OUTDIR
//
// Writes the demonstration recordings used to try the viewer by hand and to
// exercise every file form the reader accepts: a full taxi shift of 1-second
// data, an extended file with fuel figures, a packed file, 0.01-second files
// cut out around hard braking, and a locked file.
//
// Everything is derived from fixed seeds, so every run writes the same bytes.
// The vehicle is simulated every 0.01 s on a road network built from real
// Seoul streets; 1-second records are taken from the same simulation, so a
// 0.01-second file and the 1-second file of the same moment agree.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/cp949.hpp"
#include "common/fileio.hpp"
#include "data/filename.hpp"
#include "data/lockedform.hpp"

namespace fs = std::filesystem;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kStep = 0.01;  // simulation step, seconds
constexpr int kStepsPerSecond = 100;

// ------------------------------------------------------------------ numbers

// splitmix64: small, fast and identical on every platform.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
    bool Chance(double p) { return Uniform() < p; }
    // Close enough to a unit normal for noise, and cheap: four uniforms summed.
    double Gauss() {
        return (Uniform() + Uniform() + Uniform() + Uniform() - 2.0) * 1.7320508075688772;
    }

  private:
    std::uint64_t state_;
};

// A value wandering around zero with the given spread and memory (seconds).
struct Wander {
    double value = 0;
    void Step(Random& rng, double sigma, double tau, double dt) {
        value += -value / tau * dt + sigma * std::sqrt(2.0 * dt / tau) * rng.Gauss();
    }
};

double Clamp(double v, double lo, double hi) { return std::max(lo, std::min(hi, v)); }

// Moves value toward target by at most maxChange.
double Approach(double value, double target, double maxChange) {
    if (target > value) return std::min(target, value + maxChange);
    return std::max(target, value - maxChange);
}

// ------------------------------------------------------------------ the map

// Metres east (x) and north (y) of a point in central Seoul.
struct Point {
    double x = 0, y = 0;
};
Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
Point operator*(Point a, double k) { return {a.x * k, a.y * k}; }
double Norm(Point a) { return std::hypot(a.x, a.y); }

constexpr double kOriginLat = 37.55;
constexpr double kOriginLon = 126.99;
constexpr double kMetresPerDegree = 6'371'008.8 * kPi / 180.0;
const double kLonScale = std::cos(kOriginLat * kPi / 180.0);

Point FromLatLon(double lat, double lon) {
    return {(lon - kOriginLon) * kMetresPerDegree * kLonScale,
            (lat - kOriginLat) * kMetresPerDegree};
}
double LatOf(Point p) { return kOriginLat + p.y / kMetresPerDegree; }
double LonOf(Point p) { return kOriginLon + p.x / (kMetresPerDegree * kLonScale); }

// Heading of a direction, radians clockwise from north.
double Bearing(Point d) { return std::atan2(d.x, d.y); }
double WrapAngle(double a) {
    while (a > kPi)
        a -= 2 * kPi;
    while (a < -kPi)
        a += 2 * kPi;
    return a;
}

enum class RoadKind { Street, Bridge, Expressway };

struct LatLon {
    double lat, lon;
};

struct Place {
    const char* name;
    LatLon at;
};

// Intersections the taxi passes through; every one has traffic lights.
const Place kPlaces[] = {
    {"Gwanghwamun", {37.5712, 126.9768}},      // 0
    {"City Hall", {37.5663, 126.9779}},        // 1
    {"Seoul Station", {37.5547, 126.9707}},    // 2
    {"Samgakji", {37.5347, 126.9731}},         // 3  Yongsan
    {"Hangangjin", {37.5397, 127.0018}},       // 4
    {"Hannam IC north", {37.5330, 127.0075}},  // 5
    {"Hannam IC south", {37.5228, 127.0172}},  // 6
    {"Gangnam Station", {37.4979, 127.0276}},  // 7
    {"Samseong", {37.5089, 127.0631}},         // 8
    {"Jamsil", {37.5133, 127.1001}},           // 9
    {"Jongno 3-ga", {37.5704, 126.9921}},      // 10
    {"Dongdaemun", {37.5714, 127.0095}},       // 11
    {"Euljiro 3-ga", {37.5663, 126.9910}},     // 12
    {"Chungjeongno", {37.5600, 126.9636}},     // 13
    {"Sinchon", {37.5552, 126.9368}},          // 14
    {"Hongdae", {37.5572, 126.9245}},          // 15
    {"Gongdeok", {37.5443, 126.9513}},         // 16
    {"Yeouido", {37.5216, 126.9243}},          // 17
};
constexpr int kPlaceCount = static_cast<int>(sizeof kPlaces / sizeof kPlaces[0]);

// Two-way roads between places, with the corners in between (from a to b).
struct Road {
    int a, b;
    RoadKind kind;
    std::vector<LatLon> via;
};

const std::vector<Road>& Roads() {
    static const std::vector<Road> roads = {
        // Sejong-daero
        {0, 1, RoadKind::Street, {{37.5690, 126.9774}}},
        // Namdaemun-ro past Sungnyemun
        {1, 2, RoadKind::Street, {{37.5630, 126.9768}, {37.5600, 126.9752}, {37.5575, 126.9733}}},
        // Hangang-daero past Namyeong
        {2,
         3,
         RoadKind::Street,
         {{37.5505, 126.9722}, {37.5470, 126.9722}, {37.5413, 126.9714}, {37.5375, 126.9722}}},
        // Itaewon-ro past Noksapyeong and Itaewon
        {3,
         4,
         RoadKind::Street,
         {{37.5346, 126.9800}, {37.5345, 126.9866}, {37.5345, 126.9943}, {37.5370, 126.9985}}},
        // Hannam-daero down to the bridge
        {4, 5, RoadKind::Street, {{37.5365, 127.0045}}},
        // Hannam Bridge
        {5, 6, RoadKind::Bridge, {{37.5303, 127.0094}, {37.5273, 127.0129}, {37.5245, 127.0160}}},
        // Gangnam-daero past Sinsa, Nonhyeon and Sinnonhyeon
        {6,
         7,
         RoadKind::Street,
         {{37.5195, 127.0192}, {37.5163, 127.0201}, {37.5110, 127.0214}, {37.5045, 127.0250}}},
        // Teheran-ro past Yeoksam and Seolleung
        {7, 8, RoadKind::Street, {{37.5006, 127.0364}, {37.5045, 127.0490}}},
        // Olympic-ro past the Sports Complex and Jamsilsaenae
        {8, 9, RoadKind::Street, {{37.5100, 127.0700}, {37.5110, 127.0738}, {37.5116, 127.0862}}},
        // Olympic-daero along the south bank of the Han
        {9,
         6,
         RoadKind::Expressway,
         {{37.5165, 127.0975},
          {37.5195, 127.0930},
          {37.5192, 127.0850},
          {37.5178, 127.0760},
          {37.5205, 127.0690},
          {37.5225, 127.0625},
          {37.5255, 127.0560},
          {37.5280, 127.0470},
          {37.5308, 127.0390},
          {37.5322, 127.0320},
          {37.5310, 127.0255},
          {37.5272, 127.0205}}},
        // Jongno
        {0, 10, RoadKind::Street, {{37.5705, 126.9790}, {37.5702, 126.9831}, {37.5703, 126.9880}}},
        {10, 11, RoadKind::Street, {{37.5706, 126.9970}, {37.5709, 127.0019}, {37.5712, 127.0060}}},
        // Jangchungdan-ro and Euljiro
        {11, 12, RoadKind::Street, {{37.5680, 127.0090}, {37.5656, 127.0079}, {37.5667, 126.9977}}},
        {12, 1, RoadKind::Street, {{37.5661, 126.9860}, {37.5660, 126.9826}}},
        // Dongho-ro and Hannam-daero past Yaksu and Beotigogae
        {11,
         4,
         RoadKind::Street,
         {{37.5650, 127.0110},
          {37.5600, 127.0105},
          {37.5543, 127.0107},
          {37.5480, 127.0074},
          {37.5440, 127.0045}}},
        // Saemunan-ro past Seodaemun
        {0, 13, RoadKind::Street, {{37.5705, 126.9740}, {37.5690, 126.9700}, {37.5657, 126.9666}}},
        // Sinchon-ro past Ahyeon and Ewha
        {13, 14, RoadKind::Street, {{37.5574, 126.9559}, {37.5567, 126.9461}}},
        {14, 15, RoadKind::Street, {{37.5560, 126.9300}}},
        // Mapo-daero past Aeogae
        {13, 16, RoadKind::Street, {{37.5530, 126.9567}}},
        // Mapo-daero and Mapo Bridge to Yeouido
        {16,
         17,
         RoadKind::Street,
         {{37.5395, 126.9459},
          {37.5360, 126.9420},
          {37.5300, 126.9360},
          {37.5271, 126.9326},
          {37.5250, 126.9290}}},
        // Mallijae-ro
        {16, 2, RoadKind::Street, {{37.5470, 126.9590}, {37.5510, 126.9660}}},
        // Hapjeong, Yanghwa Bridge, Dangsan and the National Assembly
        {15,
         17,
         RoadKind::Street,
         {{37.5496, 126.9139},
          {37.5440, 126.9080},
          {37.5390, 126.9040},
          {37.5343, 126.9026},
          {37.5320, 126.9100},
          {37.5281, 126.9178}}},
    };
    return roads;
}

// Corner rounding: the radius a driver follows through a bend.
double BendRadius(RoadKind kind) {
    switch (kind) {
        case RoadKind::Street:
            return 14.0;
        case RoadKind::Bridge:
            return 120.0;
        case RoadKind::Expressway:
            return 650.0;
    }
    return 14.0;
}

struct Bend {
    double sStart, sEnd, radius;
};

// The path the vehicle drives: the corners of the roads taken, with every
// corner rounded into an arc. Corners are rounded once the next road is
// known, so the path always ends at the last rounded corner.
class Route {
  public:
    // Adds one road's corners (the first being the junction already reached,
    // except for the very first road). Returns the route position of that
    // junction; new bends go to bends.
    double Append(const std::vector<Point>& corners, RoadKind kind, std::vector<Bend>& bends) {
        if (raw_.empty()) {
            raw_.push_back(corners[0]);
            rawKind_.push_back(kind);
            cornerS_.push_back(0);
            AddPoint(corners[0]);
            processed_ = 1;
        }
        size_t junction = raw_.size() - 1;
        for (size_t i = 1; i < corners.size(); ++i) {
            raw_.push_back(corners[i]);
            rawKind_.push_back(kind);
            cornerS_.push_back(0);
        }
        while (processed_ + 1 < raw_.size())
            RoundCorner(processed_++, bends);
        return cornerS_[junction];
    }

    double Length() const { return cum_.empty() ? 0 : cum_.back(); }

    Point At(double s) const {
        size_t i = Segment(s);
        double len = cum_[i + 1] - cum_[i];
        double f = len > 0 ? (s - cum_[i]) / len : 0;
        return pts_[i] + (pts_[i + 1] - pts_[i]) * Clamp(f, 0, 1);
    }

    // Direction of travel at s, radians clockwise from north, taken over a
    // few metres either side so the chords of a bend blend into each other.
    double HeadingAt(double s) const {
        double lo = std::max(0.0, s - 3.0), hi = std::min(Length(), s + 3.0);
        Point d = At(hi) - At(lo);
        if (Norm(d) < 0.5) {
            size_t i = Segment(s);
            d = pts_[i + 1] - pts_[i];
        }
        return Bearing(d);
    }

  private:
    size_t Segment(double s) const {
        if (pts_.size() < 2) throw std::logic_error("route has no length");
        size_t last = pts_.size() - 2;
        size_t i = std::min(hint_, last);
        while (i > 0 && s < cum_[i])
            --i;
        while (i < last && s >= cum_[i + 1])
            ++i;
        hint_ = i;
        return i;
    }

    void AddPoint(Point p) {
        if (pts_.empty()) {
            pts_.push_back(p);
            cum_.push_back(0);
            return;
        }
        double d = Norm(p - pts_.back());
        if (d < 1e-6) return;
        pts_.push_back(p);
        cum_.push_back(cum_.back() + d);
    }

    void RoundCorner(size_t k, std::vector<Bend>& bends) {
        Point a = raw_[k - 1], b = raw_[k], c = raw_[k + 1];
        Point d1 = b - a, d2 = c - b;
        double l1 = Norm(d1), l2 = Norm(d2);
        Point u1 = d1 * (1 / l1), u2 = d2 * (1 / l2);
        double theta = std::atan2(u1.x * u2.y - u1.y * u2.x, u1.x * u2.x + u1.y * u2.y);
        if (std::fabs(theta) < 0.01) {
            AddPoint(b);
            cornerS_[k] = Length();
            return;
        }
        double radius = std::min(BendRadius(rawKind_[k]), BendRadius(rawKind_[k + 1]));
        double half = std::tan(std::fabs(theta) / 2);
        double tangent = radius * half;
        double maxTangent = 0.45 * std::min(l1, l2);
        if (tangent > maxTangent) {
            tangent = maxTangent;
            radius = tangent / half;
        }
        Point start = b - u1 * tangent;
        Point left{-u1.y, u1.x};
        Point centre = start + left * (theta > 0 ? radius : -radius);
        AddPoint(start);
        double sStart = Length();
        int steps = std::max(2, static_cast<int>(std::ceil(std::fabs(theta) * radius / 2.0)));
        Point r0 = start - centre;
        for (int i = 1; i <= steps; ++i) {
            double phi = theta * i / steps;  // counter-clockwise in east-north axes
            Point r{r0.x * std::cos(phi) - r0.y * std::sin(phi),
                    r0.x * std::sin(phi) + r0.y * std::cos(phi)};
            AddPoint(centre + r);
        }
        double sEnd = Length();
        cornerS_[k] = (sStart + sEnd) / 2;
        bends.push_back({sStart, sEnd, radius});
    }

    std::vector<Point> raw_;
    std::vector<RoadKind> rawKind_;  // kind of the road ending at that corner
    std::vector<double> cornerS_;
    size_t processed_ = 0;
    std::vector<Point> pts_;
    std::vector<double> cum_;
    mutable size_t hint_ = 0;
};

// ------------------------------------------------------------------ the drive

struct DrivePlan {
    std::uint64_t seed = 1;
    int startPlace = 0;
    int startSecondOfDay = 0;
    double warmUp = 60;              // seconds parked with the engine running first
    double speedLiking = 1.0;        // this driver's pace
    std::vector<double> hardBrakes;  // earliest moments, seconds from the start
    std::vector<double> hardStarts;  // earliest moments of a hard start from a stop
};

// The vehicle after one step.
struct Instant {
    double t = 0;         // seconds from the start
    double v = 0;         // m/s
    double a = 0;         // m/s^2 over the last step
    double lateral = 0;   // m/s^2, positive in a right-hand bend
    double odometer = 0;  // metres driven since the start
    Point gps;            // position as the receiver reports it
    double heading = 0;   // radians clockwise from north
    double rpm = 0;
    double fuelMl = 0;  // consumed since the start
    double pedal = 0;   // accelerator, 0..1000 (per mille)
    double steer = 0;   // steering-wheel angle, degrees, positive to the right
    int gear = 1;
    bool park = false;
    bool brake = false;
};

class Drive {
  public:
    explicit Drive(const DrivePlan& plan)
        : plan_(plan), rng_(plan.seed), atPlace_(plan.startPlace) {
        aLateral_ = rng_.Range(2.0, 2.4);
        brakeComfort_ = rng_.Range(2.1, 2.6);
        pickupNext_ = plan.warmUp + rng_.Range(120, 400);
        EnsureAhead();
        heading_ = route_.HeadingAt(0);
        phase_ = Phase::Waiting;
        waitLeft_ = plan.warmUp;
        park_ = true;
        rpm_ = 800;
        Observe(0);
    }

    const Instant& Now() const { return now_; }
    const std::vector<double>& HardBrakeTimes() const { return hardBrakeTimes_; }

    void Step() {
        ++steps_;
        const double dt = kStep;
        t_ = static_cast<double>(steps_) * dt;
        const bool wholeSecond = steps_ % kStepsPerSecond == 0;
        EnsureAhead();
        paceNoise_.Step(rng_, 1.3, 40, dt);
        gpsErrX_.Step(rng_, 1.2, 25, dt);
        gpsErrY_.Step(rng_, 1.2, 25, dt);
        idleNoise_.Step(rng_, 12, 8, dt);

        const double vOld = v_;
        if (phase_ == Phase::Waiting) {
            a_ = 0;
            v_ = 0;
            waitLeft_ -= dt;
            if (waitLeft_ <= 0) Depart();
        } else {
            if (phase_ == Phase::Driving && wholeSecond) {
                MaybeHardBrake();
                MaybePassengerStop();
            }
            if (phase_ == Phase::Emergency) {
                if (v_ > emergencyEnd_ + 1.8)
                    a_ = Approach(a_, -emergencyDecel_, 60 * dt);
                else
                    a_ = Approach(a_, 0, 20 * dt);
            } else {
                double target = TargetAcceleration();
                double jerk = target < a_ - 2 ? 8 : boost_ > 0 ? 10 : 3;
                a_ = Approach(a_, target, jerk * dt);
            }
            double vNew = std::max(0.0, v_ + a_ * dt);
            double sNew = s_ + (v_ + vNew) / 2 * dt;
            odometer_ += sNew - s_;
            s_ = sNew;
            v_ = vNew;
            if (phase_ == Phase::Emergency) {
                if (v_ <= 0) {
                    StartWait(rng_.Range(2, 5), true, false);
                } else if (v_ <= emergencyEnd_ + 1.8 && a_ > -0.3) {
                    phase_ = Phase::Driving;
                }
            } else {
                CheckArrival();
            }
            if (boost_ > 0 && v_ >= boostUntil_) boost_ = 0;
            DropPassed();
        }
        Observe((v_ - vOld) / dt);
    }

  private:
    enum class Phase { Driving, Waiting, Emergency };
    enum class StopKind { None, Light, Passenger };

    // A place ahead where the speed is limited (a bend: sStart..sEnd) or the
    // vehicle has to stop (sStart == sEnd, vMax 0) for wait seconds.
    struct Limit {
        double sStart, sEnd, vMax;
        StopKind stop = StopKind::None;
        double wait = 0;
        bool park = false;
    };

    struct Leg {
        double sStart;
        RoadKind kind;
        double cruise;  // m/s before the time-of-day factor
    };

    // ---------------------------------------------------------- route ahead

    void EnsureAhead() {
        while (route_.Length() - s_ < 1200 || legs_.empty())
            AppendNextRoad();
    }

    std::vector<Point> RoadCorners(const Road& road, bool forward) const {
        std::vector<Point> pts;
        pts.push_back(FromLatLon(kPlaces[road.a].at.lat, kPlaces[road.a].at.lon));
        for (const LatLon& p : road.via)
            pts.push_back(FromLatLon(p.lat, p.lon));
        pts.push_back(FromLatLon(kPlaces[road.b].at.lat, kPlaces[road.b].at.lon));
        if (!forward) std::reverse(pts.begin(), pts.end());
        return pts;
    }

    // Typical travel time of a road, lights included, for route choice.
    static double RoadMinutes(const Road& r) {
        double length = 0;
        LatLon prev = kPlaces[r.a].at;
        auto add = [&](LatLon p) {
            length += Norm(FromLatLon(p.lat, p.lon) - FromLatLon(prev.lat, prev.lon));
            prev = p;
        };
        for (const LatLon& p : r.via)
            add(p);
        add(kPlaces[r.b].at);
        double kmh = r.kind == RoadKind::Street ? 28 : r.kind == RoadKind::Bridge ? 55 : 90;
        return length / 1000 / kmh * 60;
    }

    // Minutes from every place to the destination.
    static std::vector<double> MinutesTo(int destination) {
        const auto& roads = Roads();
        std::vector<double> best(kPlaceCount, 1e18);
        std::vector<bool> done(kPlaceCount, false);
        best[static_cast<size_t>(destination)] = 0;
        for (int round = 0; round < kPlaceCount; ++round) {
            int u = -1;
            for (int i = 0; i < kPlaceCount; ++i)
                if (!done[static_cast<size_t>(i)] &&
                    (u < 0 || best[static_cast<size_t>(i)] < best[static_cast<size_t>(u)]))
                    u = i;
            done[static_cast<size_t>(u)] = true;
            for (const Road& r : roads) {
                if (r.a != u && r.b != u) continue;
                int w = r.a == u ? r.b : r.a;
                best[static_cast<size_t>(w)] = std::min(
                    best[static_cast<size_t>(w)], best[static_cast<size_t>(u)] + RoadMinutes(r));
            }
        }
        return best;
    }

    // Where fares tend to go.
    int PickDestination() {
        static const double kWeight[kPlaceCount] = {2, 1, 2, 1, 1, 0, 0, 3, 2,
                                                    3, 1, 2, 1, 1, 1, 2, 1, 2};
        double total = 0;
        for (int i = 0; i < kPlaceCount; ++i)
            total += i == atPlace_ ? 0 : kWeight[i];
        double pick = rng_.Range(0, total);
        for (int i = 0; i < kPlaceCount; ++i) {
            double w = i == atPlace_ ? 0 : kWeight[i];
            if (pick < w) return i;
            pick -= w;
        }
        return atPlace_ == 7 ? 9 : 7;
    }

    // The next road: mostly the quickest way on toward the current
    // destination, now and then a street taken at random while cruising for
    // a fare; never straight back the way the taxi came.
    void AppendNextRoad() {
        const auto& roads = Roads();
        if (destination_ < 0 || destination_ == atPlace_) destination_ = PickDestination();
        const std::vector<double> minutes = MinutesTo(destination_);
        const bool wander = rng_.Chance(0.15);
        struct Option {
            int road;
            bool forward;
            double cost;
        };
        std::vector<Option> options, sharp;
        for (int i = 0; i < static_cast<int>(roads.size()); ++i) {
            const Road& r = roads[static_cast<size_t>(i)];
            if (r.a != atPlace_ && r.b != atPlace_) continue;
            if (i == cameBy_) continue;
            bool forward = r.a == atPlace_;
            std::vector<Point> c = RoadCorners(r, forward);
            double turn =
                hasArrival_ ? std::fabs(WrapAngle(Bearing(c[1] - c[0]) - arrivalHeading_)) : 0;
            int next = forward ? r.b : r.a;
            double cost =
                wander ? rng_.Uniform()
                       : RoadMinutes(r) + minutes[static_cast<size_t>(next)] + rng_.Range(0, 0.5);
            Option o{i, forward, cost};
            (turn > 140 * kPi / 180 ? sharp : options).push_back(o);
        }
        if (options.empty()) options = sharp;
        if (options.empty()) throw std::logic_error("a place with no road out");
        const Option* chosen = &options.front();
        for (const Option& o : options)
            if (o.cost < chosen->cost) chosen = &o;
        const Road& road = roads[static_cast<size_t>(chosen->road)];
        std::vector<Point> corners = RoadCorners(road, chosen->forward);

        std::vector<Bend> bends;
        const bool firstRoad = legs_.empty();
        double sJunction = route_.Append(corners, road.kind, bends);
        for (const Bend& b : bends) {
            double vMax = std::sqrt(aLateral_ * b.radius);
            if (vMax < 30) AddLimit({b.sStart, b.sEnd, std::max(vMax, 3.0)});
        }

        double cruiseKmh = 0;
        switch (road.kind) {
            case RoadKind::Street:
                cruiseKmh = rng_.Range(46, 60);
                break;
            case RoadKind::Bridge:
                cruiseKmh = rng_.Range(62, 76);
                break;
            case RoadKind::Expressway:
                cruiseKmh = rng_.Range(97, 108);
                break;
        }
        double cruise = cruiseKmh * plan_.speedLiking / 3.6;
        if (!firstRoad) {
            // Every junction is a signalled crossing; slow down before it
            // when leaving a faster road.
            AddLight(sJunction - 12, 0.45);
            if (legs_.back().cruise > cruise + 2)
                AddLimit({sJunction - 30, sJunction + 40, cruise});
        }
        legs_.push_back({sJunction, road.kind, cruise});

        if (road.kind == RoadKind::Street) {
            double length = 0;
            for (size_t i = 1; i < corners.size(); ++i)
                length += Norm(corners[i] - corners[i - 1]);
            for (double d = rng_.Range(180, 450); d < length - 150; d += rng_.Range(300, 800))
                AddLight(sJunction + d, 0.3);
        }

        hasArrival_ = true;
        arrivalHeading_ = Bearing(corners.back() - corners[corners.size() - 2]);
        cameBy_ = chosen->road;
        atPlace_ = chosen->forward ? road.b : road.a;
    }

    void AddLight(double s, double redChance) {
        if (!rng_.Chance(redChance)) return;
        Limit l{s, s, 0};
        l.stop = StopKind::Light;
        l.wait = rng_.Range(20, 90);
        AddLimit(l);
    }

    void AddLimit(const Limit& l) {
        auto it = std::upper_bound(limits_.begin(), limits_.end(), l.sStart,
                                   [](double s, const Limit& x) { return s < x.sStart; });
        limits_.insert(it, l);
    }

    void DropPassed() {
        if (!limits_.empty() && limits_.front().stop != StopKind::None &&
            limits_.front().sStart < s_ - 20)
            throw std::logic_error("the vehicle ran past a stop");
        size_t n = 0;
        while (n < limits_.size() && limits_[n].sEnd < s_ - 1 && limits_[n].stop == StopKind::None)
            ++n;
        if (n) limits_.erase(limits_.begin(), limits_.begin() + static_cast<std::ptrdiff_t>(n));
    }

    const Leg& LegAt(double s) const {
        size_t i = legs_.size() - 1;
        while (i > 0 && legs_[i].sStart > s)
            --i;
        return legs_[i];
    }

    // ---------------------------------------------------------- driving

    double TimeOfDayFactor() const {
        double h = (plan_.startSecondOfDay + t_) / 3600.0;
        auto bump = [h](double centre, double width) {
            double x = (h - centre) / width;
            return std::exp(-x * x);
        };
        return 1.0 - 0.32 * bump(8.3, 0.8) - 0.12 * bump(12.5, 0.7) - 0.28 * bump(18.5, 1.0);
    }

    double TargetAcceleration() {
        const Leg& leg = LegAt(s_);
        double factor = TimeOfDayFactor();
        if (leg.kind == RoadKind::Expressway) factor = 1 - (1 - factor) * 0.4;
        double cruise = std::max(3.0, leg.cruise * factor + paceNoise_.value);
        double aMax = 1.7 - 0.035 * v_;
        double target = Clamp(0.5 * (cruise - v_), -1.2, aMax);
        if (boost_ > 0) target = boost_;
        for (const Limit& l : limits_) {
            if (l.sStart - s_ > 350) break;
            const bool stop = l.stop != StopKind::None;
            if (stop && s_ >= l.sStart) {
                // rolled onto the line: stop now
                target = std::min(target, -2.5);
                continue;
            }
            if (l.sEnd < s_) continue;
            if (s_ >= l.sStart) {
                // inside a bend
                target = std::min(target, Clamp(0.8 * (l.vMax - v_), -2.5, 1.0));
                continue;
            }
            double d = l.sStart - s_;
            if (v_ > l.vMax) {
                // Brake once the deceleration needed gets firm, and over the
                // last metre and a half before a stop line always, so a car
                // creeping up to it still comes to rest on it.
                double need = (v_ * v_ - l.vMax * l.vMax) / (2 * std::max(d, 0.05));
                if (need > 0.75 * brakeComfort_ || (stop && d < 1.5))
                    target = std::min(target, -need);
            }
            // no speeding up into a place one could not stop or slow for
            double vAllow = std::sqrt(l.vMax * l.vMax + 2 * 0.75 * brakeComfort_ * d);
            if (v_ < vAllow) target = std::min(target, std::max(0.0, 0.7 * (vAllow - v_)));
        }
        return target;
    }

    void CheckArrival() {
        for (size_t i = 0; i < limits_.size(); ++i) {
            Limit& l = limits_[i];
            if (l.stop == StopKind::None) {
                if (l.sStart - s_ > 5) break;
                continue;
            }
            // A car reaching the line a little fast brakes through the
            // last centimetres rather than stopping dead within one step.
            double d = l.sStart - s_;
            if (d > 2.0) break;
            if (v_ < 0.005) {
                v_ = 0;
                Limit stop = l;
                limits_.erase(limits_.begin() + static_cast<std::ptrdiff_t>(i));
                StartWait(stop.wait, !stop.park, stop.park);
            }
            break;
        }
    }

    void StartWait(double seconds, bool holdBrake, bool park) {
        phase_ = Phase::Waiting;
        a_ = 0;
        v_ = 0;
        waitLeft_ = seconds;
        holdBrake_ = holdBrake;
        park_ = park;
    }

    void Depart() {
        phase_ = Phase::Driving;
        holdBrake_ = false;
        park_ = false;
        if (!plan_.hardStarts.empty() && t_ >= plan_.hardStarts.front()) {
            plan_.hardStarts.erase(plan_.hardStarts.begin());
            boost_ = rng_.Range(3.4, 3.8);
            boostUntil_ = rng_.Range(13.5, 15.5);
        }
    }

    bool StopWithin(double from, double to) const {
        for (const Limit& l : limits_)
            if (l.stop != StopKind::None && l.sStart >= from && l.sStart <= to) return true;
        return false;
    }

    // Emergency braking (a car cutting in, a pedestrian) at a whole second,
    // so that one 1-second record holds a full second of it.
    void MaybeHardBrake() {
        if (plan_.hardBrakes.empty() || t_ < plan_.hardBrakes.front()) return;
        if (v_ < 14.0 || boost_ > 0 || LegAt(s_).kind == RoadKind::Expressway) return;
        if (StopWithin(s_, s_ + 90)) return;
        plan_.hardBrakes.erase(plan_.hardBrakes.begin());
        phase_ = Phase::Emergency;
        emergencyDecel_ = rng_.Range(8.0, 8.7);
        emergencyEnd_ = rng_.Chance(0.5) ? 0.0 : rng_.Range(2.5, 5.0);
        hardBrakeTimes_.push_back(t_);
    }

    // Passengers: picked up at the kerb, set down some minutes later,
    // sometimes followed by a wait at a taxi rank.
    void MaybePassengerStop() {
        if (t_ < pickupNext_) return;
        double at = s_ + std::max(50.0, v_ * v_ / (2 * 1.4) + 25);
        if (LegAt(s_).kind != RoadKind::Street || LegAt(at).kind != RoadKind::Street) return;
        if (at > route_.Length() - 50 || StopWithin(s_, at + 60)) return;
        Limit l{at, at, 0};
        l.stop = StopKind::Passenger;
        if (!occupied_) {
            l.wait = rng_.Range(15, 45);
            occupied_ = true;
            pickupNext_ = t_ + rng_.Range(420, 1500);
        } else {
            l.wait = rng_.Range(25, 75);
            occupied_ = false;
            if (rng_.Chance(0.25)) {
                l.wait += rng_.Range(180, 540);
                l.park = true;
            }
            pickupNext_ = t_ + l.wait + rng_.Range(60, 600);
        }
        AddLimit(l);
    }

    // ---------------------------------------------------------- the vehicle

    void Observe(double aEffective) {
        const double dt = kStep;
        const double kmh = v_ * 3.6;
        double heading = route_.HeadingAt(s_);
        double yawRate = WrapAngle(heading - heading_) / dt;
        heading_ = heading;

        // Automatic gearbox: up-shifts come later under hard throttle.
        static const double kUp[] = {0, 16, 30, 45, 62, 1e9};
        static const double kRpmPerKmh[] = {0, 105, 62, 44, 33, 25};
        double late = a_ > 2 ? 10 : 0;
        if (gear_ < 5 && kmh > kUp[gear_] + late) ++gear_;
        if (gear_ > 1 && kmh < kUp[gear_ - 1] - 6) --gear_;

        double rpmTarget;
        if (v_ < 0.1) {
            rpmTarget = 780 + idleNoise_.value + (park_ ? 20 : -10);
        } else {
            rpmTarget = kmh * kRpmPerKmh[gear_];
            if (a_ > 0) rpmTarget += 140 * a_ + 60;
            rpmTarget = std::max(rpmTarget, a_ > 0.1 ? 1000.0 : 820.0);
        }
        rpm_ += (rpmTarget - rpm_) * std::min(1.0, dt / 0.3);

        // Engine power from mass, rolling resistance and air drag; fuel
        // (LPG, about 5.2 kJ of work per millilitre) with a cut on the overrun.
        double power = 1650 * (aEffective + 0.118) * v_ + 0.372 * v_ * v_ * v_;
        double flow = 0.21 + std::max(0.0, power) / 5200;
        if (a_ < -0.4 && v_ > 4) flow = 0.03;
        fuel_ += flow * dt;
        double pedalTarget =
            (power > 0 && phase_ == Phase::Driving) ? Clamp(30 + power / 95.0 * 0.9, 0, 1000) : 0;
        pedal_ += (pedalTarget - pedal_) * std::min(1.0, dt / 0.15);

        if (v_ > 0.5) {
            double curvature = yawRate / v_;
            steer_ = Clamp(15 * std::atan(2.8 * curvature) * 180 / kPi, -540, 540);
        }

        now_.t = t_;
        now_.v = v_;
        now_.a = aEffective;
        now_.lateral = v_ * yawRate;
        now_.odometer = odometer_;
        now_.gps = route_.At(s_) + Point{gpsErrX_.value, gpsErrY_.value};
        now_.heading = heading;
        now_.rpm = rpm_;
        now_.fuelMl = fuel_;
        now_.pedal = pedal_;
        now_.steer = steer_;
        now_.gear = gear_;
        now_.park = park_;
        now_.brake = phase_ == Phase::Emergency || (phase_ == Phase::Waiting && holdBrake_) ||
                     (a_ < -0.75 && v_ > 0.05);
    }

    DrivePlan plan_;
    Random rng_;
    Route route_;
    std::vector<Leg> legs_;
    std::vector<Limit> limits_;
    int atPlace_;
    int cameBy_ = -1;
    int destination_ = -1;
    bool hasArrival_ = false;
    double arrivalHeading_ = 0;

    double aLateral_ = 2.2, brakeComfort_ = 2.3;
    std::int64_t steps_ = 0;
    double t_ = 0, s_ = 0, v_ = 0, a_ = 0, odometer_ = 0;
    Phase phase_ = Phase::Driving;
    double waitLeft_ = 0;
    bool holdBrake_ = false, park_ = false;
    double emergencyDecel_ = 0, emergencyEnd_ = 0;
    double boost_ = 0, boostUntil_ = 0;
    bool occupied_ = false;
    double pickupNext_ = 0;
    std::vector<double> hardBrakeTimes_;

    Wander paceNoise_, gpsErrX_, gpsErrY_, idleNoise_;
    double heading_ = 0, rpm_ = 0, fuel_ = 0, pedal_ = 0, steer_ = 0;
    int gear_ = 1;
    Instant now_;
};

// ------------------------------------------------------------------ sampling

// What one record line shows.
struct Frame {
    int second = 0;     // whole seconds from the start of the drive
    int hundredth = 0;  // 0 for 1-second data
    double v = 0, gx = 0, gy = 0, odometer = 0, heading = 0, rpm = 0, fuelMl = 0, pedal = 0,
           steer = 0;
    Point gps;
    int gear = 1;
    bool park = false, brake = false;
};

Frame FrameOf(const Instant& x, int second, int hundredth) {
    Frame f;
    f.second = second;
    f.hundredth = hundredth;
    f.v = x.v;
    f.odometer = x.odometer;
    f.heading = x.heading;
    f.rpm = x.rpm;
    f.fuelMl = x.fuelMl;
    f.pedal = x.pedal;
    f.steer = x.steer;
    f.gps = x.gps;
    f.gear = x.gear;
    f.park = x.park;
    f.brake = x.brake;
    return f;
}

struct DriveResult {
    std::vector<Frame> seconds;
    std::vector<double> hardBrakeTimes;
};

// One frame per whole second: the longitudinal value is the speed change
// over that second, the lateral value its mean, the brake on when it was
// pressed for at least half of it.
DriveResult SampleSeconds(const DrivePlan& plan, int seconds) {
    Drive drive(plan);
    DriveResult r;
    r.seconds.reserve(static_cast<size_t>(seconds));
    r.seconds.push_back(FrameOf(drive.Now(), 0, 0));
    for (int sec = 1; sec < seconds; ++sec) {
        double vBefore = drive.Now().v;
        double lateral = 0;
        int braking = 0;
        for (int i = 0; i < kStepsPerSecond; ++i) {
            drive.Step();
            lateral += drive.Now().lateral;
            braking += drive.Now().brake ? 1 : 0;
        }
        Frame f = FrameOf(drive.Now(), sec, 0);
        f.gx = drive.Now().v - vBefore;
        f.gy = lateral / kStepsPerSecond;
        f.brake = braking >= kStepsPerSecond / 2;
        r.seconds.push_back(f);
    }
    r.hardBrakeTimes = drive.HardBrakeTimes();
    return r;
}

struct Window {
    int fromSecond, seconds;
    std::vector<Frame> frames;
};

// Every step of the given windows, replaying the same drive.
void SampleHundredths(const DrivePlan& plan, std::vector<Window>& windows) {
    int last = 0;
    for (const Window& w : windows)
        last = std::max(last, w.fromSecond + w.seconds);
    Drive drive(plan);
    for (std::int64_t step = 0; step < static_cast<std::int64_t>(last) * kStepsPerSecond; ++step) {
        if (step > 0) drive.Step();
        int sec = static_cast<int>(step / kStepsPerSecond);
        int hundredth = static_cast<int>(step % kStepsPerSecond);
        for (Window& w : windows) {
            if (sec < w.fromSecond || sec >= w.fromSecond + w.seconds) continue;
            Frame f = FrameOf(drive.Now(), sec, hundredth);
            f.gx = drive.Now().a;
            f.gy = drive.Now().lateral;
            w.frames.push_back(f);
        }
    }
}

// ------------------------------------------------------------------ records

struct Vehicle {
    const char* id;  // eight characters, used in file names
    const char* model;
    const char* vin;
    const char* kindCode;  // 21 general taxi, 22 private taxi
    const char* plate;     // UTF-8
    const char* business;
    const char* driver;
};

std::string PadTo(std::string_view text, size_t width, const char* what) {
    if (text.size() > width) throw std::runtime_error(std::string(what) + " is too long");
    std::string s(text);
    s.resize(width, ' ');
    return s;
}

std::string HeaderOf(const Vehicle& v) {
    auto plate = ondavia::Utf8ToCp949(v.plate);
    if (!plate) throw std::runtime_error("the plate cannot be written in cp949");
    std::string h;
    h += PadTo(v.model, 20, "model");
    h += PadTo(v.vin, 17, "vehicle identification number");
    h += PadTo(v.kindCode, 2, "vehicle kind");
    h += PadTo(*plate, 12, "registration number");
    h += PadTo(v.business, 10, "business number");
    h += PadTo(v.driver, 18, "driver code");
    if (h.size() != 79) throw std::logic_error("header is not 79 bytes");
    return h;
}

struct Clock {
    int year, month, day, startSecondOfDay;
};

// Zero-padded unsigned decimal of exactly width digits.
std::string Digits(long long value, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*lld", width, value);
    std::string s(buf);
    if (value < 0 || static_cast<int>(s.size()) != width)
        throw std::logic_error("field overflow: " + s);
    return s;
}

// "+01.50": sign, two digits, point, two decimals.
std::string Accel(double value) {
    value = Clamp(value, -99.99, 99.99);
    if (std::fabs(value) < 0.005) value = 0;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%+06.2f", value);
    return buf;
}

enum class Layout { Packed, TextExtended, Text };

// Turns frames into record lines, keeping what one line needs of the one
// before it: the distance and fuel since then and the last good azimuth.
class RecordWriter {
  public:
    RecordWriter(const Clock& clock, double odometerStart, std::uint64_t noiseSeed)
        : clock_(clock), odometerStart_(odometerStart), noise_(noiseSeed) {}

    // gpsFault: the receiver is out; zero position and azimuth, state 11.
    std::string Line(const Frame& f, const Frame* previous, bool extended, bool gpsFault) {
        long long metres = std::llround(f.odometer);
        long long before = previous ? std::llround(previous->odometer) : metres;
        int sod = clock_.startSecondOfDay + f.second;
        if (sod >= 86'400) throw std::logic_error("a drive runs past midnight");
        int kmh = static_cast<int>(std::lround(f.v * 3.6));
        // The receiver's course is only good while moving.
        int azimuth = static_cast<int>(std::lround(f.heading * 180 / kPi + 360)) % 360;
        if (kmh < 2 && lastAzimuth_ >= 0) azimuth = lastAzimuth_;
        lastAzimuth_ = azimuth;
        double gx = f.gx + 0.03 * noise_.Gauss();
        double gy = f.gy + 0.03 * noise_.Gauss();

        std::string s;
        s.reserve(87);
        s += Digits(std::min(9999LL, metres - before), 4);
        s +=
            Digits((static_cast<long long>(std::llround(odometerStart_)) + metres) % 10'000'000, 7);
        s += Digits(clock_.year % 100, 2) + Digits(clock_.month, 2) + Digits(clock_.day, 2);
        s += Digits(sod / 3600, 2) + Digits(sod / 60 % 60, 2) + Digits(sod % 60, 2);
        s += Digits(f.hundredth, 2);
        s += Digits(std::min(kmh, 999), 3);
        s += Digits(std::lround(f.rpm), 4);
        s += f.brake ? '1' : '0';
        s += gpsFault ? Digits(0, 9) : Digits(std::llround(LonOf(f.gps) * 1e6), 9);
        s += gpsFault ? Digits(0, 9) : Digits(std::llround(LatOf(f.gps) * 1e6), 9);
        s += gpsFault ? Digits(0, 3) : Digits(azimuth, 3);
        s += Accel(gx);
        s += Accel(gy);
        s += gpsFault ? "11" : "00";
        if (s.size() != 68) throw std::logic_error("record is not 68 characters");
        if (!extended) return s;

        long long fuel = static_cast<long long>(std::floor(f.fuelMl)) -
                         (previous ? static_cast<long long>(std::floor(previous->fuelMl))
                                   : static_cast<long long>(std::floor(f.fuelMl)));
        char buf[32];
        s += ' ';
        if (f.park)
            s += "P0";
        else
            s += "D" + std::to_string(f.gear);
        std::snprintf(buf, sizeof buf, "%06llX", fuel);
        s += buf;
        s += "00";
        s += Digits(std::lround(Clamp(f.pedal, 0, 999)), 4);
        std::snprintf(buf, sizeof buf, "%+04ld", std::lround(Clamp(f.steer, -540, 540)));
        s += buf;
        if (s.size() != 87) throw std::logic_error("extended record is not 87 characters");
        return s;
    }

  private:
    Clock clock_;
    double odometerStart_;
    Random noise_;
    int lastAzimuth_ = -1;
};

std::string Assemble(const std::string& header, const std::vector<std::string>& lines,
                     Layout layout) {
    std::string bytes = header;
    if (layout != Layout::Packed) bytes += "\r\n";
    for (const std::string& line : lines) {
        bytes += line;
        if (layout != Layout::Packed) bytes += "\r\n";
    }
    return bytes;
}

void Lock(std::string& bytes, const std::string& upperName) {
    ondavia::ScrambleBytes(bytes, ondavia::LockKey(upperName));
}

void WriteFile(const fs::path& dir, const std::string& name, const std::string& bytes) {
    fs::path path = dir / name;
    std::string reason;
    if (!ondavia::ReplaceFileAtomically(path, bytes, &reason))
        throw std::runtime_error("cannot write " + path.string() + ": " + reason);
    std::printf("%s  %zu bytes\n", name.c_str(), bytes.size());
}

std::string Hhnnss(const Clock& c, int second) {
    int sod = c.startSecondOfDay + second;
    return Digits(sod / 3600, 2) + Digits(sod / 60 % 60, 2) + Digits(sod % 60, 2);
}

std::string DateText(const Clock& c) {
    return Digits(c.year, 4) + Digits(c.month, 2) + Digits(c.day, 2);
}

// Name with a type letter: date-id-L-nn-tail.TXT, the tail being the start
// time and a 0.
std::string LetterName(const Clock& c, const Vehicle& v, char sep, char letter, int number,
                       int firstSecond) {
    std::string name = DateText(c) + sep + v.id + sep + letter + sep + Digits(number, 2) + sep +
                       Hhnnss(c, firstSecond) + "0.TXT";
    if (name.size() != 34) throw std::logic_error("name is not 34 characters: " + name);
    return name;
}

std::string ShortName(const Clock& c, const Vehicle& v, char sep, int number) {
    std::string name = DateText(c) + sep + v.id + sep + Digits(number, 2) + ".TXT";
    if (name.size() != 24) throw std::logic_error("name is not 24 characters: " + name);
    return name;
}

struct Gap {
    int second, count;
};

// Lines of frames at whole seconds, leaving out the gaps and marking the
// receiver fault.
std::vector<std::string> SecondLines(const std::vector<Frame>& frames, RecordWriter& writer,
                                     bool extended, const std::vector<Gap>& gaps, int faultFrom,
                                     int faultSeconds) {
    std::vector<std::string> lines;
    lines.reserve(frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        int sec = frames[i].second;
        bool missing = false;
        for (const Gap& g : gaps)
            missing |= sec >= g.second && sec < g.second + g.count;
        if (missing) continue;
        bool fault = sec >= faultFrom && sec < faultFrom + faultSeconds;
        lines.push_back(writer.Line(frames[i], i ? &frames[i - 1] : nullptr, extended, fault));
    }
    return lines;
}

std::vector<std::string> HundredthLines(const std::vector<Frame>& frames, RecordWriter& writer) {
    std::vector<std::string> lines;
    lines.reserve(frames.size());
    for (size_t i = 0; i < frames.size(); ++i)
        lines.push_back(writer.Line(frames[i], i ? &frames[i - 1] : nullptr, false, false));
    return lines;
}

double EndOdometer(const DriveResult& r) { return r.seconds.back().odometer; }

// ------------------------------------------------------------------ the set

const Vehicle kCompanyTaxi = {"ONT10001",     "DTG#ON-T100", "KMHL841CBPA102938", "21",
                              "서울32바1234", "1108512345",  "#D123456789"};
const Vehicle kPrivateTaxi = {"ONT20002",     "DTG#ON-T100", "KMHE341DBRA207416", "22",
                              "서울30사5678", "2150987654",  "#D987654321"};

void Generate(const fs::path& dir) {
    fs::create_directories(dir);

    // 1. The company taxi's day shift, 06:30 to 16:30, and the 0.01-second
    //    files the recorder kept around two of its hard brakings.
    {
        const Clock clock{2026, 12, 10, 6 * 3600 + 30 * 60};
        DrivePlan plan;
        plan.seed = 0x5EED0001;
        plan.startPlace = 2;
        plan.startSecondOfDay = clock.startSecondOfDay;
        plan.warmUp = 95;
        plan.speedLiking = 1.04;
        plan.hardBrakes = {2400, 8100, 13200, 19800, 25200, 31500};
        plan.hardStarts = {4000, 16000, 27000};
        const int seconds = 36'000;
        DriveResult day = SampleSeconds(plan, seconds);

        // A few seconds the recorder missed, and a few minutes without GPS.
        const std::vector<Gap> gaps = {{5'617, 1}, {11'803, 2}, {22'141, 3}, {33'012, 4}};
        int faultFrom = 28'200;
        while (faultFrom < seconds && day.seconds[static_cast<size_t>(faultFrom)].v < 20 / 3.6)
            ++faultFrom;
        const int faultSeconds = 215;
        const double odometer = 2'784'310;

        RecordWriter writer(clock, odometer, 0xA11CE);
        std::string name = LetterName(clock, kCompanyTaxi, '-', 'S', 1, 0);
        WriteFile(dir, name,
                  Assemble(HeaderOf(kCompanyTaxi),
                           SecondLines(day.seconds, writer, false, gaps, faultFrom, faultSeconds),
                           Layout::Text));

        if (day.hardBrakeTimes.size() < 5)
            throw std::logic_error("too few hard brakings in the shift");
        int brake3 = static_cast<int>(day.hardBrakeTimes[2]);
        int brake5 = static_cast<int>(day.hardBrakeTimes[4]);
        std::vector<Window> windows = {{brake3 - 45, 180, {}}, {brake5 - 10, 30, {}}};
        SampleHundredths(plan, windows);

        RecordWriter fine(clock, odometer, 0xB0B);
        name = LetterName(clock, kCompanyTaxi, '-', 'C', 2, windows[0].fromSecond);
        WriteFile(dir, name,
                  Assemble(HeaderOf(kCompanyTaxi), HundredthLines(windows[0].frames, fine),
                           Layout::Text));

        RecordWriter fineShort(clock, odometer, 0xC0C);
        name = ShortName(clock, kCompanyTaxi, '_', 3);
        WriteFile(dir, name,
                  Assemble(HeaderOf(kCompanyTaxi), HundredthLines(windows[1].frames, fineShort),
                           Layout::Text));
    }

    // 2. The private taxi on three days: an hour with fuel figures, two
    //    hours packed, half an hour locked.
    {
        double odometer = 4'105'566;

        const Clock day1{2026, 12, 9, 9 * 3600};
        DrivePlan plan1;
        plan1.seed = 0x5EED0102;
        plan1.startPlace = 9;
        plan1.startSecondOfDay = day1.startSecondOfDay;
        plan1.warmUp = 25;
        plan1.speedLiking = 0.98;
        plan1.hardBrakes = {1500};
        plan1.hardStarts = {900};
        DriveResult r1 = SampleSeconds(plan1, 3600);
        RecordWriter w1(day1, odometer, 0xD1);
        WriteFile(dir, LetterName(day1, kPrivateTaxi, '_', 'S', 1, 0),
                  Assemble(HeaderOf(kPrivateTaxi), SecondLines(r1.seconds, w1, true, {}, -1, 0),
                           Layout::TextExtended));
        odometer += EndOdometer(r1) + 61'240;  // driven on days without files here

        const Clock day2{2026, 12, 10, 10 * 3600};
        DrivePlan plan2;
        plan2.seed = 0x5EED0103;
        plan2.startPlace = 17;
        plan2.startSecondOfDay = day2.startSecondOfDay;
        plan2.warmUp = 40;
        plan2.speedLiking = 0.98;
        plan2.hardBrakes = {3000};
        plan2.hardStarts = {5000};
        DriveResult r2 = SampleSeconds(plan2, 7200);
        RecordWriter w2(day2, odometer, 0xD2);
        WriteFile(dir, ShortName(day2, kPrivateTaxi, '-', 1),
                  Assemble(HeaderOf(kPrivateTaxi), SecondLines(r2.seconds, w2, false, {}, -1, 0),
                           Layout::Packed));
        odometer += EndOdometer(r2) + 48'115;

        const Clock day3{2026, 12, 11, 7 * 3600};
        DrivePlan plan3;
        plan3.seed = 0x5EED0104;
        plan3.startPlace = 2;
        plan3.startSecondOfDay = day3.startSecondOfDay;
        plan3.warmUp = 30;
        plan3.speedLiking = 0.98;
        plan3.hardBrakes = {1000};
        DriveResult r3 = SampleSeconds(plan3, 1800);
        RecordWriter w3(day3, odometer, 0xD3);
        std::string name = LetterName(day3, kPrivateTaxi, '-', 'X', 1, 0);
        std::string bytes = Assemble(HeaderOf(kPrivateTaxi),
                                     SecondLines(r3.seconds, w3, false, {}, -1, 0), Layout::Packed);
        Lock(bytes, name);
        WriteFile(dir, name, bytes);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ondavia-samplegen OUTDIR\n");
        return 2;
    }
    try {
        Generate(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ondavia-samplegen: %s\n", e.what());
        return 1;
    }
    return 0;
}
