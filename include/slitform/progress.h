// Hears a cut's progress and may cancel it.
#pragma once

namespace slitform {

class Progress {
public:
    virtual ~Progress() = default;
    // Called on the cutting thread about ten times a second and once at the end:
    // faces done of the faces the cut visits, seconds since it began. Returning
    // false cancels the cut: it stops at the next face it replaces and throws Error.
    virtual bool Update(long long done, long long total, double seconds) = 0;
};

}  // namespace slitform
