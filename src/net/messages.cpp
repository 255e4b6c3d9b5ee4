#include "net/messages.h"

#include "core/state.h"

#include <algorithm>
#include <cctype>

namespace vezer::net {

namespace {

void PutInt(Bytes& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(u >> shift));
}

std::int32_t GetInt(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint32_t u = 0;
    for (std::size_t i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return static_cast<std::int32_t>(u);
}

bool InRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

bool IsTextCode(int code) {
    switch (code) {
    case kCodeLobbyChat:
    case kCodeGameChat:
    case kCodeSaveName:
    case kCodeLoadProbe:
    case kCodeLoadStart:
    case kCodeVersion:
        return true;
    default:
        return false;
    }
}

bool IsKnownKind(int kind) {
    switch (kind) {
    case kKindJoinerReady:
    case kKindHostSetup:
    case kKindNewGame:
    case kKindOrder:
    case kKindReadiness:
    case kKindQuit:
    case kKindAttackPreview:
    case kKindLoadMissing:
    case kKindLoadPresent:
    case kKindAck:
    case kKindVersionAccepted:
    case kKindVersionDiffers:
    case kKindOddsClosed:
        return true;
    default:
        return false;
    }
}

bool IsReadinessCode(int code) {
    switch (code) {
    case kReadyTurnStartClosed:
    case kReadyReportClosed:
    case kReadyGoOn:
    case kReadyMenu:
    case kReadyReportOpen:
    case kReadyEndScreenOpen:
    case kReadyGameScreenUp:
        return true;
    default:
        return false;
    }
}

std::string CheckPosition(const ControlMessage& m) {
    if (!InRange(m.fields[kFieldRandPos], 1, kRandTableSize)) return "random position out of range";
    if (!InRange(m.fields[kFieldRandStep], 1, 15)) return "random step out of range";
    return {};
}

std::string CheckNewGame(const ControlMessage& m) {
    const NetGameSetup s = ReadNewGame(m);
    if (!InRange(s.campaign, 1, 6)) return "campaign out of range";
    // One side is the host's person, the other the joining machine's.
    const bool sidesAgree =
        (s.playerType1 == 3 && s.playerType2 == 1) || (s.playerType1 == 1 && s.playerType2 == 3);
    if (!sidesAgree) return "player types out of range";
    if (!InRange(s.difficulty, 1, 3)) return "difficulty out of range";
    if (!InRange(s.russianIntervention, 0, 2) || !InRange(s.polishIntervention, 0, 2))
        return "intervention out of range";
    if (!InRange(s.fogOfWar, 0, 1)) return "fog of war out of range";
    if (!InRange(s.randPos, 1, kRandTableSize) || !InRange(s.randStep, 1, 15))
        return "random position out of range";
    return {};
}

std::string CheckControl(const ControlMessage& m) {
    switch (m.Kind()) {
    case kKindNewGame:
        return CheckNewGame(m);
    case kKindOrder:
        if (std::string bad = CheckPosition(m); !bad.empty()) return bad;
        if (!InRange(m.fields[kFieldOrder], 1, kOrderCodeCount)) return "order code out of range";
        return {};
    case kKindAttackPreview:
        if (std::string bad = CheckPosition(m); !bad.empty()) return bad;
        if (!InRange(m.fields[kFieldOrder + 3], 1, 2)) return "attacking side out of range";
        return {};
    case kKindReadiness:
        return IsReadinessCode(m.fields[kFieldReadiness]) ? std::string() : "unknown readiness code";
    default:
        return {};
    }
}

Decoded Refuse(std::string why) {
    Decoded d;
    d.status = Decoded::Status::Refused;
    d.error = std::move(why);
    return d;
}

Decoded DecodeText(std::span<const std::uint8_t> bytes, int code) {
    if (bytes.size() < kTextOverheadBytes)
        return Refuse("text message of " + std::to_string(bytes.size()) + " bytes is too short");
    const std::int32_t length = GetInt(bytes, 4);
    // A length of 0 or less is an empty text; the message is then just its twelve bytes.
    const std::size_t textBytes = length > 0 ? static_cast<std::size_t>(length) : 0;
    if (textBytes > kMaxTextBytes || textBytes + kTextOverheadBytes != bytes.size())
        return Refuse("text length " + std::to_string(length) + " does not fit a message of " +
                      std::to_string(bytes.size()) + " bytes");
    TextMessage t;
    t.code = code;
    const auto text = bytes.subspan(8, textBytes);
    const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
    t.text.assign(text.begin(), end);
    Decoded d;
    d.status = Decoded::Status::Accepted;
    d.message = std::move(t);
    return d;
}

Decoded DecodeControl(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kControlBytes)
        return Refuse("control message of " + std::to_string(bytes.size()) + " bytes, not " +
                      std::to_string(kControlBytes));
    ControlMessage m;
    for (int i = 0; i < kControlFields; ++i) m.fields[static_cast<std::size_t>(i)] = GetInt(bytes, 4 * i);
    Decoded d;
    if (!IsKnownKind(m.Kind())) {
        d.status = Decoded::Status::Ignored;
        return d;
    }
    if (std::string bad = CheckControl(m); !bad.empty())
        return Refuse("control kind " + std::to_string(m.Kind()) + ": " + bad);
    d.status = Decoded::Status::Accepted;
    d.message = m;
    return d;
}

} // namespace

Bytes EncodeText(int code, std::string_view text) {
    text = text.substr(0, kMaxTextBytes);
    Bytes out;
    out.reserve(text.size() + kTextOverheadBytes);
    PutInt(out, code);
    PutInt(out, static_cast<std::int32_t>(text.size()));
    out.insert(out.end(), text.begin(), text.end());
    out.insert(out.end(), 4, std::uint8_t{0}); // the zero byte and three of no meaning
    return out;
}

Bytes EncodeControl(const ControlMessage& message) {
    Bytes out;
    out.reserve(kControlBytes);
    for (std::int32_t v : message.fields) PutInt(out, v);
    return out;
}

Bytes EncodeMessage(const Message& message) {
    if (const auto* t = std::get_if<TextMessage>(&message)) return EncodeText(t->code, t->text);
    return EncodeControl(std::get<ControlMessage>(message));
}

Bytes Frame(const Bytes& message) {
    Bytes out;
    out.reserve(message.size() + kFrameHeaderBytes);
    PutInt(out, static_cast<std::int32_t>(message.size()));
    out.insert(out.end(), message.begin(), message.end());
    return out;
}

ControlMessage MakeControl(int kind) {
    ControlMessage m;
    m.fields[0] = kCodeControl;
    m.fields[1] = kind;
    return m;
}

ControlMessage MakeNewGame(const NetGameSetup& s) {
    ControlMessage m = MakeControl(kKindNewGame);
    const int values[] = {
        s.campaign,           s.playerType1, s.playerType2, s.difficulty, s.russianIntervention,
        s.polishIntervention, s.fogOfWar,    s.randPos,     s.randStep};
    std::copy(std::begin(values), std::end(values), m.fields.begin() + 2);
    return m;
}

NetGameSetup ReadNewGame(const ControlMessage& m) {
    const auto& f = m.fields;
    return NetGameSetup{f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10]};
}

ControlMessage MakeOrder(const RelayedOrder& r) {
    ControlMessage m = MakeControl(kKindOrder);
    m.fields[kFieldRandPos] = r.randPos;
    m.fields[kFieldRandStep] = r.randStep;
    m.fields[kFieldFingerprint] = r.fingerprint;
    const TParancs& o = r.order;
    const int values[] = {o.Code, o.HexX, o.HexY, o.Side, o.Corps, o.Param};
    std::copy(std::begin(values), std::end(values), m.fields.begin() + kFieldOrder);
    return m;
}

RelayedOrder ReadOrder(const ControlMessage& m) {
    const auto& f = m.fields;
    RelayedOrder r;
    r.randPos = f[kFieldRandPos];
    r.randStep = f[kFieldRandStep];
    r.fingerprint = f[kFieldFingerprint];
    r.order = TParancs{f[12], f[13], f[14], f[15], f[16], f[17]};
    return r;
}

ControlMessage MakeAttackPreview(const AttackPreview& p) {
    ControlMessage m = MakeControl(kKindAttackPreview);
    m.fields[kFieldRandPos] = p.randPos;
    m.fields[kFieldRandStep] = p.randStep;
    m.fields[kFieldFingerprint] = p.fingerprint;
    // The record's place holds no order code: 0, the target hex, the side and the corps.
    m.fields[kFieldOrder + 1] = p.targetX;
    m.fields[kFieldOrder + 2] = p.targetY;
    m.fields[kFieldOrder + 3] = p.side;
    m.fields[kFieldOrder + 4] = p.corps;
    return m;
}

AttackPreview ReadAttackPreview(const ControlMessage& m) {
    const auto& f = m.fields;
    return AttackPreview{
        f[13], f[14], f[15], f[16], f[kFieldRandPos], f[kFieldRandStep], f[kFieldFingerprint]};
}

ControlMessage MakeReadiness(int code) {
    ControlMessage m = MakeControl(kKindReadiness);
    m.fields[kFieldReadiness] = code;
    return m;
}

Decoded DecodeMessage(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4) return Refuse("message of " + std::to_string(bytes.size()) + " bytes has no code");
    const int code = GetInt(bytes, 0);
    if (code == kCodeControl) return DecodeControl(bytes);
    if (IsTextCode(code)) return DecodeText(bytes, code);
    Decoded d;
    d.status = Decoded::Status::Ignored;
    return d;
}

void FrameReader::Feed(std::span<const std::uint8_t> bytes) {
    if (Broken()) return;
    // Drop what was taken before appending, so the buffer never grows past one frame and a half.
    if (start_ > 0) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

std::optional<Bytes> FrameReader::Next() {
    if (Broken() || buffer_.size() - start_ < kFrameHeaderBytes) return std::nullopt;
    const std::int32_t length = GetInt(buffer_, start_);
    if (length <= 0 || static_cast<std::size_t>(length) > kMaxMessageBytes) {
        error_ = "frame length " + std::to_string(length) + " outside 1.." + std::to_string(kMaxMessageBytes);
        buffer_.clear();
        start_ = 0;
        return std::nullopt;
    }
    const auto size = static_cast<std::size_t>(length);
    if (buffer_.size() - start_ < kFrameHeaderBytes + size) return std::nullopt;
    const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(start_ + kFrameHeaderBytes);
    Bytes message(first, first + static_cast<std::ptrdiff_t>(size));
    start_ += kFrameHeaderBytes + size;
    return message;
}

std::string CheckPeerFileName(std::string_view name) {
    if (name.empty()) return "empty file name";
    if (name.size() > 64) return "file name longer than 64 characters";
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || c == '/' || c == '\\' || c == ':')
            return "file name with a folder or a control character";
    }
    if (name == "." || name == ".." || name.find("..") != std::string_view::npos)
        return "file name with \"..\"";
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    if (lower.size() <= 4 || lower.substr(lower.size() - 4) != ".sav") return "not a saved game (.sav) name";
    // "PBEM.sav", "PBEM.paf" and the turn files "PBEM_name.sav" belong to the e-mail game.
    if (lower.rfind("pbem", 0) == 0) return "an e-mail game's working file";
    return {};
}

std::vector<std::string> OwnAddressLines(std::string_view listing) {
    std::vector<std::string> lines;
    for (std::size_t pos = listing.find("IP"); pos != std::string_view::npos;
         pos = listing.find("IP", pos + 1)) {
        if (listing.substr(pos, 12) == "IP=127.0.0.1" || pos + 3 > listing.size()) continue;
        const std::size_t from = pos + 3;
        const std::size_t comma = listing.find(',', from);
        lines.emplace_back(
            listing.substr(from, comma == std::string_view::npos ? std::string_view::npos : comma - from));
    }
    return lines;
}

} // namespace vezer::net
