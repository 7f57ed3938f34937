#include "level/nearest_name.h"

#include <algorithm>
#include <cctype>

namespace {

bool same_letter(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

// Edits of single letters without regard to case: a letter added, dropped
// or changed, or two neighbours swapped ("Rnage" for "Range" is one slip).
size_t distance(const std::string& a, const std::string& b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); i++) d[i][0] = i;
    for (size_t j = 0; j <= b.size(); j++) d[0][j] = j;
    for (size_t i = 1; i <= a.size(); i++)
        for (size_t j = 1; j <= b.size(); j++) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + !same_letter(a[i - 1], b[j - 1])});
            if (i > 1 && j > 1 && same_letter(a[i - 1], b[j - 2]) && same_letter(a[i - 2], b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

}  // namespace

std::string nearest_name(const std::string& word, const std::vector<std::string>& candidates) {
    const size_t allowed = std::min<size_t>(3, std::max<size_t>(1, word.size() / 3));
    std::string best;
    size_t best_distance = allowed + 1;
    for (const std::string& c : candidates) {
        // Every letter one word has beyond the other is an edit: a name that
        // much longer or shorter cannot be nearer, and is not measured.
        const size_t apart = word.size() > c.size() ? word.size() - c.size() : c.size() - word.size();
        if (apart >= best_distance) continue;
        size_t d = distance(word, c);
        if (d < best_distance) {
            best = c;
            best_distance = d;
        }
    }
    return best;
}
