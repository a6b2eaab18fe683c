#pragma once

// How much demo data to write: the normal file for demonstrations and tests, or the large one
// that benchmarks the screens' statements.
struct DemoScale
{
    int products = 480;
    int customers = 160;
    int orders = 260;
    int itemsPerOrder = 8;   // average; the total is exactly orders * itemsPerOrder
    int historyDays = 120;   // orders spread over this many days before today
    int pendingRows = 40;    // F500RPE
    bool large = false;

    static DemoScale normal() { return {}; }
    static DemoScale largeScale()
    {
        DemoScale s;
        s.products = 20000;
        s.customers = 5000;
        s.orders = 30000;
        s.itemsPerOrder = 10;
        s.historyDays = 365;
        s.pendingRows = 3000;
        s.large = true;
        return s;
    }
};
