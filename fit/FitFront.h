// The best design for a goal and the Pareto front of (F3, maximum SPL at F, outer volume).
#pragma once

#include "fit/Fit.h"

#include <cstdint>
#include <vector>

namespace kelvra::fit_detail
{

// A design that keeps every rule, by its three figures and its place in the search's order.
struct Scored {
    double f3 = 0, spl = 0, outer = 0;
    std::uint64_t id = 0;
};

// Whether `a` is the better design for the goal; equal figures go to the one found first.
bool better(const Scored& a, const Scored& b, FitGoal goal, double targetF3);
// Whether the design counts for the goal at all ("smallest" needs its F3 at or below the target).
bool counts(const Scored& a, FitGoal goal, double targetF3);

// Adds `s` to a front of designs of one outer volume (F3 and SPL only), dropping what it dominates.
void addToFront2(std::vector<Scored>& front, const Scored& s);
// The designs no other design beats in all three figures (F3 lower, SPL higher, outer volume lower;
// of equal ones the first), by outer volume.
std::vector<Scored> paretoFront(std::vector<Scored> all);
// At most `count` of the front, spread over its outer volumes, always with the best of each goal.
std::vector<Scored> pickFront(const std::vector<Scored>& front, std::size_t count, double targetF3);

} // namespace kelvra::fit_detail
