#include "stats/MarkovChain.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();

using Matrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;

Matrix AsMatrix(const std::vector<double>& p, int k) { return Eigen::Map<const Matrix>(p.data(), k, k); }

// reach(i, j): j can be reached from i in one or more steps.
std::vector<char> Reachability(const std::vector<double>& p, int k) {
    std::vector<char> r(p.size());
    for (std::size_t x = 0; x < p.size(); ++x) r[x] = p[x] > 0;
    for (int m = 0; m < k; ++m)
        for (int i = 0; i < k; ++i)
            if (r[static_cast<std::size_t>(i * k + m)])
                for (int j = 0; j < k; ++j)
                    if (r[static_cast<std::size_t>(m * k + j)]) r[static_cast<std::size_t>(i * k + j)] = 1;
    return r;
}

}  // namespace

double TransitionMatrix::RowCount(int from) const {
    double n = 0;
    for (int j = 0; j < k_; ++j) n += counts_[Index(from, j)];
    return n;
}

double TransitionMatrix::P(int from, int to) const {
    const double n = RowCount(from);
    return n > 0 ? counts_[Index(from, to)] / n : 0.0;
}

std::vector<double> StochasticRows(const TransitionMatrix& m) {
    const int k = m.K();
    std::vector<double> p(static_cast<std::size_t>(k) * k, 0.0);
    for (int i = 0; i < k; ++i) {
        const bool empty = m.RowCount(i) == 0;
        for (int j = 0; j < k; ++j) p[static_cast<std::size_t>(i * k + j)] = empty ? (i == j ? 1.0 : 0.0) : m.P(i, j);
    }
    return p;
}

std::optional<std::vector<double>> SteadyState(const std::vector<double>& p, int k) {
    // A class is recurrent when every class it reaches reaches it back.
    const std::vector<char> reach = Reachability(p, k);
    auto r = [&](int i, int j) { return reach[static_cast<std::size_t>(i * k + j)] != 0; };
    std::vector<int> recurrent;
    for (int i = 0; i < k; ++i) {
        bool closed = true;
        for (int j = 0; j < k && closed; ++j)
            if (r(i, j) && !r(j, i)) closed = false;
        if (closed) recurrent.push_back(i);
    }
    if (recurrent.empty()) return std::nullopt;
    for (int i : recurrent)
        if (!r(recurrent.front(), i)) return std::nullopt;  // a second closed class
    // pi (P - I) = 0 on the recurrent class, one equation replaced by sum pi = 1 (the class is
    // irreducible, so any K - 1 of the equations are independent).
    const int m = static_cast<int>(recurrent.size());
    Matrix a(m, m);
    Eigen::VectorXd b = Eigen::VectorXd::Zero(m);
    for (int x = 0; x < m; ++x)
        for (int y = 0; y < m; ++y)
            a(x, y) = p[static_cast<std::size_t>(recurrent[y] * k + recurrent[x])] - (x == y ? 1.0 : 0.0);
    a.row(m - 1).setOnes();
    b(m - 1) = 1;
    const Eigen::VectorXd pi = a.fullPivLu().solve(b);
    std::vector<double> out(static_cast<std::size_t>(k), 0.0);
    for (int x = 0; x < m; ++x) out[static_cast<std::size_t>(recurrent[x])] = pi(x);
    return out;
}

double SojournTime(double pii) { return pii >= 1 ? Inf : 1.0 / (1.0 - pii); }

std::vector<double> FirstPassageTimes(const std::vector<double>& p, int k) {
    const std::vector<char> reach = Reachability(p, k);
    std::vector<double> out(static_cast<std::size_t>(k) * k, Inf);
    auto P = [&](int i, int j) { return p[static_cast<std::size_t>(i * k + j)]; };
    for (int j = 0; j < k; ++j) {
        // Paths that avoid j: from which states can the chain wander off and never enter j?
        std::vector<char> lost(static_cast<std::size_t>(k), 0);
        for (int i = 0; i < k; ++i) lost[static_cast<std::size_t>(i)] = i != j && !reach[static_cast<std::size_t>(i * k + j)];
        for (bool grew = true; grew;) {
            grew = false;
            for (int i = 0; i < k; ++i) {
                if (i == j || lost[static_cast<std::size_t>(i)]) continue;
                for (int x = 0; x < k; ++x)
                    if (x != j && lost[static_cast<std::size_t>(x)] && P(i, x) > 0) {
                        lost[static_cast<std::size_t>(i)] = grew = true;
                        break;
                    }
            }
        }
        // m_ij = 1 + sum over x != j of p_ix m_xj for the states that enter j for certain.
        std::vector<int> sure;
        for (int i = 0; i < k; ++i)
            if (i != j && !lost[static_cast<std::size_t>(i)]) sure.push_back(i);
        const int n = static_cast<int>(sure.size());
        Eigen::VectorXd m = Eigen::VectorXd::Zero(n);
        if (n > 0) {
            Matrix a = Matrix::Identity(n, n);
            for (int x = 0; x < n; ++x)
                for (int y = 0; y < n; ++y) a(x, y) -= P(sure[x], sure[y]);
            m = a.fullPivLu().solve(Eigen::VectorXd::Ones(n));
            for (int x = 0; x < n; ++x) out[static_cast<std::size_t>(sure[x] * k + j)] = m(x);
        }
        double back = 1;
        for (int x = 0; x < k; ++x)
            if (x != j && P(j, x) > 0) back += P(j, x) * out[static_cast<std::size_t>(x * k + j)];
        out[static_cast<std::size_t>(j * k + j)] = back;
    }
    return out;
}

std::vector<double> EigenvalueModuli(const std::vector<double>& a, int k) {
    const Eigen::EigenSolver<Eigen::MatrixXd> solver(Eigen::MatrixXd(AsMatrix(a, k)), false);
    std::vector<double> out;
    for (int i = 0; i < k; ++i) out.push_back(std::abs(solver.eigenvalues()(i)));
    std::sort(out.rbegin(), out.rend());
    return out;
}

MobilityIndices Mobility(const std::vector<double>& p, int k, const std::vector<double>& start) {
    MobilityIndices m;
    const Matrix a = AsMatrix(p, k);
    m.shorrocks = (k - a.trace()) / (k - 1);
    m.shorrocksDet = 1 - std::fabs(a.determinant());
    const std::vector<double> moduli = EigenvalueModuli(p, k);
    m.sommersConlisk = 1 - (k > 1 ? moduli[1] : 0.0);
    double b = 0;
    for (int i = 0; i < k; ++i)
        for (int j = 0; j < k; ++j)
            b += (start.empty() ? 1.0 / k : start[static_cast<std::size_t>(i)]) * a(i, j) * std::abs(i - j);
    m.bartholomew = b / (k - 1);
    return m;
}

std::vector<double> QuantileEdges(std::vector<double> x, int k) {
    std::sort(x.begin(), x.end());
    std::vector<double> edges;
    if (x.empty() || k < 1) return edges;
    const long long last = static_cast<long long>(x.size()) - 1;
    for (int j = 1; j <= k; ++j) {
        // h = (n - 1) j / K in whole numbers, so an exact position is never off by a rounding.
        const long long whole = last * j / k, rest = last * j % k;
        const double lo = x[static_cast<std::size_t>(whole)];
        const double e = rest == 0 ? lo : lo + (static_cast<double>(rest) / k) * (x[static_cast<std::size_t>(whole + 1)] - lo);
        if (edges.empty() || e != edges.back()) edges.push_back(e);
    }
    return edges;
}

int QuantileClass(const std::vector<double>& edges, double v) {
    const auto it = std::lower_bound(edges.begin(), edges.end(), v);
    const int c = static_cast<int>(it - edges.begin());
    return std::min(c, static_cast<int>(edges.size()) - 1);
}
