#include "core/binary_io.h"
#include "core/errors.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/textfile.h"
#include "support/test_game.h"

#include <fstream>
#include <gtest/gtest.h>

namespace vezer {
namespace {

using testing::TempDir;

TEST(Cp1250, HungarianLettersSurviveARoundTrip) {
    const std::string text = "Hibás file! Ôszi hadjárat: ő és ű, Ő Ű, árvíztűrő tükörfúrógép";
    std::string encoded = Utf8ToCp1250(text);
    EXPECT_EQ(CharCount(text), encoded.size());  // one byte per character
    EXPECT_EQ(static_cast<unsigned char>(encoded[encoded.find("Hib") + 3]), 0xE1);  // á
    EXPECT_NE(encoded.find('\xF5'), std::string::npos);  // ő
    EXPECT_NE(encoded.find('\xFB'), std::string::npos);  // ű
    EXPECT_EQ(Cp1250ToUtf8(encoded), text);
    EXPECT_TRUE(FitsCp1250(text));
    EXPECT_TRUE(FitsCp1250("why?"));
}

TEST(Cp1250, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1250("a\xE2\x98\x83z"), "a?z");  // a snowman
    EXPECT_FALSE(FitsCp1250("\xE2\x98\x83"));
    EXPECT_EQ(Utf8ToCp1250("a\xFFz"), "a?z");           // not UTF-8 at all
    EXPECT_EQ(Cp1250ToUtf8("a\x81z"), "a?z");           // a byte Windows-1250 leaves undefined
}

TEST(ShortText, CutsAtCharactersNotBytes) {
    ShortText<5> t("őűőűőű");
    EXPECT_EQ(t.view(), "őűőűő");
    EXPECT_EQ(CharCount(t.view()), 5u);
    ShortText<3> s("ab");
    EXPECT_EQ(s.view(), "ab");
    s = "abcdef";
    EXPECT_EQ(s.view(), "abc");
    EXPECT_EQ(CutToChars("Győr", 3), "Győ");
}

TEST(TextFile, ReadsCrLfAndLfAndWritesCrLf) {
    TempDir dir;
    std::filesystem::path file = dir.path() / "lines.txt";
    WriteTextLines(file, {"első", "", "második ű"});
    Bytes raw = ReadFileBytes(file, "lines.txt");
    std::string rawText(raw.begin(), raw.end());
    EXPECT_EQ(rawText, "els\xF5\r\n\r\nm\xE1sodik \xFB\r\n");
    EXPECT_EQ(ReadTextLines(file, "lines.txt"), (std::vector<std::string>{"első", "", "második ű"}));
    EXPECT_EQ(SplitLines("a\nb\r\nc"), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(GameDir, ResolvesMixedSpellingsToTheSameFile) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "Data");
    std::ofstream(dir.path() / "Data" / "core.dat") << "x";
    std::ofstream(dir.path() / "Data" / "kampany11.dat") << "y";
    GameDir game(dir.path());
    EXPECT_EQ(game.Resolve("Data\\core.dat"), dir.path() / "Data" / "core.dat");
    EXPECT_EQ(game.Resolve("Data\\Core.dat"), dir.path() / "Data" / "core.dat");
    EXPECT_EQ(game.Resolve("data\\kampany11.dat"), dir.path() / "Data" / "kampany11.dat");
    EXPECT_EQ(game.Resolve("DATA/KAMPANY11.DAT"), dir.path() / "Data" / "kampany11.dat");
    EXPECT_TRUE(game.Exists("data\\CORE.dat"));
    // A file about to be created keeps its own spelling inside the folder found on disk.
    EXPECT_EQ(game.Resolve("data\\New.sav"), dir.path() / "Data" / "New.sav");
    EXPECT_FALSE(game.Exists("save\\PBEM.sav"));
}

TEST(IsPlainFileName, RefusesPathsFromOutside) {
    EXPECT_TRUE(IsPlainFileName("tavasz1.sav"));
    for (const char* bad : {"", "..", "../x", "a/b", "a\\b", "..\\..\\etc"}) EXPECT_FALSE(IsPlainFileName(bad)) << bad;
}

TEST(BinaryReader, ReadsLittleEndianAndRefusesToReadPastTheEnd) {
    BinaryWriter w;
    w.WriteInt(-2);
    w.WriteInt(0x01020304);
    w.WriteByte(200);
    EXPECT_EQ(w.bytes()[4], 0x04);
    BinaryReader r(w.bytes(), "Data\\x.dat");
    EXPECT_EQ(r.ReadInt(), -2);
    EXPECT_EQ(r.ReadInt(), 0x01020304);
    EXPECT_EQ(r.ReadByte(), 200);
    EXPECT_TRUE(r.AtEnd());
    try {
        r.ReadByte();
        ADD_FAILURE();
    } catch (const DataError& e) {
        EXPECT_EQ(e.file(), "Data\\x.dat");
    }
    Bytes three = {1, 2, 3};
    BinaryReader shortInt(three, "s");
    EXPECT_THROW(shortInt.ReadInt(), DataError);
}

TEST(WriteFileAtomic, AFailedWriteLeavesThePreviousFile) {
    TempDir dir;
    std::filesystem::path file = dir.path() / "game.sav";
    WriteFileAtomic(file, std::string("old contents"));
    std::string fresh(1000, 'n');
    for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{999}}) {
        WriteFault fault{cut};
        EXPECT_THROW(WriteFileAtomic(file, fresh, &fault), FileIoError);
        Bytes now = ReadFileBytes(file, "game.sav");
        EXPECT_EQ(std::string(now.begin(), now.end()), "old contents");
    }
    // No temporary files are left behind.
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1);
    WriteFileAtomic(file, fresh);
    EXPECT_EQ(ReadFileBytes(file, "game.sav").size(), 1000u);
}

TEST(WriteFileAtomic, AMissingFolderIsReportedNotIgnored) {
    TempDir dir;
    EXPECT_THROW(WriteFileAtomic(dir.path() / "no" / "such" / "x.sav", std::string("x")), FileIoError);
}

} // namespace
} // namespace vezer
