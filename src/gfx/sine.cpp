#include "gfx/sine.h"

#include <cmath>

double* sinlookup = nullptr;
int sinvalues = 0;

namespace {
// The game's full turn, a little short of 2*pi; table and lookups agree on it.
const double kTurn = 6.2831853;
}

void build_sine_table() {
    if (sinlookup == nullptr) sinlookup = new double[360];
    sinvalues = 360;
    for (int i = 0; i < sinvalues; i++) sinlookup[i] = std::sin(static_cast<double>(i) / sinvalues * kTurn);
}

double Sin(double angle) {
    // Reducing an infinite or not-a-number angle would never end.
    if (!std::isfinite(angle)) return 0.0;
    if (angle < 0 || angle >= kTurn) {
        // Huge angles would take forever by repeated steps; fold them first.
        if (angle < -1e6 || angle > 1e6) angle = std::fmod(angle, kTurn);
        while (angle < 0) angle += kTurn;
        while (angle >= kTurn) angle -= kTurn;
    }
    int index = static_cast<int>(sinvalues * (angle / kTurn));
    if (index < 0) index = 0;
    if (index >= sinvalues) index = sinvalues - 1;
    return sinlookup[index];
}

double Cos(double angle) { return Sin(angle + 1.570796325); }
