#pragma once
#include <optional>
#include <vector>

// A finite Markov chain estimated from counted transitions between K classes, and its ergodic
// quantities in the conventions of PySAL's giddy. Classes count from 0 here; tables print 1..K.
class TransitionMatrix {
public:
    TransitionMatrix() = default;
    explicit TransitionMatrix(int k) : k_(k), counts_(static_cast<std::size_t>(k) * k, 0.0) {}

    int K() const { return k_; }
    void Count(int from, int to, double n = 1) { counts_[Index(from, to)] += n; }
    double Counts(int from, int to) const { return counts_[Index(from, to)]; }
    double RowCount(int from) const;
    // The estimated probability; a class with no transitions out keeps a zero row.
    double P(int from, int to) const;

private:
    std::size_t Index(int i, int j) const { return static_cast<std::size_t>(i) * k_ + j; }
    int k_ = 0;
    std::vector<double> counts_;
};

// A row-stochastic K x K matrix, row-major, for the ergodic quantities. A zero row (a class
// never left nor entered from) is taken as staying put, as giddy's fill_empty_classes does.
std::vector<double> StochasticRows(const TransitionMatrix& m);

// The stationary distribution, or nullopt when the chain has more than one recurrent class
// (then the long run depends on where it starts). Transient classes get 0.
std::optional<std::vector<double>> SteadyState(const std::vector<double>& p, int k);

// 1 / (1 - p_ii): the expected number of steps a class is kept; infinity when p_ii = 1.
double SojournTime(double pii);

// Mean first-passage times, row-major: entry (i, j) is the expected number of steps from i
// until j is first entered; the diagonal is the expected return time (1 / pi_j where the
// steady state exists); infinity where j is not reached with certainty.
std::vector<double> FirstPassageTimes(const std::vector<double>& p, int k);

// Mobility indices of a transition matrix (giddy's markov_mobility): Shorrocks' (K - trace)/(K - 1),
// its determinant form 1 - |det P|, Sommers and Conlisk's 1 - |lambda_2| (the second largest
// eigenvalue modulus) and Bartholomew's second index, the expected class distance moved from
// the start distribution `start` (uniform when empty), over K - 1.
struct MobilityIndices {
    double shorrocks = 0, shorrocksDet = 0, sommersConlisk = 0, bartholomew = 0;
};
MobilityIndices Mobility(const std::vector<double>& p, int k, const std::vector<double>& start = {});

// Moduli of the eigenvalues of a K x K matrix, largest first.
std::vector<double> EigenvalueModuli(const std::vector<double>& a, int k);

// Class edges by mapclassify's quantile rule: for j = 1..K, h = (n-1)j/K, i = floor(h),
// edge_j = x_i + (h - i)(x_(i+1) - x_i) over the sorted values; equal edges merge, so there may
// be fewer than K. `values` need not be sorted.
std::vector<double> QuantileEdges(std::vector<double> values, int k);
// The class (0-based) of a value: the first edge it does not exceed (edge_(c-1) < v <= edge_c);
// a value above the last edge goes to the last class.
int QuantileClass(const std::vector<double>& edges, double v);
