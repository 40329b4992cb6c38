#pragma once
// Divisive clustering of a pool's objects: the points are standardised once,
// then every cluster whose members lie farther from its centre than the
// chosen radius is cut in two at the mean of its wider coordinate, until
// every cluster fits. The radius is measured in standard deviations of all
// points.
//
// Orders matter to the views: a split puts the part below the mean directly
// after the cluster that was split, members keep their relative order, and a
// cluster is examined until it fits before the walk moves on. For one
// dimension the cluster list therefore runs from the largest values down.

#include <cstdint>
#include <list>
#include <vector>

#include "common/Message.h"

namespace kov {

// One object taking part.
struct clsPoint {
    double XScore = 0;  // raw first coordinate on input, its z-score after Z_Stat
    double X = 0;       // the raw first coordinate, saved by Z_Stat
    double YScore = 0;  // the same for the second coordinate
    double Y = 0;
    int Index = 0;  // index of the point in the input arrays (0-based)
};

// One cluster: its statistics and its members, as indexes into the shared
// point table, in list order.
class clsCluster {
public:
    clsCluster(std::vector<clsPoint>& points, MessageSink& sink) : points_(&points), sink_(&sink) {}

    double x_mean = 0, x_std_dev = 0, x_variance = 0;
    double y_mean = 0, y_std_dev = 0, y_variance = 0;
    double radius = 0;
    std::vector<int> Members;

    // Means and population variances of the members; a standard deviation
    // of 0 becomes 1 so that Z_Stat never divides by 0. No members: unchanged.
    void CalculateMeanStandardDeviation();
    // Standardises every member with this cluster's statistics.
    void Z_Stat();
    // The largest distance of a member from the centre (0 without members).
    void CalculateMaximumRadius();

    std::vector<clsPoint>& Points() const { return *points_; }
    MessageSink& Sink() const { return *sink_; }

private:
    std::vector<clsPoint>* points_;
    MessageSink* sink_;
};

using ClusterList = std::list<clsCluster>;

// Cuts cluster c in two: members at or above the mean of the wider coordinate
// stay in c, the others move to a new cluster inserted directly after c.
// Returns false, leaving the list as it was, when one side would be empty:
// members that differ only by rounding cannot be told apart, and splitting
// them again would never end.
bool SplitCluster(ClusterList& clusters, ClusterList::iterator c);

double PointDistance(double x1, double y1, double x2, double y2);

// Clusters points 0..lastIndex. On return xValues holds each point's cluster
// number (1-based, in list order) and yValues -1; the result is the number of
// clusters, 0 after a failure (reported to the sink as "KOV Graphs").
// A negative radius is read as 0.
int ClusterPoints(double radius, int lastIndex, std::vector<std::int32_t>& xValues, std::vector<std::int32_t>& yValues,
                  MessageSink& sink);

}  // namespace kov
