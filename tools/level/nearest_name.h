// "Did you mean ...?": the known name closest to a misspelt one.
#pragma once

#include <string>
#include <vector>

// The candidate nearest to word by edits of single letters, ignoring case,
// if it is near enough to be a likely slip (a third of the word's letters,
// at least one, at most three); otherwise "".
std::string nearest_name(const std::string& word, const std::vector<std::string>& candidates);
