#include "support/draws.h"

namespace vezer::testing {

void QueueDraws(State& st, std::initializer_list<int> values) { QueueDraws(st, std::vector<int>(values)); }

void QueueDraws(State& st, const std::vector<int>& values) {
    int pos = st.RandPos;
    for (int v : values) {
        pos += st.RandStep;
        if (pos > kRandTableSize) pos -= kRandTableSize;
        st.RandTable[static_cast<std::size_t>(pos)] = v - 1;
    }
}

int DrawsSince(const State& st, int before) {
    int moved = st.RandPos - before;
    if (moved < 0) moved += kRandTableSize;
    return st.RandStep > 0 ? moved / st.RandStep : 0;
}

} // namespace vezer::testing
