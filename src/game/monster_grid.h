// Where the live monsters stand, sorted into squares of the map, so that a
// turret's target scan and a bullet's hit test only look at the monsters
// that can be within reach instead of at every monster.
//
// The tick keeps one for its pass over the objects and marks it stale
// whenever a monster moves or leaves the list; it is sorted again when next
// asked. Monsters only move before the turrets aim, so in a normal tick it
// is sorted once, and again after each kill.
#pragma once

#include <vector>

class Sim;

class MonsterGrid {
public:
    void stale() { fresh_ = false; }

    // Calls visit(k) once for every monster k (its index in the object list)
    // that may lie within `reach` of (x, y) on both axes; all the others are
    // farther on one of them. In no particular order.
    template <class Visit>
    void visit(const Sim& s, double x, double y, double reach, Visit visit);

private:
    void sort(const Sim& s);
    static double margin(double x, double y, double reach) {
        // A hair more than the reach, far more than rounding can add.
        return reach + (reach + (x < 0 ? -x : x) + (y < 0 ? -y : y)) * 1e-9;
    }
    int column(double x) const;
    int row(double y) const;

    bool fresh_ = false;
    double scale_ = 1;           // squares per pixel: one over a power of two
    int columns_ = 0, rows_ = 0;
    std::vector<int> start_;     // square q holds order_[start_[q]] to order_[start_[q + 1] - 1]
    std::vector<int> order_;     // monster indices, square by square, rows top down
    std::vector<int> square_;    // scratch for sorting: each monster's square, or -1
};

template <class Visit>
void MonsterGrid::visit(const Sim& s, double x, double y, double reach, Visit visit) {
    if (!fresh_) sort(s);
    const double m = margin(x, y, reach);
    const int c0 = column(x - m), c1 = column(x + m);
    const int r0 = row(y - m), r1 = row(y + m);
    // A row's squares are one run of the sorted list.
    for (int r = r0; r <= r1; r++)
        for (int i = start_[r * columns_ + c0]; i < start_[r * columns_ + c1 + 1]; i++) visit(order_[i]);
}

