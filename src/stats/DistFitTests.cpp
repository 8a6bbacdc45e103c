// Vuong and Gabaix-Ibragimov, and the per-date driver that runs fits and tests.
#include "stats/DistFitTests.h"

#include <algorithm>
#include <boost/math/special_functions/erf.hpp>
#include <cmath>
#include <chrono>
#include <exception>
#include <mutex>
#include <thread>

VuongResult Vuong(std::span<const double> sizes, const LawFit& first, const LawFit& second) {
    VuongResult r;
    const double n = static_cast<double>(sizes.size());
    if (!first.ok || !second.ok || sizes.empty()) return r;
    double sum = 0, sum2 = 0;
    for (double x : sizes) {
        const double d = LogPdf(first, x) - LogPdf(second, x);
        sum += d;
        sum2 += d * d;
    }
    const double mean = sum / n, sd = std::sqrt(std::max(0.0, sum2 / n - mean * mean));
    if (!(sd > 0) || !std::isfinite(sd)) return r;
    r.ok = true;
    r.z = sum / (std::sqrt(n) * sd);
    r.p = boost::math::erfc(std::fabs(r.z) / std::sqrt(2.0));
    return r;
}

CurvatureTest GabaixIbragimov(std::span<const double> tail) {
    CurvatureTest t;
    std::vector<double> s(tail.begin(), tail.end());
    std::sort(s.begin(), s.end(), std::greater<>());
    const std::size_t n = s.size();
    if (n < 3) return t;
    std::vector<double> x(n), r(n);
    double mx = 0, mx2 = 0;
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = std::log(s[i]);
        r[i] = std::log(static_cast<double>(i + 1) - 0.5);
        mx += x[i];
        mx2 += x[i] * x[i];
    }
    mx /= static_cast<double>(n);
    mx2 /= static_cast<double>(n);
    double varX = 0, cov = 0;
    for (std::size_t i = 0; i < n; ++i) {
        varX += (x[i] - mx) * (x[i] - mx);
        cov += (x[i] * x[i] - mx2) * (x[i] - mx);
    }
    if (!(varX > 0)) return t;
    const double gamma = cov / (2 * varX);
    // Two regressors, centred: the 2 x 2 normal equations.
    std::vector<double> z(n);
    double mz = 0, mr = 0;
    for (std::size_t i = 0; i < n; ++i) {
        z[i] = (x[i] - gamma) * (x[i] - gamma);
        mz += z[i];
        mr += r[i];
    }
    mz /= static_cast<double>(n);
    mr /= static_cast<double>(n);
    double sxx = 0, szz = 0, sxz = 0, sxr = 0, szr = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double a = x[i] - mx, c = z[i] - mz, e = r[i] - mr;
        sxx += a * a, szz += c * c, sxz += a * c, sxr += a * e, szr += c * e;
    }
    const double det = sxx * szz - sxz * sxz;
    if (!(det > 1e-12 * sxx * szz)) return t;
    t.b = (szz * sxr - sxz * szr) / det;
    t.q = (sxx * szr - sxz * sxr) / det;
    if (!(t.b != 0)) return t;
    t.stat = std::fabs(t.q) / (t.b * t.b) * std::sqrt(2.0 * static_cast<double>(n));
    t.reject = t.stat > CurvatureCritical;
    t.ok = std::isfinite(t.stat);
    return t;
}

DistFitRow FitDistDate(std::span<const double> sizes, int year, int date, int minTail,
                       const std::atomic<bool>* cancel) {
    DistFitRow row;
    row.year = year;
    row.date = date;
    row.n = static_cast<int>(sizes.size());
    for (Law law : AllLaws) row.fits[static_cast<int>(law)].law = law;
    row.best.assign(1, '-');  // not `= "-"` nor a `+` join: g++ 12 misreads them at -O3 as overlapping copies
    if (row.n < MinPlacesToFit) {
        row.reason = std::to_string(row.n);
        row.reason.append(" places present, fewer than ").append(std::to_string(MinPlacesToFit));
        for (auto& f : row.fits) f.reason = row.reason;
        row.giReason = row.reason;
        return row;
    }
    const SizeSample s = MakeSample(sizes);
    row.fits[0] = FitLognormal(s);
    row.fits[1] = FitDpln(s, cancel);
    row.fits[2] = FitLognormalPareto(s, cancel);
    double bestAic = Infinity;
    for (const auto& f : row.fits)
        if (f.ok && f.aic < bestAic) bestAic = f.aic, row.best = LawName(f.law);
    const VuongResult v = Vuong(s.x, row.fits[1], row.fits[2]);
    row.vuongOk = v.ok;
    row.vuongZ = v.z;
    row.vuongP = v.p;
    // The tail starts where Tail-Fit's would.
    const PowerLawFit pl = FitPowerLaw(s.x, minTail, cancel);
    if (cancel && cancel->load()) throw FitCancelled();
    if (!pl.ok) {
        row.giReason = "no power-law tail with " + std::to_string(minTail) + " places";
        return row;
    }
    row.xmin = pl.xmin;
    row.nTail = pl.nTail;
    const std::span<const double> tail(s.x.end() - pl.nTail, s.x.end());
    const CurvatureTest gi = GabaixIbragimov(tail);
    row.giOk = gi.ok;
    row.giQ = gi.q;
    row.giStat = gi.stat;
    row.giReject = gi.reject;
    if (!gi.ok) row.giReason = "the tail's sizes do not vary";
    return row;
}

DistFitState FitDistAllDates(const DataSet& d, int minTail, const TailFitControl& control) {
    DistFitState state;
    state.minTail = minTail;
    const int T = d.NumDates;
    std::vector<std::vector<double>> dates;
    for (int t = 1; t <= T; ++t) dates.push_back(PresentPopulations(d, t));
    state.rows.resize(static_cast<std::size_t>(T));
    // The largest dates first, so the two threads finish together.
    std::vector<int> order(static_cast<std::size_t>(T));
    for (int t = 0; t < T; ++t) order[static_cast<std::size_t>(t)] = t;
    std::sort(order.begin(), order.end(), [&](int a, int b) { return dates[a].size() > dates[b].size(); });
    std::atomic<int> next{0}, done{0};
    std::atomic<bool> stop{false};
    std::exception_ptr error;
    std::mutex errorLock;
    auto worker = [&] {
        for (int i; (i = next++) < T && !stop;) {
            const int t = order[static_cast<std::size_t>(i)];
            try {
                state.rows[static_cast<std::size_t>(t)] =
                    FitDistDate(dates[static_cast<std::size_t>(t)], d.DateYear(t + 1), t + 1, minTail, &stop);
            } catch (...) {
                const std::lock_guard lock(errorLock);
                if (!error) error = std::current_exception();
                stop = true;
            }
            ++done;
        }
    };
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
    std::vector<std::thread> pool;
    for (unsigned k = 1; k < threads; ++k) pool.emplace_back(worker);
    // The calling thread reports progress and watches the cancel flag between its own fits.
    std::thread own(worker);
    while (done < T && !stop) {
        if (control.progress) control.progress(done, T);
        if (control.cancel && control.cancel->load()) stop = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    own.join();
    for (auto& th : pool) th.join();
    if (control.cancel && control.cancel->load()) throw FitCancelled();
    if (error) std::rethrow_exception(error);
    if (control.progress) control.progress(T, T);
    return state;
}
