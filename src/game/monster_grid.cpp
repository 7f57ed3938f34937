#include "game/monster_grid.h"

#include "game/sim.h"

#include <algorithm>

namespace {
// Squares of 64 pixels, or of a larger power of two for a large map, so
// that there are at most this many to a side.
const int kMostSquares = 32;
}  // namespace

// Squares beyond the map (and any position past reckoning, NaN included)
// count as the edge squares, for the sorting and the asking alike.
int MonsterGrid::column(double x) const {
    const double c = x * scale_;
    return c >= 1 ? (c < columns_ - 1 ? static_cast<int>(c) : columns_ - 1) : 0;
}

int MonsterGrid::row(double y) const {
    const double r = y * scale_;
    return r >= 1 ? (r < rows_ - 1 ? static_cast<int>(r) : rows_ - 1) : 0;
}

void MonsterGrid::sort(const Sim& s) {
    fresh_ = true;
    // The map's size sets the squares: monsters walk its waypoints.
    const int w = s.map ? s.map->w : 0, h = s.map ? s.map->h : 0;
    double side = 64;
    while (w / side >= kMostSquares || h / side >= kMostSquares) side *= 2;
    scale_ = 1 / side;  // exact: a power of two
    columns_ = static_cast<int>(w / side) + 1;
    rows_ = static_cast<int>(h / side) + 1;

    // A counting sort by square that keeps list order within each square.
    const int n = std::min(static_cast<int>(s.objects.size()), s.turretstart);
    start_.assign(static_cast<size_t>(columns_) * rows_ + 1, 0);
    square_.resize(n);
    for (int k = 0; k < n; k++) {
        const Sim::Object& m = s.objects[k];
        square_[k] = m.kind == KIND_MONSTER ? row(m.y) * columns_ + column(m.x) : -1;
        if (square_[k] >= 0) start_[square_[k]]++;
    }
    // Counts to where each square ends, then filled back to front, which
    // leaves each square's start.
    const size_t squares = start_.size() - 1;
    for (size_t q = 1; q < squares; q++) start_[q] += start_[q - 1];
    start_[squares] = start_[squares - 1];
    order_.resize(start_[squares]);
    for (int k = n - 1; k >= 0; k--)
        if (square_[k] >= 0) order_[--start_[square_[k]]] = k;
}
