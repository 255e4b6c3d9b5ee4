// The bytes of the network messages and their frames, and the decoder's refusals.

#include "net/messages.h"

#include <gtest/gtest.h>

namespace vezer::net {
namespace {

std::int32_t IntAt(const Bytes& b, std::size_t at) {
    return static_cast<std::int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                                     (static_cast<std::uint32_t>(b[at + 3]) << 24));
}

void PutIntAt(Bytes& b, std::size_t at, std::int32_t v) {
    for (std::size_t i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
}

Decoded::Status StatusOf(const Bytes& b) {
    return DecodeMessage(b).status;
}

TEST(NetMessages, TextMessageLayoutIsCodeLengthTextZeroAndThreeBytes) {
    const Bytes b = EncodeText(kCodeVersion, "1.3");
    ASSERT_EQ(b.size(), 3u + 12u);
    EXPECT_EQ(IntAt(b, 0), 19);
    EXPECT_EQ(IntAt(b, 4), 3);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 11), "1.3");
    EXPECT_EQ(b[11], 0);
    const Decoded d = DecodeMessage(b);
    ASSERT_EQ(d.status, Decoded::Status::Accepted) << d.error;
    EXPECT_EQ(std::get<TextMessage>(d.message), (TextMessage{kCodeVersion, "1.3"}));

    // Hungarian text travels as its bytes; an empty chat line is still a message.
    const std::string line = "Játék mentve: multigyorsmentes.sav";
    EXPECT_EQ(std::get<TextMessage>(DecodeMessage(EncodeText(kCodeGameChat, line)).message).text, line);
    const Bytes empty = EncodeText(kCodeLobbyChat, "");
    EXPECT_EQ(empty.size(), 12u);
    EXPECT_EQ(std::get<TextMessage>(DecodeMessage(empty).message).text, "");
}

TEST(NetMessages, TextStopsAtAZeroByteAndANonPositiveLengthIsEmpty) {
    Bytes b = EncodeText(kCodeLobbyChat, "abcdef");
    b[10] = 0;
    EXPECT_EQ(std::get<TextMessage>(DecodeMessage(b).message).text, "ab");
    Bytes negative = EncodeText(kCodeLobbyChat, "");
    PutIntAt(negative, 4, -5);
    const Decoded d = DecodeMessage(negative);
    ASSERT_EQ(d.status, Decoded::Status::Accepted) << d.error;
    EXPECT_EQ(std::get<TextMessage>(d.message).text, "");
}

TEST(NetMessages, TextWhoseLengthLeavesTheFrameIsRefused) {
    Bytes b = EncodeText(kCodeSaveName, "a.sav");
    for (std::int32_t length : {6, 4, 1000, 2147483647}) {
        PutIntAt(b, 4, length);
        EXPECT_EQ(StatusOf(b), Decoded::Status::Refused) << length;
    }
    PutIntAt(b, 4, 5);
    b.pop_back(); // one byte short of the three spare bytes
    EXPECT_EQ(StatusOf(b), Decoded::Status::Refused);
    Bytes negativeWithText = EncodeText(kCodeLobbyChat, "xy");
    PutIntAt(negativeWithText, 4, -1);
    EXPECT_EQ(StatusOf(negativeWithText), Decoded::Status::Refused);
    EXPECT_EQ(StatusOf(Bytes{7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), Decoded::Status::Refused); // 11 bytes
}

TEST(NetMessages, ControlMessageIsNineteenIntegersWithTheOrderInPlace) {
    RelayedOrder r;
    r.order = TParancs{kOrderMove, 17, 9, 1, 4, -3};
    r.randPos = 9999;
    r.randStep = 15;
    r.fingerprint = -123456;
    const Bytes b = EncodeControl(MakeOrder(r));
    ASSERT_EQ(b.size(), 76u);
    const int expected[19] = {1, 5, 0, 0, 0, 0, 0, 0, 0, 9999, 15, -123456, 5, 17, 9, 1, 4, -3, 0};
    for (std::size_t i = 0; i < 19; ++i) EXPECT_EQ(IntAt(b, 4 * i), expected[i]) << "field " << i;
    const Decoded d = DecodeMessage(b);
    ASSERT_EQ(d.status, Decoded::Status::Accepted) << d.error;
    const RelayedOrder back = ReadOrder(std::get<ControlMessage>(d.message));
    EXPECT_EQ(back.order, r.order);
    EXPECT_EQ(back.randPos, 9999);
    EXPECT_EQ(back.randStep, 15);
    EXPECT_EQ(back.fingerprint, -123456);
}

TEST(NetMessages, NewGameAttackPreviewAndReadinessFields) {
    const NetGameSetup s{4, 3, 1, 3, 2, 1, 1, 1, 1};
    const Bytes b = EncodeControl(MakeNewGame(s));
    const int expected[11] = {1, 4, 4, 3, 1, 3, 2, 1, 1, 1, 1};
    for (std::size_t i = 0; i < 11; ++i) EXPECT_EQ(IntAt(b, 4 * i), expected[i]) << "field " << i;
    EXPECT_EQ(ReadNewGame(std::get<ControlMessage>(DecodeMessage(b).message)), s);

    const AttackPreview p{12, 8, 2, 5, 77, 3, 4000};
    const Bytes a = EncodeControl(MakeAttackPreview(p));
    EXPECT_EQ(IntAt(a, 4), 10);
    EXPECT_EQ(IntAt(a, 48), 0); // no order code in the record's place
    EXPECT_EQ(IntAt(a, 52), 12);
    EXPECT_EQ(IntAt(a, 64), 5);
    const AttackPreview back = ReadAttackPreview(std::get<ControlMessage>(DecodeMessage(a).message));
    EXPECT_EQ(back.targetX, 12);
    EXPECT_EQ(back.corps, 5);
    EXPECT_EQ(back.randPos, 77);

    const Bytes r = EncodeControl(MakeReadiness(kReadyEndScreenOpen));
    EXPECT_EQ(IntAt(r, 72), 33);
    EXPECT_EQ(StatusOf(r), Decoded::Status::Accepted);
}

TEST(NetMessages, ControlOfAnyOtherSizeIsRefused) {
    Bytes b = EncodeControl(MakeControl(kKindAck));
    EXPECT_EQ(StatusOf(b), Decoded::Status::Accepted);
    Bytes shorter(b.begin(), b.end() - 1);
    EXPECT_EQ(StatusOf(shorter), Decoded::Status::Refused);
    Bytes longer = b;
    longer.push_back(0);
    EXPECT_EQ(StatusOf(longer), Decoded::Status::Refused);
    EXPECT_EQ(StatusOf(Bytes{1, 0, 0}), Decoded::Status::Refused); // not even a code
}

TEST(NetMessages, UnknownCodesAndKindsInAGoodFrameAreIgnored) {
    EXPECT_EQ(StatusOf(EncodeText(5, "x")), Decoded::Status::Ignored);
    EXPECT_EQ(StatusOf(Bytes{0xff, 0xff, 0xff, 0xff}), Decoded::Status::Ignored);
    EXPECT_EQ(StatusOf(EncodeControl(MakeControl(6))), Decoded::Status::Ignored);
    EXPECT_EQ(StatusOf(EncodeControl(MakeControl(-1))), Decoded::Status::Ignored);
}

TEST(NetMessages, FieldsOutOfRangeAreRefused) {
    auto refusedNewGame = [](auto change) {
        NetGameSetup s;
        change(s);
        return StatusOf(EncodeControl(MakeNewGame(s))) == Decoded::Status::Refused;
    };
    EXPECT_FALSE(refusedNewGame([](NetGameSetup&) {}));
    EXPECT_TRUE(refusedNewGame([](NetGameSetup& s) { s.campaign = 0; }));
    EXPECT_TRUE(refusedNewGame([](NetGameSetup& s) { s.campaign = 7; }));
    EXPECT_TRUE(refusedNewGame([](NetGameSetup& s) { s.playerType1 = 3, s.playerType2 = 3; }));
    EXPECT_TRUE(refusedNewGame([](NetGameSetup& s) { s.playerType1 = 2, s.playerType2 = 3; }));
    EXPECT_TRUE(refusedNewGame([](NetGameSetup& s) { s.difficulty = 4; }));
    EXPECT_TRUE(refusedNewGame([](NetGameSetup& s) { s.russianIntervention = 3; }));
    EXPECT_TRUE(refusedNewGame([](NetGameSetup& s) { s.polishIntervention = -1; }));
    EXPECT_TRUE(refusedNewGame([](NetGameSetup& s) { s.fogOfWar = 2; }));
    EXPECT_TRUE(refusedNewGame([](NetGameSetup& s) { s.randPos = 10001; }));
    EXPECT_TRUE(refusedNewGame([](NetGameSetup& s) { s.randStep = 0; }));

    auto refusedOrder = [](auto change) {
        RelayedOrder r;
        r.order = TParancs{kOrderEndTurn, 0, 0, 1, 0, 0};
        r.randPos = 1, r.randStep = 1;
        change(r);
        return StatusOf(EncodeControl(MakeOrder(r))) == Decoded::Status::Refused;
    };
    EXPECT_FALSE(refusedOrder([](RelayedOrder&) {}));
    EXPECT_TRUE(refusedOrder([](RelayedOrder& r) { r.order.Code = 0; }));
    EXPECT_TRUE(refusedOrder([](RelayedOrder& r) { r.order.Code = 31; }));
    EXPECT_TRUE(refusedOrder([](RelayedOrder& r) { r.randPos = 0; }));
    EXPECT_TRUE(refusedOrder([](RelayedOrder& r) { r.randStep = 16; }));

    EXPECT_EQ(StatusOf(EncodeControl(MakeAttackPreview({1, 1, 3, 1, 1, 1, 0}))), Decoded::Status::Refused);
    EXPECT_EQ(StatusOf(EncodeControl(MakeReadiness(5))), Decoded::Status::Refused);
}

TEST(NetFrames, FramesComeOutWholeAndInOrderHoweverTheStreamIsCut) {
    Bytes stream;
    const Bytes a = EncodeText(kCodeLobbyChat, "szia");
    const Bytes c = EncodeControl(MakeControl(kKindAck));
    for (const Bytes* m : {&a, &c, &a}) {
        const Bytes f = Frame(*m);
        EXPECT_EQ(IntAt(f, 0), static_cast<std::int32_t>(m->size()));
        stream.insert(stream.end(), f.begin(), f.end());
    }
    for (std::size_t cut : {1u, 3u, 5u, 64u}) {
        FrameReader reader;
        std::vector<Bytes> out;
        for (std::size_t at = 0; at < stream.size(); at += cut) {
            reader.Feed(std::span(stream).subspan(at, std::min(cut, stream.size() - at)));
            while (auto f = reader.Next()) out.push_back(*f);
        }
        EXPECT_FALSE(reader.Broken());
        ASSERT_EQ(out.size(), 3u) << cut;
        EXPECT_EQ(out[0], a);
        EXPECT_EQ(out[1], c);
        EXPECT_EQ(out[2], a);
    }
}

TEST(NetFrames, ZeroNegativeAndOversizedLengthsBreakTheStream) {
    for (std::int32_t length : {0, -1, -2147483647 - 1, 4097, 2147483647}) {
        FrameReader reader;
        Bytes header(4);
        PutIntAt(header, 0, length);
        reader.Feed(header);
        EXPECT_FALSE(reader.Next().has_value());
        EXPECT_TRUE(reader.Broken()) << length;
        EXPECT_NE(reader.Error().find(std::to_string(length)), std::string::npos);
        // Nothing after a broken length is read as a frame.
        reader.Feed(Frame(EncodeControl(MakeControl(kKindAck))));
        EXPECT_FALSE(reader.Next().has_value());
    }
    FrameReader largest;
    Bytes big(4096, 0);
    largest.Feed(Frame(big));
    EXPECT_EQ(largest.Next()->size(), 4096u);
}

TEST(NetFileNames, OnlyPlainSavedGameNamesOutsideTheEmailGame) {
    for (const char* good : {"multigyorsmentes.sav", "multikorvege.sav", "m1849_3_2.sav", "Mentés 1.SAV"})
        EXPECT_EQ(CheckPeerFileName(good), "") << good;
    for (const char* bad : {"", "../beallitasok.dat", "..\\x.sav", "sub/a.sav", "a\\b.sav", "C:x.sav",
                            "x.dat", ".sav", "PBEM.sav", "pbem_turn.sav", "PBEM.paf", "a..sav", "a\n.sav"})
        EXPECT_NE(CheckPeerFileName(bad), "") << bad;
    EXPECT_NE(CheckPeerFileName(std::string(61, 'a') + ".sav"), "");
}

TEST(NetAddresses, TheLobbyListsEveryAddressButTheLoopback) {
    const std::string listing =
        " IP=127.0.0.1, Mask=255.0.0.0, Broadcast=127.255.255.255, Interface UP, Broadcasts supported, "
        "Loopback interface\r\n IP=192.168.1.20, Mask=255.255.255.0, Broadcast=192.168.1.255, Interface UP, "
        "Broadcasts supported, Network interface\r\n IP=10.0.0.7, Mask=255.0.0.0, Broadcast=10.255.255.255, "
        "Interface DOWN, Broadcasts NOT supported, Network interface\r\n";
    EXPECT_EQ(OwnAddressLines(listing), (std::vector<std::string>{"192.168.1.20", "10.0.0.7"}));
    EXPECT_TRUE(OwnAddressLines(" IP=127.0.0.1, Mask=255.0.0.0,\r\n").empty());
}

} // namespace
} // namespace vezer::net
