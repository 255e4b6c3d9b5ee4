#include "fuzz/net_frames_harness.h"

#include <algorithm>

namespace vezer::fuzz {

using namespace vezer::net;

std::string RunNetFrames(std::span<const std::uint8_t> data) {
    if (data.empty()) return {};
    const std::size_t piece = 1 + data[0] % 97;
    data = data.subspan(1);
    FrameReader reader;
    for (std::size_t at = 0; at < data.size(); at += piece) {
        reader.Feed(data.subspan(at, std::min(piece, data.size() - at)));
        while (const std::optional<Bytes> frame = reader.Next()) {
            if (frame->empty() || frame->size() > kMaxMessageBytes)
                return "the reader let a bad frame through";
            const Decoded d = DecodeMessage(*frame);
            if (d.status == Decoded::Status::Refused && d.error.empty()) return "a refusal without a reason";
            if (d.status != Decoded::Status::Accepted) continue;
            const Decoded again = DecodeMessage(EncodeMessage(d.message));
            if (again.status != Decoded::Status::Accepted || !(again.message == d.message))
                return "an accepted message does not survive encoding";
        }
        if (reader.Broken() && reader.Error().empty()) return "a broken stream without a reason";
    }
    return {};
}

std::vector<std::vector<std::uint8_t>> NetFrameSeeds() {
    auto stream = [](std::uint8_t piece, std::initializer_list<Bytes> messages) {
        Bytes out{piece};
        for (const Bytes& m : messages) {
            const Bytes f = Frame(m);
            out.insert(out.end(), f.begin(), f.end());
        }
        return out;
    };
    RelayedOrder move;
    move.order = TParancs{kOrderMove, 20, 14, 1, 3, 0};
    move.randPos = 4711;
    move.randStep = 7;
    move.fingerprint = 5120;
    const NetGameSetup setup{1, 3, 1, 2, 1, 1, 1, 1, 1};
    Bytes shortControl = EncodeControl(MakeControl(kKindAck));
    shortControl.pop_back();
    Bytes badLength = EncodeText(kCodeGameChat, "szia");
    badLength[4] = 200;
    return {
        stream(0,
               {EncodeText(kCodeVersion, kProtocolVersion), EncodeControl(MakeControl(kKindVersionAccepted)),
                EncodeControl(MakeControl(kKindJoinerReady))}),
        stream(3, {EncodeControl(MakeNewGame(setup)), EncodeControl(MakeOrder(move)),
                   EncodeControl(MakeControl(kKindAck))}),
        stream(1, {EncodeText(kCodeLobbyChat, "játékos>    Jó napot!"),
                   EncodeText(kCodeSaveName, "multigyorsmentes.sav"),
                   EncodeControl(MakeReadiness(kReadyTurnStartClosed))}),
        stream(96, {EncodeControl(MakeAttackPreview({12, 8, 2, 5, 77, 3, 4000})),
                    EncodeText(kCodeLoadProbe, "../x.sav")}),
        stream(5, {shortControl, badLength}),
        Bytes{0, 0xff, 0xff, 0xff, 0xff, 1, 0, 0, 0},
    };
}

} // namespace vezer::fuzz
