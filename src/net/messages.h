#pragma once
// The messages the two machines of a network game exchange, as bytes. Every integer is 32-bit
// little-endian. A text message is its code, its length, the text, a zero byte and three bytes
// of no meaning; a control message is nineteen integers (code 1, its kind, then the kind's
// fields). TCP is a stream, so each message travels in a frame: a 4-byte length, then the
// message's own bytes unchanged. Pure code: no sockets, no threads.

#include "core/order_record.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vezer::net {

using Bytes = std::vector<std::uint8_t>;

inline constexpr int kPort = 2350;
// The version both machines must run; the joining machine sends it, the host compares it.
inline constexpr std::string_view kProtocolVersion = "1.3";

inline constexpr std::size_t kFrameHeaderBytes = 4;
// The largest message a frame may carry. The longest real one is a chat line or a file name;
// a larger length is garbage and ends the session.
inline constexpr std::size_t kMaxMessageBytes = 4096;
inline constexpr std::size_t kTextOverheadBytes = 12;
inline constexpr std::size_t kMaxTextBytes = kMaxMessageBytes - kTextOverheadBytes;
inline constexpr int kControlFields = 19;
inline constexpr std::size_t kControlBytes = kControlFields * 4;

// The first integer of every message.
enum MessageCode : int {
    kCodeLobbyChat = 0,
    kCodeControl = 1,
    kCodeGameChat = 7,
    kCodeSaveName = 12,  // the sender saved under this name: save yours too
    kCodeLoadProbe = 13, // the host wants to load this saved game: is it there?
    kCodeLoadStart = 16, // the host loads this saved game now
    kCodeVersion = 19,
};

// The second integer of a control message.
enum ControlKind : int {
    kKindJoinerReady = 2,    // the joining machine's version was accepted
    kKindHostSetup = 3,      // the host opened the game setup
    kKindNewGame = 4,        // the agreed new game
    kKindOrder = 5,          // an order with the random position and fingerprint
    kKindReadiness = 8,      // a shared screen's readiness code
    kKindQuit = 9,           // the sender's player quit the game
    kKindAttackPreview = 10, // the odds of a planned attack were computed
    kKindLoadMissing = 14,   // the saved game to load is missing here
    kKindLoadPresent = 15,   // the saved game to load is here
    kKindAck = 18,           // acknowledgement of kinds 5 and 10
    kKindVersionAccepted = 20,
    kKindVersionDiffers = 21,
    kKindOddsClosed = 22, // the odds screen closed
};

// Readiness codes of the shared screens.
enum ReadinessCode : int {
    kReadyTurnStartClosed = 1,
    kReadyReportClosed = 2,
    kReadyGoOn = 3,
    kReadyMenu = 4,
    kReadyReportOpen = 22,
    kReadyEndScreenOpen = 33,
    kReadyGameScreenUp = 77,
};

// Field positions of the control message.
inline constexpr int kFieldRandPos = 9;
inline constexpr int kFieldRandStep = 10;
inline constexpr int kFieldFingerprint = 11;
inline constexpr int kFieldOrder = 12; // six fields: the order record
inline constexpr int kFieldReadiness = 18;

struct TextMessage {
    int code = 0;
    std::string text;
    friend bool operator==(const TextMessage&, const TextMessage&) = default;
};

struct ControlMessage {
    std::array<std::int32_t, kControlFields> fields{};
    int Kind() const { return fields[1]; }
    friend bool operator==(const ControlMessage&, const ControlMessage&) = default;
};

using Message = std::variant<TextMessage, ControlMessage>;

// The host's choices for a new game (kind 4, fields 2..10).
struct NetGameSetup {
    int campaign = 1;
    int playerType1 = 1; // for the joining machine: 3 = the host's person plays side 1, else 1
    int playerType2 = 3;
    int difficulty = 2;
    int russianIntervention = 0;
    int polishIntervention = 0;
    int fogOfWar = 0;
    int randPos = 1;
    int randStep = 1;
    friend bool operator==(const NetGameSetup&, const NetGameSetup&) = default;
};

// An order as kind 5 carries it.
struct RelayedOrder {
    TParancs order;
    int randPos = 0;
    int randStep = 0;
    int fingerprint = 0;
};

// An attack preview as kind 10 carries it.
struct AttackPreview {
    int targetX = 0, targetY = 0, side = 0, corps = 0;
    int randPos = 0, randStep = 0, fingerprint = 0;
};

// Message bytes (without the frame).
Bytes EncodeText(int code, std::string_view text);
Bytes EncodeControl(const ControlMessage& message);
Bytes EncodeMessage(const Message& message);
// The frame around a message: its length, then its bytes.
Bytes Frame(const Bytes& message);

ControlMessage MakeControl(int kind);
ControlMessage MakeNewGame(const NetGameSetup& setup);
ControlMessage MakeOrder(const RelayedOrder& relayed);
ControlMessage MakeAttackPreview(const AttackPreview& preview);
ControlMessage MakeReadiness(int code);

NetGameSetup ReadNewGame(const ControlMessage& message);
RelayedOrder ReadOrder(const ControlMessage& message);
AttackPreview ReadAttackPreview(const ControlMessage& message);

// What the decoder made of one frame's bytes.
struct Decoded {
    enum class Status {
        Accepted, // `message` holds it
        Ignored,  // a well-formed message of a code or kind this game does not know
        Refused,  // malformed: `error` says why; the session ends
    };
    Status status = Status::Refused;
    Message message;
    std::string error;
};

// Decodes one message (the bytes inside a frame). Sizes are checked against the code (a text's
// Length within the frame, a control message exactly 76 bytes), and every field a known kind
// uses is range-checked; an order's legality in the game is checked where it runs.
Decoded DecodeMessage(std::span<const std::uint8_t> bytes);

// The stream side of the frames: bytes go in as the socket delivers them, whole frames come
// out in order. A length of zero, a negative one or one above the maximum breaks the stream
// for good (there is no way to find the next frame).
class FrameReader {
public:
    void Feed(std::span<const std::uint8_t> bytes);
    // The next whole frame's message bytes, if one is complete.
    std::optional<Bytes> Next();
    bool Broken() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }

private:
    Bytes buffer_;
    std::size_t start_ = 0;
    std::string error_;
};

// A file name the other machine sent (a save, a saved game to load): a plain ".sav" name that
// lies in the save folder, never one of the e-mail game's working files. Returns an empty text
// when it may be used, else the reason.
std::string CheckPeerFileName(std::string_view name);

// The address lines the lobby shows from the interface listing: every "IP=" entry but the
// loopback's, up to its comma.
std::vector<std::string> OwnAddressLines(std::string_view interfaceListing);

} // namespace vezer::net
