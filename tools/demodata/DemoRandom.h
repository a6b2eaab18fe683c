#pragma once

#include <QList>
#include <QtGlobal>

// Deterministic pseudo-random numbers for the demo data: the same seed gives the same file on
// every platform and library version (no std distributions, whose output is unspecified).
class DemoRandom
{
public:
    explicit DemoRandom(quint64 seed);

    quint64 next();
    // Whole number in [low, high].
    int between(int low, int high);
    // Real number in [low, high).
    double real(double low, double high);
    bool chance(double probability);

    template<typename T>
    const T &pick(const QList<T> &items)
    {
        return items.at(between(0, int(items.size()) - 1));
    }

private:
    quint64 m_state;
};
