#include "object.h"

void Object::UpdateValidity(int channels, Interval v) {
    for (int k = 0; k < NUM_OBJ_CHANNELS; ++k)
        if (channels & (1 << k))
            chanValid[k] &= v;
}

Interval Object::ChannelValidity(int channel) const {
    for (int k = 0; k < NUM_OBJ_CHANNELS; ++k)
        if (channel == (1 << k))
            return chanValid[k];
    return NEVER;
}

Interval Object::ObjectValidity() const {
    Interval all = FOREVER;
    for (const Interval& v : chanValid) all &= v;
    return all;
}
