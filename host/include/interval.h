// Interval: a closed range of host times, used for validity.
#pragma once

#include "maxtypes.h"

#define TIME_NegInfinity static_cast<TimeValue>(0x80000000u)
#define TIME_PosInfinity static_cast<TimeValue>(0x7fffffff)

class Interval {
public:
    Interval(TimeValue s, TimeValue e) : start(s), end(e) {}
    // The empty interval.
    Interval() : start(TIME_NegInfinity), end(TIME_NegInfinity) {}

    TimeValue Start() const { return start; }
    TimeValue End() const { return end; }
    void Set(TimeValue s, TimeValue e) {
        start = s;
        end = e;
    }
    void SetStart(TimeValue s) { start = s; }
    void SetEnd(TimeValue e) { end = e; }
    void SetInfinite() { Set(TIME_NegInfinity, TIME_PosInfinity); }
    void SetEmpty() { Set(TIME_NegInfinity, TIME_NegInfinity); }
    void SetInstant(TimeValue t) { Set(t, t); }
    // The empty interval begins and ends at the smallest time value.
    bool Empty() const { return start == TIME_NegInfinity && end == TIME_NegInfinity; }
    bool InInterval(TimeValue t) const { return !Empty() && start <= t && t <= end; }
    bool InInterval(const Interval& i) const {
        return !Empty() && !i.Empty() && start <= i.start && i.end <= end;
    }

    // Intersection.
    Interval& operator&=(const Interval& i) {
        if (Empty() || i.Empty()) {
            SetEmpty();
            return *this;
        }
        TimeValue s = start > i.start ? start : i.start;
        TimeValue e = end < i.end ? end : i.end;
        if (s > e)
            SetEmpty();
        else
            Set(s, e);
        return *this;
    }
    Interval operator&(const Interval& i) const {
        Interval r = *this;
        r &= i;
        return r;
    }
    bool operator==(const Interval& i) const { return start == i.start && end == i.end; }
    bool operator!=(const Interval& i) const { return !(*this == i); }

private:
    TimeValue start;
    TimeValue end;
};

#define FOREVER Interval(TIME_NegInfinity, TIME_PosInfinity)
#define NEVER Interval(TIME_NegInfinity, TIME_NegInfinity)
