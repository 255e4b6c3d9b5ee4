// The cheapest path between two hexes: an A* search over two bounded binary heaps. Its exact
// order of adds and removals is part of the game: the computer opponent and both machines of
// a network game must find the same path.

#include "map/queries.h"

#include <algorithm>

namespace vezer {

namespace {

constexpr int kListRoom = 1000;      // nodes each list holds
constexpr int kResetRadius = 30;     // the window a bounded search clears around its start
constexpr int kUnvisitedCost = 5000; // PathCost of a hex not reached yet
constexpr int kBoundedSteps = 30;    // steps a bounded search reports
constexpr int kUnboundedSteps = 100;

struct Node {
    int x = 0, y = 0;
    int g = 0, h = 0, f = 0;
    int parentX = -1, parentY = -1;
};

enum class Mark { Open, Closed };

// A list of nodes 1..count kept as a binary heap on f, with the marks it keeps in the cells.
class NodeHeap {
public:
    NodeHeap(State& st, Mark mark) : st_(st), mark_(mark) {}

    int count() const { return count_; }
    void Clear() { count_ = 0; }

    void Add(const Node& n) {
        if (count_ == kListRoom) return;
        int p = ++count_;
        nodes_[static_cast<std::size_t>(p)] = n;
        while (p > 1 && At(p / 2).f >= At(p).f) {
            std::swap(At(p / 2), At(p));
            p /= 2;
        }
        MarkOf(n.x, n.y) = 1;
    }

    Node TakeSmallest() {
        const Node result = At(1);
        At(1) = At(count_);
        --count_;
        int p = 1;
        for (;;) {
            const int left = 2 * p, right = 2 * p + 1;
            int chosen = p;
            if (right <= count_) {
                chosen = At(p).f < At(left).f ? p : left;
                if (At(chosen).f >= At(right).f) chosen = right;
            } else if (left <= count_) {
                if (At(p).f >= At(left).f) chosen = left;
            }
            if (chosen == p) break;
            std::swap(At(p), At(chosen));
            p = chosen;
        }
        return result;
    }

    // Takes the last node of the hex out of the list, without restoring the heap order. A
    // hex whose mark is set but has no node left keeps its mark.
    void Remove(int x, int y) {
        const int i = Find(x, y);
        if (i == 0) return;
        At(i) = At(count_);
        --count_;
        MarkOf(x, y) = 0;
    }

    // The position of the last node of the hex, 0 when there is none.
    int Find(int x, int y) const {
        if (st_.Cell(x, y).*Field() == 0) return 0;
        for (int i = count_; i >= 1; --i)
            if (nodes_[static_cast<std::size_t>(i)].x == x && nodes_[static_cast<std::size_t>(i)].y == y)
                return i;
        return 0;
    }

    const Node& NodeAt(int i) const { return nodes_[static_cast<std::size_t>(i)]; }

private:
    Node& At(int i) { return nodes_[static_cast<std::size_t>(i)]; }
    Byte THex::*Field() const { return mark_ == Mark::Open ? &THex::InOpenList : &THex::InClosedList; }
    Byte& MarkOf(int x, int y) { return st_.Cell(x, y).*Field(); }

    State& st_;
    Mark mark_;
    int count_ = 0;
    std::array<Node, kListRoom + 1> nodes_{};
};

void ResetMarks(State& st, Hex start, int costBound) {
    int x0 = 0, x1 = st.MapMaxX, y0 = 0, y1 = st.MapMaxY;
    if (costBound <= kBoundedSearchLimit) {
        x0 = std::max(x0, start.x - kResetRadius), x1 = std::min(x1, start.x + kResetRadius);
        y0 = std::max(y0, start.y - kResetRadius), y1 = std::min(y1, start.y + kResetRadius);
    }
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            THex& cell = st.Cell(x, y);
            cell.InClosedList = 0;
            cell.InOpenList = 0;
            cell.PathCost = kUnvisitedCost;
        }
}

PathResult NoPath() {
    PathResult r;
    r.fill(kNoDirection);
    r[0] = kNoPathCost;
    return r;
}

// Walks back from the target through the parents in the closed list. A parent missing from
// the list, or a chain longer than the list could hold, means no usable path.
PathResult WalkBack(const NodeHeap& closed, const Node& target, Hex start, int steps) {
    PathResult r;
    r.fill(kNoDirection);
    r[0] = target.g;
    Node current = target;
    for (int walked = 0; current.x != start.x || current.y != start.y; ++walked) {
        const int i = closed.Find(current.parentX, current.parentY);
        if (i == 0 || walked > kListRoom) return NoPath();
        const Node& parent = closed.NodeAt(i);
        const int d = DirectionTo({parent.x, parent.y}, {current.x, current.y});
        for (int k = steps - 1; k >= 1; --k)
            r[static_cast<std::size_t>(k + 1)] = r[static_cast<std::size_t>(k)];
        r[1] = d;
        current = parent;
    }
    return r;
}

} // namespace

PathResult ShortestPath(Game& game, Hex start, Hex target, int costBound, bool enterEnemy, bool knowAll) {
    State& st = game.state;
    ResetMarks(st, start, costBound);
    NodeHeap open(st, Mark::Open);
    NodeHeap closed(st, Mark::Closed);
    const int h = Distance(st, start, target);
    open.Add(Node{start.x, start.y, 0, h, h, -1, -1});
    while (open.count() > 0) {
        game.screen.RepaintDuringSearch();
        const Node current = open.TakeSmallest();
        if (current.x == target.x && current.y == target.y)
            return WalkBack(closed, current, start,
                            costBound <= kBoundedSearchLimit ? kBoundedSteps : kUnboundedSteps);
        for (int d = 0; d < 6; ++d) {
            const Hex n = Neighbour({current.x, current.y}, d);
            if (OnMap(st, n)) {
                const int g = current.g + MoveCost(st, {current.x, current.y}, n, knowAll, enterEnemy);
                THex& cell = st.Cell(n.x, n.y);
                if (g < cell.PathCost && cell.InClosedList == 0 && g <= costBound) {
                    cell.PathCost = g;
                    const int h = Distance(st, n, target);
                    open.Remove(n.x, n.y);
                    open.Add(Node{n.x, n.y, g, h, g + h, current.x, current.y});
                    closed.Remove(n.x, n.y);
                }
            }
            // A search that has filled its closed list gives up.
            if (closed.count() == kListRoom) open.Clear();
        }
        open.Remove(current.x, current.y);
        closed.Add(current);
    }
    return NoPath();
}

} // namespace vezer
