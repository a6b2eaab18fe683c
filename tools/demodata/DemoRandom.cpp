#include "DemoRandom.h"

DemoRandom::DemoRandom(quint64 seed)
    : m_state(seed * 0x9E3779B97F4A7C15ULL + 0x632BE59BD9B4E019ULL)
{
}

quint64 DemoRandom::next()
{
    // splitmix64
    quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int DemoRandom::between(int low, int high)
{
    if (high <= low)
        return low;
    const quint64 span = quint64(qint64(high) - qint64(low) + 1);
    return int(qint64(low) + qint64(next() % span));
}

double DemoRandom::real(double low, double high)
{
    const double unit = double(next() >> 11) / double(1ULL << 53);
    return low + (high - low) * unit;
}

bool DemoRandom::chance(double probability)
{
    return real(0.0, 1.0) < probability;
}
