#include "level/svg_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace {

const int kWidth = 640, kHeight = 360;
const int kLeft = 60, kRight = 20, kTop = 56, kBottom = 40;

// Text for SVG: the names come from level files.
std::string escaped(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
        }
    }
    return out;
}

__attribute__((format(printf, 1, 2))) std::string format(const char* f, ...) {
    char text[160];
    va_list args;
    va_start(args, f);
    std::vsnprintf(text, sizeof text, f, args);
    va_end(args);
    return text;
}

struct Scale {
    int waves;
    double lo, hi;  // powers of ten at the bottom and the top
    double x(int wave) const { return kLeft + (kWidth - kLeft - kRight) * (waves > 1 ? (wave - 1.0) / (waves - 1) : 0.5); }
    // Nothing at all sits on the bottom line.
    double y(double v) const {
        double e = v > 0 ? std::clamp(std::log10(v), lo, hi) : lo;
        return kTop + (kHeight - kTop - kBottom) * (hi - e) / (hi - lo);
    }
};

std::string polyline(const BalanceReport& r, const Scale& s, double (*value)(const WaveRow&), const char* colour) {
    std::string points;
    for (const WaveRow& w : r.rows) points += format("%.1f,%.1f ", s.x(w.wave), s.y(value(w)));
    return "<polyline fill=\"none\" stroke=\"" + std::string(colour) + "\" stroke-width=\"2\" points=\"" + points +
           "\"/>\n";
}

double threat(const WaveRow& w) { return w.threat(); }
double defence(const WaveRow& w) { return w.defence; }

}  // namespace

std::string balance_svg(const BalanceReport& r, const std::string& title) {
    Scale s{std::max(1, static_cast<int>(r.rows.size())), 0.0, 1.0};
    double lo = 1e300, hi = -1e300;
    for (const WaveRow& w : r.rows)
        for (double v : {w.threat(), w.defence})
            if (v > 0 && std::isfinite(v)) {
                lo = std::min(lo, std::log10(v));
                hi = std::max(hi, std::log10(v));
            }
    if (lo <= hi) {
        s.lo = std::floor(lo);
        s.hi = std::max(s.lo + 1, std::ceil(hi));
    }

    std::string svg = format("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\" "
                             "font-family=\"sans-serif\" font-size=\"11\">\n", kWidth, kHeight, kWidth, kHeight);
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    svg += format("<text x=\"%d\" y=\"16\" font-size=\"14\">", kLeft) + escaped(title) + "</text>\n";
    svg += format("<text x=\"%d\" y=\"32\">", kLeft) + escaped(balance_summary(r)) + "</text>\n";
    // Powers of ten up the side, waves along the bottom, and a dashed line
    // where the defined waves end and the endless repeats begin.
    const int step = std::max(1, static_cast<int>(std::ceil((s.hi - s.lo) / 8)));
    for (double e = s.lo; e <= s.hi; e += step) {
        const double y = s.y(std::pow(10, e));
        svg += format("<line x1=\"%d\" x2=\"%d\" y1=\"%.1f\" y2=\"%.1f\" stroke=\"#ddd\"/>\n", kLeft,
                      kWidth - kRight, y, y);
        svg += format("<text x=\"%d\" y=\"%.1f\" text-anchor=\"end\">1e%.0f</text>\n", kLeft - 4, y + 4, e);
    }
    const int every = std::max(1, s.waves / 10);
    for (int w = 1; w <= s.waves; w += every)
        svg += format("<text x=\"%.1f\" y=\"%d\" text-anchor=\"middle\">%d</text>\n", s.x(w), kHeight - kBottom + 14, w);
    svg += format("<text x=\"%d\" y=\"%d\" text-anchor=\"middle\">wave</text>\n", (kWidth + kLeft) / 2, kHeight - 8);
    if (r.defined < s.waves) {
        const double x = (s.x(r.defined) + s.x(r.defined + 1)) / 2;
        svg += format("<line x1=\"%.1f\" x2=\"%.1f\" y1=\"%d\" y2=\"%d\" stroke=\"#999\" stroke-dasharray=\"4 3\"/>\n",
                      x, x, kTop, kHeight - kBottom);
    }
    svg += polyline(r, s, threat, "#c0392b");
    svg += polyline(r, s, defence, "#2471a3");
    svg += format("<text x=\"%d\" y=\"48\" fill=\"#c0392b\">threat: total health / path ticks</text>\n", kLeft);
    svg += format("<text x=\"%d\" y=\"48\" fill=\"#2471a3\">defence: damage / tick</text>\n", kLeft + 220);
    svg += "</svg>\n";
    return svg;
}
