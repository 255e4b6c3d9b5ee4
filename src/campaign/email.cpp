#include "campaign/email.h"

namespace vezer {

// The replay is built with the e-mail exchange; until then an opened turn replays nothing.
void OpenReplay(Game&) {}
void KeepEmailOrdersAfterLoad(Game&, std::span<const std::uint8_t>) {}

} // namespace vezer
