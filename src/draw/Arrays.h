#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "Numeric.h"
#include "RunError.h"

// Fixed-capacity arrays indexed from 1, as every table of the system is. An index
// outside the capacity is a run-time error, never a stray write. A floating index
// converts the way the system converts any float to an integer (ties to even).
namespace detail {
template <typename I>
inline long ToIndex(I i) {
    if constexpr (std::is_floating_point_v<I>)
        return RoundToLong(static_cast<double>(i));
    else
        return static_cast<long>(i);
}
[[noreturn]] inline void SubscriptOutOfRange() { throw RunError("Subscript out of range"); }
}  // namespace detail

template <typename T, std::size_t N>
class Vec1 {
public:
    Vec1() : data_(N) {}
    static constexpr std::size_t Capacity = N;

    template <typename I>
    T& operator()(I i) { return data_[Slot(i)]; }
    template <typename I>
    const T& operator()(I i) const { return data_[Slot(i)]; }

    void Fill(const T& v) { std::fill(data_.begin(), data_.end(), v); }

private:
    template <typename I>
    static std::size_t Slot(I i) {
        long k = detail::ToIndex(i);
        if (k < 1 || k > static_cast<long>(N)) detail::SubscriptOutOfRange();
        return static_cast<std::size_t>(k - 1);
    }
    std::vector<T> data_;
};

template <typename T, std::size_t R, std::size_t C>
class Grid {
public:
    Grid() : data_(R * C) {}
    static constexpr std::size_t Rows = R;
    static constexpr std::size_t Cols = C;

    template <typename I, typename J>
    T& operator()(I i, J j) { return data_[Slot(i, j)]; }
    template <typename I, typename J>
    const T& operator()(I i, J j) const { return data_[Slot(i, j)]; }

    void Fill(const T& v) { std::fill(data_.begin(), data_.end(), v); }

private:
    template <typename I, typename J>
    static std::size_t Slot(I i, J j) {
        long r = detail::ToIndex(i), c = detail::ToIndex(j);
        if (r < 1 || r > static_cast<long>(R) || c < 1 || c > static_cast<long>(C))
            detail::SubscriptOutOfRange();
        return static_cast<std::size_t>((c - 1) * static_cast<long>(R) + (r - 1));
    }
    std::vector<T> data_;
};

// The capacities of the system: places, dates and the few statistics tables (one row per date).
inline constexpr std::size_t MaxCities = 10000;
inline constexpr std::size_t MaxDates = 40;
inline constexpr std::size_t MaxStats = 40;

using CityVec = Vec1<float, MaxCities>;
using DateVec = Vec1<float, MaxDates>;
using CityDateGrid = Grid<float, MaxCities, MaxDates>;
