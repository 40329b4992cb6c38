#include "cluster/ClusterPoints.h"

#include <cmath>
#include <exception>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace kov {

namespace {

// Each step reports its own failure under its own title and returns, so a
// failed step never leaves a half-made message or a crash behind.
template <typename Step>
bool Guarded(MessageSink& sink, const char* title, Step&& step) {
    try {
        step();
        return true;
    } catch (const std::exception& failure) {
        sink.Show({title, failure.what(), MessageIcon::Information});
        return false;
    }
}

}  // namespace

double PointDistance(double x1, double y1, double x2, double y2) {
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    return std::sqrt(dx * dx + dy * dy);
}

void clsCluster::CalculateMeanStandardDeviation() {
    Guarded(Sink(), "Std Dev for Cluster Node", [this] {
        if (Members.empty()) return;
        const std::vector<clsPoint>& points = Points();
        const auto n = static_cast<double>(Members.size());
        double xSum = 0, ySum = 0;
        for (int i : Members) {
            xSum += points[static_cast<std::size_t>(i)].XScore;
            ySum += points[static_cast<std::size_t>(i)].YScore;
        }
        x_mean = xSum / n;
        y_mean = ySum / n;
        double xSquares = 0, ySquares = 0;
        for (int i : Members) {
            const clsPoint& p = points[static_cast<std::size_t>(i)];
            xSquares += (p.XScore - x_mean) * (p.XScore - x_mean);
            ySquares += (p.YScore - y_mean) * (p.YScore - y_mean);
        }
        x_variance = xSquares / n;
        y_variance = ySquares / n;
        x_std_dev = std::sqrt(x_variance);
        y_std_dev = std::sqrt(y_variance);
        if (x_std_dev == 0) x_std_dev = 1;
        if (y_std_dev == 0) y_std_dev = 1;
    });
}

void clsCluster::Z_Stat() {
    Guarded(Sink(), "Calculating ZStat", [this] {
        std::vector<clsPoint>& points = Points();
        for (int i : Members) {
            clsPoint& p = points[static_cast<std::size_t>(i)];
            p.X = p.XScore;
            p.Y = p.YScore;
            p.XScore = (p.XScore - x_mean) / x_std_dev;
            p.YScore = (p.YScore - y_mean) / y_std_dev;
        }
    });
}

void clsCluster::CalculateMaximumRadius() {
    Guarded(Sink(), "Calculate Max Cluster Radius", [this] {
        const std::vector<clsPoint>& points = Points();
        double largest = 0;
        for (int i : Members) {
            const clsPoint& p = points[static_cast<std::size_t>(i)];
            const double distance = PointDistance(x_mean, y_mean, p.XScore, p.YScore);
            if (distance > largest) largest = distance;
        }
        radius = largest;
    });
}

bool SplitCluster(ClusterList& clusters, ClusterList::iterator c) {
    bool split = false;
    Guarded(c->Sink(), "Split Cluster", [&] {
        const std::vector<clsPoint>& points = c->Points();
        // The statistics are those just computed for c; ties go to the
        // second coordinate.
        const bool onX = c->x_variance > c->y_variance;
        const double mean = onX ? c->x_mean : c->y_mean;
        std::vector<int> atOrAbove;
        std::vector<int> below;
        for (int i : c->Members) {
            const clsPoint& p = points[static_cast<std::size_t>(i)];
            ((onX ? p.XScore : p.YScore) >= mean ? atOrAbove : below).push_back(i);
        }
        if (atOrAbove.empty() || below.empty()) return;
        const auto d = clusters.emplace(std::next(c), c->Points(), c->Sink());
        d->Members = std::move(below);
        c->Members = std::move(atOrAbove);
        split = true;
    });
    return split;
}

int ClusterPoints(double radius, int lastIndex, std::vector<std::int32_t>& xValues, std::vector<std::int32_t>& yValues,
                  MessageSink& sink) {
    int count = 0;
    Guarded(sink, "KOV Graphs", [&] {
        if (lastIndex < 0) return;
        const auto n = static_cast<std::size_t>(lastIndex) + 1;
        if (xValues.size() < n || yValues.size() < n) throw std::out_of_range("fewer coordinates than points");
        // A negative radius would never be met, even by a single point.
        const double limit = radius > 0 ? radius : 0;

        std::vector<clsPoint> points(n);
        ClusterList clusters;
        clsCluster& first = clusters.emplace_back(points, sink);
        first.Members.reserve(n);
        for (std::size_t i = 0; i < n; ++i) {
            points[i].XScore = xValues[i];
            points[i].YScore = yValues[i];
            points[i].Index = static_cast<int>(i);
            first.Members.push_back(static_cast<int>(i));
        }
        first.CalculateMeanStandardDeviation();
        first.Z_Stat();

        for (auto c = clusters.begin(); c != clusters.end();) {
            c->CalculateMeanStandardDeviation();
            c->CalculateMaximumRadius();
            // A cluster that cannot be cut any further counts as fitting.
            if (c->radius <= limit || !SplitCluster(clusters, c)) ++c;
        }

        std::int32_t number = 0;
        for (const clsCluster& cluster : clusters) {
            ++number;
            for (int i : cluster.Members) {
                xValues[static_cast<std::size_t>(points[static_cast<std::size_t>(i)].Index)] = number;
                yValues[static_cast<std::size_t>(points[static_cast<std::size_t>(i)].Index)] = -1;
            }
        }
        count = number;
    });
    return count;
}

}  // namespace kov
