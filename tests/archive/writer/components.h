// Component descriptors of a block header: a type byte and its parameters.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <initializer_list>

namespace zpaqtest::comp {

inline QByteArray descriptor(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out.append(static_cast<char>(b & 0xFF));
    return out;
}

inline QByteArray constant(int c) { return descriptor({1, c}); }
inline QByteArray cm(int s, int limit) { return descriptor({2, s, limit}); }
inline QByteArray icm(int s) { return descriptor({3, s}); }
inline QByteArray match(int s, int b) { return descriptor({4, s, b}); }
inline QByteArray avg(int j, int k, int wt) { return descriptor({5, j, k, wt}); }
inline QByteArray mix2(int s, int j, int k, int rate, int mask)
{
    return descriptor({6, s, j, k, rate, mask});
}
inline QByteArray mix(int s, int j, int m, int rate, int mask)
{
    return descriptor({7, s, j, m, rate, mask});
}
inline QByteArray isse(int s, int j) { return descriptor({8, s, j}); }
inline QByteArray sse(int s, int j, int start, int limit)
{
    return descriptor({9, s, j, start, limit});
}

} // namespace zpaqtest::comp
