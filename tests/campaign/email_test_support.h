#pragma once
// One machine of an e-mail game in a test: a game with its own game directory, and the files
// that travel between two of them.

#include "campaign/email.h"
#include "core/binary_io.h"
#include "support/test_game.h"

#include <cstdint>
#include <string>

namespace vezer::testing {

struct EmailMachine {
    EmailMachine();
    TestGame t;
    Game& g() { return t.g(); }
    State& st() { return t.st(); }
    // Copies a game file (a turn file) of another machine into this one's folder.
    void TakeFile(EmailMachine& from, const std::string& gameFileName);
    TurnFileOpening Open(const std::string& plainName, const std::string& password);
    // The bytes of "save\\PBEM.paf" (empty when there is none).
    Bytes OrderFileBytes();
};

// The state with what is each machine's own set aside: who sits where, the passwords, the
// e-mail bookkeeping of the files, the ticker and the stack order each machine keeps of the
// corps it sees.
std::uint64_t SharedHash(const State& state);
// Every field, for "nothing changed".
std::uint64_t WholeHash(const State& state);

} // namespace vezer::testing
