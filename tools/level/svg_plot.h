// A small line plot of a balance report as an SVG picture: waves along the
// bottom, the threat of each wave (its total health over its path time) and
// the defence standing against it (damage per tick) on a scale of powers of
// ten, since the endless repeats double their health every time.
#pragma once

#include "level/balance.h"

#include <string>

// title: what the plot is of (the level's directory); the summary goes under it.
std::string balance_svg(const BalanceReport& report, const std::string& title);
