// The search. Every combination of outer measures (0.5 cm steps within the boot), port and tuning is one
// candidate design, and `evaluated` counts each candidate once when it is decided:
// - a shape the boards cannot build, or a port that cannot stand on a shape's front beside the woofers,
//   decides all its candidates at once (the rule fails whatever the tuning);
// - the tunings of a port run from 60 Hz down; a lower tuning needs a longer port, so once the port is
//   too long for the box (with its clearance) every lower tuning is decided with it;
// - every other candidate is judged in full: its port length and net volume, then the sound rules at
//   every check point of the band, then F3 and the maximum SPL at F.
// Designs that keep every rule go into the front of their shape, and those into the global front.
#include "fit/Fit.h"

#include "fit/FitFront.h"
#include "fit/FitModel.h"
#include "fit/FitSound.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <thread>

namespace kelvra
{

using namespace fit_detail;

namespace
{

// The measures in 0.5 cm steps from just above `above` up to `most`.
std::vector<double> steps(double above, double most)
{
    std::vector<double> out;
    for (double v = (std::floor(above / kStep) + 1) * kStep; v <= most + 1e-9; v += kStep)
        out.push_back(v);
    return out;
}

double tuningOf(int i)
{
    return kHighestFb - i * kFbStep;
}

struct Space {
    std::vector<double> heights, depths, widths;
    std::vector<PortChoice> ports;
    std::uint64_t perShape = 0; // candidates of one shape
};

// What each thread finds.
struct Findings {
    std::vector<Scored> front;
    std::optional<Scored> best;
    std::uint64_t evaluated = 0;
    std::uint64_t judged = 0;
    CellCache cells;
};

std::uint64_t idOf(const Space& sp, std::size_t ih, std::size_t ib, std::size_t il, std::size_t port,
                   int tuning)
{
    std::uint64_t id = ih;
    id = id * sp.depths.size() + ib;
    id = id * sp.widths.size() + il;
    id = id * sp.ports.size() + port;
    return id * kTunings + static_cast<std::uint64_t>(tuning);
}

class Search
{
public:
    Search(const FitRequest& request, const BoxParts& parts, const Space& space, const FitControl& control)
        : m_request(request), m_parts(parts), m_space(space), m_control(control), m_sound(soundOf(request)),
          m_target(targetF3(request))
    {
        // The largest net volume the boot allows bounds the ranges.
        Shape whole;
        double largest = 1;
        if (!space.heights.empty() && !space.depths.empty() && !space.widths.empty() &&
            shapeOf(parts, space.heights.back(), space.depths.back(), space.widths.back(), whole))
            largest = std::max(largest, sealedLitres(parts, whole));
        m_possible.push_back(m_sound.possibleVolumes(std::nullopt, 0.2, largest * 1.06));
        for (int i = 0; i < kTunings; ++i)
            m_possible.push_back(cancelled() ? std::pair<double, double>{INFINITY, 0.0}
                                             : m_sound.possibleVolumes(tuningOf(i), 0.2, largest * 1.06));
    }

    bool cancelled() const { return m_control.cancel && m_control.cancel->load(std::memory_order_relaxed); }

    // One height and depth, every width.
    void crossSection(std::size_t ih, std::size_t ib, Findings& out) const
    {
        const double h2 = m_space.heights[ih], b2 = m_space.depths[ib];
        std::vector<Scored> local;
        for (std::size_t il = 0; il < m_space.widths.size(); ++il) {
            if (cancelled())
                return;
            out.evaluated += m_space.perShape;
            Shape shape;
            if (!shapeOf(m_parts, h2, b2, m_space.widths[il], shape))
                continue;
            local.clear();
            for (std::size_t pi = 0; pi < m_space.ports.size(); ++pi)
                portOnShape(shape, ih, ib, il, pi, local, out);
            for (const Scored& s : local)
                out.front.push_back(s);
        }
    }

private:
    void portOnShape(const Shape& shape, std::size_t ih, std::size_t ib, std::size_t il, std::size_t pi,
                     std::vector<Scored>& local, Findings& out) const
    {
        const PortChoice& port = m_space.ports[pi];
        PortOnShape on;
        if (!portOn(m_parts, shape, port, on))
            return;
        // The net volumes this port can leave, and the tunings at which some of them might pass.
        const double most = sealedLitres(m_parts, shape);
        const double least = most - (on.cm3 + on.cm3PerCm * on.maxLength) * m_parts.factor / 1000;
        if (port.kind == PortKind::Sealed) {
            if (m_possible[0].first > most || m_possible[0].second < most)
                return;
            judge(sealedLitres(m_parts, shape), -1, std::nullopt, 0, shape, idOf(m_space, ih, ib, il, pi, 0),
                  local, out);
            return;
        }
        for (int i = 0; i < kTunings; ++i) {
            const auto [lo, hi] = m_possible[static_cast<std::size_t>(i + 1)];
            if (lo > most || hi < least)
                continue;
            const Tuned t = tune(m_parts, shape, on, tuningOf(i));
            if (t.status == TuneStatus::TooLong)
                break;
            if (t.status == TuneStatus::Ok)
                judge(t.netLitres, i, t.fb, on.areaAll, shape, idOf(m_space, ih, ib, il, pi, i), local, out);
        }
    }

    // The bounds of the volume's cell decide most designs; the rest are checked at every frequency.
    void judge(double vb, int tuning, std::optional<double> fb, double area, const Shape& shape,
               std::uint64_t id, std::vector<Scored>& local, Findings& out) const
    {
        SoundVerdict v;
        const int quick = m_sound.quick(vb, tuning, fb, area, out.cells);
        if (quick < 0)
            return;
        ++out.judged;
        if (quick > 0 ? m_sound.figures(vb, fb, v, tuning, &out.cells)
                      : m_sound.judge(vb, fb, area, v, tuning, &out.cells))
            keep(v, shape, id, local, out);
    }

    void keep(const SoundVerdict& v, const Shape& shape, std::uint64_t id, std::vector<Scored>& local,
              Findings& out) const
    {
        const Scored s{v.f3, v.maxSplAt, shape.outerCm3 / 1000, id};
        addToFront2(local, s);
        if (counts(s, m_request.goal, m_target) &&
            (!out.best || better(s, *out.best, m_request.goal, m_target)))
            out.best = s;
    }

    const FitRequest& m_request;
    const BoxParts& m_parts;
    const Space& m_space;
    const FitControl& m_control;
    FastSound m_sound;
    double m_target;
    std::vector<std::pair<double, double>> m_possible; // [tuning + 1]: the net volumes that might pass
};

// The candidate of an id, back to its inputs.
ModelInputs inputsOfId(const FitRequest& request, const BoxParts& parts, const Space& sp, std::uint64_t id)
{
    const int tuning = static_cast<int>(id % kTunings);
    id /= kTunings;
    const std::size_t pi = id % sp.ports.size();
    id /= sp.ports.size();
    const std::size_t il = id % sp.widths.size();
    id /= sp.widths.size();
    const std::size_t ib = id % sp.depths.size();
    const std::size_t ih = id / sp.depths.size();
    Shape shape;
    shapeOf(parts, sp.heights[ih], sp.depths[ib], sp.widths[il], shape);
    PortOnShape on;
    portOn(parts, shape, sp.ports[pi], on);
    const double length =
        sp.ports[pi].kind == PortKind::Sealed ? 0 : tune(parts, shape, on, tuningOf(tuning)).length;
    return inputsOf(request, shape, sp.ports[pi], on, length);
}

} // namespace

double splFrequency(const FitRequest& request)
{
    return request.goal == FitGoal::Loudest && request.goalF ? *request.goalF : kDefaultLoudestAt;
}

double targetF3(const FitRequest& request)
{
    return request.goal == FitGoal::Smallest && request.goalF ? *request.goalF : kDefaultTargetF3;
}

FitResult fitBoot(const FitRequest& request, const FitControl& control)
{
    const auto started = std::chrono::steady_clock::now();
    FitResult result;
    BoxParts parts;
    if (auto error = partsOf(request, parts)) {
        result.error = *error;
        return result;
    }
    if (const auto q = checkWoofer(request.woofer); !q) {
        result.error = "The woofer: " + q.error().message;
        return result;
    }
    const SoundSettings sound = soundOf(request);
    if (!(sound.options.power > 0) || !std::isfinite(sound.options.power)) {
        result.error = "The power must be more than 0 W.";
        return result;
    }

    Space sp;
    sp.heights = steps(parts.wooferDiameter + 2 * parts.t, request.boot.height);
    sp.depths = steps(2 * parts.t, request.boot.depth);
    sp.widths = steps(parts.woofers * parts.wooferDiameter + 2 * parts.t, request.boot.width);
    sp.ports = portChoices(request.boxType);
    for (const PortChoice& p : sp.ports)
        sp.perShape += p.kind == PortKind::Sealed ? 1 : kTunings;

    const Search search(request, parts, sp, control);
    const std::size_t sections = sp.heights.size() * sp.depths.size();
    std::atomic<std::size_t> next{0}, done{0};
    const unsigned threads = std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
    std::vector<Findings> found(threads);
    std::mutex progressMutex;
    int lastPercent = -1;
    const auto work = [&](Findings& out) {
        for (std::size_t k; (k = next.fetch_add(1)) < sections && !search.cancelled();) {
            search.crossSection(k / sp.depths.size(), k % sp.depths.size(), out);
            const std::size_t finished = done.fetch_add(1) + 1;
            if (control.progress) {
                const int percent = static_cast<int>(finished * 100 / sections);
                const std::lock_guard lock(progressMutex);
                if (percent > lastPercent) {
                    lastPercent = percent;
                    control.progress(static_cast<double>(finished) / static_cast<double>(sections));
                }
            }
        }
    };
    std::vector<std::thread> pool;
    for (unsigned i = 1; i < threads; ++i)
        pool.emplace_back(work, std::ref(found[i]));
    work(found[0]);
    for (std::thread& t : pool)
        t.join();

    result.cancelled = search.cancelled();
    std::vector<Scored> all;
    std::optional<Scored> best;
    const double target = targetF3(request);
    for (Findings& f : found) {
        result.evaluated += f.evaluated;
        result.judged += f.judged;
        all.insert(all.end(), f.front.begin(), f.front.end());
        if (f.best && (!best || better(*f.best, *best, request.goal, target)))
            best = f.best;
    }
    if (!result.cancelled) {
        // A design at the very edge of a rule may fail it once its length is rounded to 0.1 mm: only
        // what its own inputs keep is shown.
        const auto figures = [&](const Scored& s) -> std::optional<FitDesign> {
            bool valid = false;
            auto d = designOf(request, inputsOfId(request, parts, sp, s.id), valid);
            return valid ? d : std::nullopt;
        };
        if (best)
            result.best = figures(*best);
        for (const Scored& s : pickFront(paretoFront(std::move(all)), kFrontSize, target))
            if (auto d = figures(s))
                result.front.push_back(std::move(*d));
        if (best && !result.best) {
            std::optional<Scored> next;
            for (std::size_t i = 0; i < result.front.size(); ++i) {
                const FitDesign& d = result.front[i];
                const Scored s{d.f3, d.maxSplAt, d.outerVolume, i};
                if (counts(s, request.goal, target) && (!next || better(s, *next, request.goal, target)))
                    next = s;
            }
            if (next)
                result.best = result.front[next->id];
        }
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

} // namespace kelvra
