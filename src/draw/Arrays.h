#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "Numeric.h"
#include "RunError.h"

// Arrays indexed from 1, as every table of the system is. An index outside the current
// size is a run-time error, never a stray write. A floating index converts the way the
// system converts any float to an integer (ties to even).
//
// N is the classic size: an array never holds fewer entries, so the classic computations,
// some of which read a zero just past the last place or date (a table printed at the fixed
// width of the standard calendar), behave as they always did. A larger table grows the
// arrays it needs (Resize, or the sizing constructor) to its own size.
namespace detail {
template <typename I>
inline long ToIndex(I i) {
    if constexpr (std::is_floating_point_v<I>)
        return RoundToLong(static_cast<double>(i));
    else
        return static_cast<long>(i);
}
[[noreturn]] inline void SubscriptOutOfRange() { throw RunError("Subscript out of range"); }
inline std::size_t AtLeast(std::size_t classic, long wanted) {
    return wanted > static_cast<long>(classic) ? static_cast<std::size_t>(wanted) : classic;
}

// Numbers come from calloc, already zero, and are not written again when the array is made:
// a table of 100,000 places is hundreds of megabytes that the system hands out as zero pages
// only when they are first written.
template <typename T>
struct ZeroedAllocator {
    using value_type = T;
    ZeroedAllocator() = default;
    template <typename U>
    ZeroedAllocator(const ZeroedAllocator<U>&) {}
    T* allocate(std::size_t n) {
        void* p = std::calloc(n, sizeof(T));
        if (!p) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t) { std::free(p); }
    template <typename U>
    void construct(U*) noexcept {}  // T{} of a number is all zero bits, which calloc gave
    template <typename U, typename... A>
    void construct(U* p, A&&... a) {
        ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
    }
    template <typename U>
    bool operator==(const ZeroedAllocator<U>&) const { return true; }
};
template <typename T>
using Storage = std::conditional_t<std::is_arithmetic_v<T>, std::vector<T, ZeroedAllocator<T>>, std::vector<T>>;
}  // namespace detail

template <typename T, std::size_t N>
class Vec1 {
public:
    Vec1() : data_(N) {}
    explicit Vec1(long n) : data_(detail::AtLeast(N, n)) {}

    // Every entry back to T{}, for n entries (never fewer than the classic size).
    void Resize(long n) { data_ = detail::Storage<T>(detail::AtLeast(N, n)); }
    std::size_t Size() const { return data_.size(); }

    template <typename I>
    T& operator()(I i) { return data_[Slot(i)]; }
    template <typename I>
    const T& operator()(I i) const { return data_[Slot(i)]; }

    void Fill(const T& v) { std::fill(data_.begin(), data_.end(), v); }

private:
    template <typename I>
    std::size_t Slot(I i) const {
        long k = detail::ToIndex(i);
        if (k < 1 || k > static_cast<long>(data_.size())) detail::SubscriptOutOfRange();
        return static_cast<std::size_t>(k - 1);
    }
    detail::Storage<T> data_;
};

template <typename T, std::size_t R, std::size_t C>
class Grid {
public:
    Grid() : rows_(R), cols_(C), data_(R * C) {}
    Grid(long rows, long cols) { Resize(rows, cols); }

    // Every cell back to T{}, for rows x cols cells (never fewer than the classic size).
    void Resize(long rows, long cols) {
        rows_ = detail::AtLeast(R, rows);
        cols_ = detail::AtLeast(C, cols);
        data_ = detail::Storage<T>(rows_ * cols_);
    }
    // The same size as Resize gives, keeping the cells when the size does not change: for a
    // table its owner rewrites in full, without clearing hundreds of megabytes again.
    void SizeFor(long rows, long cols) {
        if (detail::AtLeast(R, rows) != rows_ || detail::AtLeast(C, cols) != cols_) Resize(rows, cols);
    }
    std::size_t Rows() const { return rows_; }
    std::size_t Cols() const { return cols_; }

    template <typename I, typename J>
    T& operator()(I i, J j) { return data_[Slot(i, j)]; }
    template <typename I, typename J>
    const T& operator()(I i, J j) const { return data_[Slot(i, j)]; }

    void Fill(const T& v) { std::fill(data_.begin(), data_.end(), v); }

private:
    template <typename I, typename J>
    std::size_t Slot(I i, J j) const {
        long r = detail::ToIndex(i), c = detail::ToIndex(j);
        if (r < 1 || r > static_cast<long>(rows_) || c < 1 || c > static_cast<long>(cols_))
            detail::SubscriptOutOfRange();
        return static_cast<std::size_t>(c - 1) * rows_ + static_cast<std::size_t>(r - 1);
    }
    std::size_t rows_ = 0, cols_ = 0;
    detail::Storage<T> data_;
};

// The classic sizes: places, dates and the few statistics tables (one row per date). They
// are floors, not caps: DataSet::Resize and the analyses grow every array to the data.
inline constexpr std::size_t MaxCities = 10000;
inline constexpr std::size_t MaxDates = 40;
inline constexpr std::size_t MaxStats = 40;

using CityVec = Vec1<float, MaxCities>;
using DateVec = Vec1<float, MaxDates>;
using CityDateGrid = Grid<float, MaxCities, MaxDates>;
