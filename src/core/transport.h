#pragma once
// The other machine of a network game, as the rules see it. A single-machine game uses
// NoTransport, which holds every turn and sends nothing.

#include <string_view>

namespace vezer {

struct TParancs;

class Transport {
public:
    virtual ~Transport() = default;
    // Whether this machine holds the network turn (may act now).
    virtual bool HoldsTurn() const = 0;
    // Sends an executed order, with the random-table position it was executed at.
    virtual void SendOrder(const TParancs& order, int randPos, int randStep) = 0;
    // Readiness report of a shared screen (1 = turn-start screen closed here).
    virtual void SendReadiness(int code) = 0;
    virtual void SendChat(std::string_view text) = 0;
    // The watchdog that guards an order held back while the other machine acts.
    virtual void StartWatchdog() {}
};

class NoTransport final : public Transport {
public:
    bool HoldsTurn() const override { return true; }
    void SendOrder(const TParancs&, int, int) override {}
    void SendReadiness(int) override {}
    void SendChat(std::string_view) override {}
};

} // namespace vezer
