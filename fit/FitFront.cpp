#include "fit/FitFront.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace kelvra::fit_detail
{

bool counts(const Scored& a, FitGoal goal, double targetF3)
{
    return goal != FitGoal::Smallest || a.f3 <= targetF3;
}

bool better(const Scored& a, const Scored& b, FitGoal goal, double targetF3)
{
    if (counts(a, goal, targetF3) != counts(b, goal, targetF3))
        return counts(a, goal, targetF3);
    switch (goal) {
    case FitGoal::Deepest:
        return std::tuple(a.f3, -a.spl, a.outer, a.id) < std::tuple(b.f3, -b.spl, b.outer, b.id);
    case FitGoal::Loudest:
        return std::tuple(-a.spl, a.f3, a.outer, a.id) < std::tuple(-b.spl, b.f3, b.outer, b.id);
    case FitGoal::Smallest:
        break;
    }
    return std::tuple(a.outer, a.f3, -a.spl, a.id) < std::tuple(b.outer, b.f3, -b.spl, b.id);
}

void addToFront2(std::vector<Scored>& front, const Scored& s)
{
    for (const Scored& f : front)
        if (f.f3 <= s.f3 && f.spl >= s.spl)
            return;
    std::erase_if(front, [&](const Scored& f) { return s.f3 <= f.f3 && s.spl >= f.spl; });
    front.push_back(s);
}

std::vector<Scored> paretoFront(std::vector<Scored> all)
{
    std::sort(all.begin(), all.end(), [](const Scored& a, const Scored& b) {
        return std::tuple(a.outer, a.f3, -a.spl, a.id) < std::tuple(b.outer, b.f3, -b.spl, b.id);
    });
    // Of the designs seen (none larger), F3 -> the highest SPL, the SPL rising with F3.
    std::map<double, double> stairs;
    std::vector<Scored> front;
    for (const Scored& s : all) {
        auto it = stairs.upper_bound(s.f3);
        if (it != stairs.begin() && std::prev(it)->second >= s.spl)
            continue;
        front.push_back(s);
        it = stairs.lower_bound(s.f3);
        while (it != stairs.end() && it->second <= s.spl)
            it = stairs.erase(it);
        stairs[s.f3] = s.spl;
    }
    return front;
}

std::vector<Scored> pickFront(const std::vector<Scored>& front, std::size_t count, double targetF3)
{
    if (front.size() <= count)
        return front;
    std::vector<bool> chosen(front.size(), false);
    std::size_t taken = 0;
    const auto take = [&](std::size_t i) {
        if (!chosen[i] && taken < count) {
            chosen[i] = true;
            ++taken;
        }
    };
    for (FitGoal goal : {FitGoal::Deepest, FitGoal::Loudest, FitGoal::Smallest}) {
        std::size_t best = 0;
        for (std::size_t i = 1; i < front.size(); ++i)
            if (better(front[i], front[best], goal, targetF3))
                best = i;
        if (counts(front[best], goal, targetF3))
            take(best);
    }
    // The rest evenly over the outer volumes, the smallest and the largest first.
    for (std::size_t slots = count; taken < count; ++slots)
        for (std::size_t k = 0; k < slots && taken < count; ++k)
            take(k * (front.size() - 1) / (slots - 1));
    std::vector<Scored> out;
    for (std::size_t i = 0; i < front.size(); ++i)
        if (chosen[i])
            out.push_back(front[i]);
    return out;
}

} // namespace kelvra::fit_detail
