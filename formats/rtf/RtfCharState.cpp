#include "formats/rtf/RtfCharState.h"

size_t qHash(const RtfCharState& state, size_t seed)
{
    const int flags = (state.bold ? 1 : 0) | (state.italic ? 2 : 0) | (state.underline ? 4 : 0) |
                      (state.strike ? 8 : 0) | (state.hidden ? 16 : 0) |
                      (state.pageNumber ? 32 : 0);
    return qHashMulti(seed, flags, state.color, state.font, state.halfPoints, state.vertical,
                      state.highlight, state.link, state.note, state.seedRun, state.seedRunLength,
                      state.seedRunWords, state.seedRunBreaks);
}
