#include "model/MacroFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "model/RecordFields.h"

namespace pontrel {
namespace {

std::vector<std::string> defaultMacro() {
    return {std::string(defaultBasicSettingsRecord), std::string(defaultRecord),
            std::string(defaultRecord), std::string(defaultRecord)};
}

TEST(MacroFileWrite, DefaultMacroBytesExactly) {
    const std::string expected =
        ".qmc 0000 Pontrel Version 1.2.2 - Pontrel, ein Makroprogramm\r\n"
        "code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|\r\n"
        "code:|001|wait:|0|\r\n"
        "code:|001|wait:|0|\r\n"
        "code:|001|wait:|0|\r\n"
        "key:|1222|\r\n";
    EXPECT_EQ(encodeMacroFile(defaultMacro()), expected);
    EXPECT_EQ(macroChecksum(defaultMacro()), 1222);
}

TEST(MacroFileWrite, HeaderNamesOnlyThisProgram) {
    const std::string header = macroFileHeader();
    EXPECT_EQ(header.substr(0, macroFileHeaderStart.size()), macroFileHeaderStart);
    EXPECT_TRUE(isMacroHeader(header));
    for (int position : {6, 7, 8, 9}) {
        EXPECT_EQ(headerDigit(header, position), 0);
    }
}

TEST(MacroFileWrite, RecordZeroOnlyGivesKeyZero) {
    const std::string bytes = encodeMacroFile({std::string(defaultBasicSettingsRecord)});
    EXPECT_EQ(bytes.substr(bytes.size() - 11), "\r\nkey:|0|\r\n");
    EXPECT_EQ(macroChecksum({}), 0);
    EXPECT_EQ(encodeMacroFile({}), macroFileHeader() + "\r\nkey:|0|\r\n");
}

TEST(MacroFileWrite, ChecksumCountsCharactersAndRoundsHalfToEven) {
    // N = 1: each record adds 0 + L*L + (L | 75) - L mod 4.
    EXPECT_EQ(macroChecksum({"", ""}), 150);  // 2 * 75
    EXPECT_EQ(macroChecksum({"ä", "a"}), macroChecksum({"a", "a"}));
    EXPECT_EQ(macroChecksum({"a", "a"}), 2 * (1 + 75 - 1));
    // N = 2, three empty records: S = 225, 112.5 rounds to 112.
    EXPECT_EQ(macroChecksum({"", "", ""}), 112);
    // N = 2: L = 1, 1, 2 gives 75 + 75 + (0 + 4 + 75 - 2) = 227, 113.5 rounds to 114.
    EXPECT_EQ(macroChecksum({"a", "b", "cd"}), 114);
}

TEST(MacroFileWrite, Windows1252WhenEverythingFits) {
    const std::vector<std::string> records = {std::string(defaultBasicSettingsRecord),
                                              "code:|004|text:|Grüße, 5 €|"};
    const std::string bytes = encodeMacroFile(records);
    EXPECT_NE(bytes.find("code:|004|text:|Gr\xFC\xDF"
                         "e, 5 \x80|\r\n"),
              std::string::npos);
    const MacroFileText text = decodeMacroFile(bytes);
    EXPECT_EQ(text.encoding, TextEncoding::Windows1252);
    ASSERT_EQ(text.lines.size(), 3u);
    EXPECT_EQ(text.lines[1], records[1]);
}

TEST(MacroFileWrite, Utf8WhenACharacterDoesNotFit) {
    const std::vector<std::string> records = {std::string(defaultBasicSettingsRecord),
                                              "code:|004|text:|中文 und Grüße|"};
    const std::string bytes = encodeMacroFile(records);
    EXPECT_NE(bytes.find(records[1] + "\r\n"), std::string::npos);
    EXPECT_NE(bytes.substr(0, 3), "\xEF\xBB\xBF");
    const MacroFileText text = decodeMacroFile(bytes);
    EXPECT_EQ(text.encoding, TextEncoding::Utf8);
    ASSERT_TRUE(text.header.has_value());
    EXPECT_EQ(*text.header, macroFileHeader());
    ASSERT_EQ(text.lines.size(), 3u);
    EXPECT_EQ(text.lines[0], records[0]);
    EXPECT_EQ(text.lines[1], records[1]);
    EXPECT_EQ(text.lines[2], keyLine(macroChecksum(records)));
}

TEST(MacroFileWrite, Windows1252BytesThatLookLikeUtf8AreWrittenAsUtf8) {
    // "Ã¤" in Windows-1252 is C3 A4, which is UTF-8 for "ä": it must not come back as "ä".
    const std::vector<std::string> records = {"code:|004|text:|Ã¤|"};
    const MacroFileText text = decodeMacroFile(encodeMacroFile(records));
    ASSERT_EQ(text.lines.size(), 2u);
    EXPECT_EQ(text.lines[0], records[0]);
}

TEST(MacroFileWrite, BytesThatAreNotUtf8BecomeReplacementCharacters) {
    const MacroFileText text = decodeMacroFile(encodeMacroFile({"code:|004|text:|\xFF|"}));
    EXPECT_EQ(text.encoding, TextEncoding::Utf8);
    ASSERT_EQ(text.lines.size(), 2u);
    EXPECT_EQ(text.lines[0], "code:|004|text:|\uFFFD|");
}

TEST(MacroFileRead, EncodingDetection) {
    EXPECT_EQ(decodeMacroFile(".qmc\r\ncode:|004|text:|abc|\r\n").encoding,
              TextEncoding::Windows1252);
    const MacroFileText utf8 = decodeMacroFile(".qmc\r\ncode:|004|text:|\xC3\xA4|\r\n");
    EXPECT_EQ(utf8.encoding, TextEncoding::Utf8);
    EXPECT_EQ(utf8.lines.at(0), "code:|004|text:|ä|");
    // One byte that is not UTF-8 makes the whole file Windows-1252.
    const MacroFileText mixed = decodeMacroFile(".qmc\r\n\xC3\xA4\r\n\xE4\r\n");
    EXPECT_EQ(mixed.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(mixed.lines.at(0), "Ã¤");
    EXPECT_EQ(mixed.lines.at(1), "ä");
}

TEST(MacroFileRead, LineEndingsCrLfAndMixes) {
    const MacroFileText text = decodeMacroFile(".qmc 1\rcode:|a|\ncode:|b|\r\ncode:|c|\n\rlast");
    ASSERT_TRUE(text.header.has_value());
    EXPECT_EQ(*text.header, ".qmc 1");
    const std::vector<std::string> expected = {"code:|a|", "code:|b|", "code:|c|", "", "last"};
    EXPECT_EQ(text.lines, expected);
    EXPECT_FALSE(text.stoppedEarly());

    EXPECT_EQ(decodeMacroFile("a\r\n").lines.size(), 0u);
    EXPECT_EQ(decodeMacroFile("a\r\n\r\n").lines, std::vector<std::string>{""});
    EXPECT_EQ(decodeMacroFile("a\r\r").lines, std::vector<std::string>{""});
    EXPECT_EQ(decodeMacroFile("a\n\n").lines, std::vector<std::string>{""});
    EXPECT_EQ(decodeMacroFile("a\r\n\n").lines, std::vector<std::string>{""});
}

TEST(MacroFileRead, EmptyFileHasNoHeader) {
    const MacroFileText text = decodeMacroFile("");
    EXPECT_FALSE(text.header.has_value());
    EXPECT_TRUE(text.lines.empty());
    EXPECT_FALSE(text.stoppedEarly());
    EXPECT_EQ(decodeMacroFile("\r\n").header, std::optional<std::string>(""));
}

TEST(MacroFileRead, HeaderCheckAndDigits) {
    EXPECT_TRUE(isMacroHeader(".qmc"));
    EXPECT_TRUE(isMacroHeader(".qmc 2100"));
    EXPECT_TRUE(isMacroHeader(".qmcx"));
    EXPECT_FALSE(isMacroHeader(".QMC 0000"));
    EXPECT_FALSE(isMacroHeader("qmc 0000"));
    EXPECT_FALSE(isMacroHeader(" .qmc"));
    EXPECT_FALSE(isMacroHeader(".qm"));
    EXPECT_FALSE(isMacroHeader(""));

    const std::string header = ".qmc 2703 Pontrel";
    EXPECT_EQ(headerDigit(header, 6), 2);
    EXPECT_EQ(headerDigit(header, 7), 7);
    EXPECT_EQ(headerDigit(header, 8), 0);
    EXPECT_EQ(headerDigit(header, 9), 3);
    EXPECT_EQ(headerDigit(header, 1), 0);  // "."
    EXPECT_EQ(headerDigit(header, 0), 0);
    EXPECT_EQ(headerDigit(header, -3), 0);
    EXPECT_EQ(headerDigit(".qmc 1", 7), 0);
    EXPECT_EQ(headerDigit(".qmc x9", 6), 0);
    // Positions count characters, not bytes.
    EXPECT_EQ(headerDigit("äöü45", 4), 4);
}

TEST(MacroFileRead, LongLineIsAReadErrorThere) {
    const std::string longest(maxLineBytes, 'x');
    const MacroFileText fits = decodeMacroFile(".qmc\r\n" + longest + "\r\ncode\r\n");
    EXPECT_FALSE(fits.stoppedEarly());
    ASSERT_EQ(fits.lines.size(), 2u);
    EXPECT_EQ(fits.lines[0].size(), maxLineBytes);

    const MacroFileText tooLong =
        decodeMacroFile(".qmc\r\ncode:|1|\r\n" + longest + "y\r\ncode:|2|\r\n");
    EXPECT_EQ(tooLong.stop, ReadStop::LineTooLong);
    EXPECT_EQ(tooLong.lines, std::vector<std::string>{"code:|1|"});

    // The same at the end of the file without a line ending.
    const MacroFileText lastTooLong = decodeMacroFile(".qmc\r\ncode:|1|\r\n" + longest + "y");
    EXPECT_EQ(lastTooLong.stop, ReadStop::LineTooLong);
    EXPECT_EQ(lastTooLong.lines.size(), 1u);

    // Decoding to UTF-8 may make a line longer; the limit counts the file's bytes.
    const MacroFileText wide = decodeMacroFile(".qmc\r\n" + std::string(maxLineBytes, '\xE4'));
    EXPECT_FALSE(wide.stoppedEarly());
    EXPECT_EQ(wide.lines.at(0).size(), 2 * maxLineBytes);

    // Lines that are not read do not choose the encoding.
    const MacroFileText utf8 =
        decodeMacroFile(".qmc\r\n\xC3\xA4\r\n" + longest + "\xE4\xE4\r\n\xE4\r\n");
    EXPECT_EQ(utf8.encoding, TextEncoding::Utf8);
    EXPECT_EQ(utf8.lines, std::vector<std::string>{"ä"});
}

TEST(MacroFileRead, InputBeyondTheFileLimitIsNotRead) {
    const std::string line(1000000, 'c');
    std::string bytes = ".qmc\r\n";
    while (bytes.size() <= maxFileBytes) {
        bytes += line;
        bytes += "\r\n";
    }
    const MacroFileText text = decodeMacroFile(bytes);
    EXPECT_EQ(text.stop, ReadStop::FileTooLarge);
    // Only whole lines inside the limit; the line cut at the limit is dropped.
    EXPECT_EQ(text.lines.size(), (maxFileBytes - 6) / (line.size() + 2));
    EXPECT_EQ(text.lines.back(), line);

    const MacroFileText exact = decodeMacroFile(std::string_view(bytes).substr(0, maxFileBytes));
    EXPECT_FALSE(exact.stoppedEarly());
}

TEST(MacroFileWrite, OnlyWhatTheReaderTakesWholeIsWithinTheLimits) {
    const std::string longest(maxLineBytes, 'x');
    EXPECT_TRUE(withinReadLimits(""));
    EXPECT_TRUE(withinReadLimits(longest));
    EXPECT_TRUE(withinReadLimits("a\r\n" + longest + "\r\n" + longest));
    EXPECT_FALSE(withinReadLimits(longest + "y"));
    EXPECT_FALSE(withinReadLimits("a\r\n" + longest + "y\r\nb\r\n"));
    EXPECT_FALSE(withinReadLimits("a\n" + longest + "y"));

    std::string large(maxFileBytes, '\n');
    EXPECT_TRUE(withinReadLimits(large));
    large += '\n';
    EXPECT_FALSE(withinReadLimits(large));
}

TEST(SlotAssignment, AllRecordsWithKeyLine) {
    const MacroFileText text = decodeMacroFile(encodeMacroFile(defaultMacro()));
    const SlotAssignment slots = assignSlots(text.lines);
    EXPECT_EQ(slots.storedLines, 5u);  // four records and the key line
    EXPECT_EQ(slots.commandCount, 3);
    EXPECT_TRUE(slots.terminated);
}

TEST(SlotAssignment, FileWithoutKeyLineLoadsAllRecords) {
    const std::vector<std::string> lines = {"code:|000|", "code:|001|", "code:|001|"};
    const SlotAssignment slots = assignSlots(lines);
    EXPECT_EQ(slots.storedLines, 3u);
    EXPECT_EQ(slots.commandCount, 2);
    EXPECT_FALSE(slots.terminated);
}

TEST(SlotAssignment, CapitalCodeOrEmptyLineEndsTheRecords) {
    const std::vector<std::string> capital = {"code:|000|", "code:|001|", "Code:|001|",
                                              "code:|002|", "code:|003|"};
    SlotAssignment slots = assignSlots(capital);
    EXPECT_TRUE(slots.terminated);
    // The terminating line and the one after it are stored; neither is counted.
    EXPECT_EQ(slots.storedLines, 4u);
    EXPECT_EQ(slots.commandCount, 1);

    const std::vector<std::string> empty = {"code:|000|", "", "code:|001|"};
    slots = assignSlots(empty);
    EXPECT_EQ(slots.storedLines, 3u);
    EXPECT_EQ(slots.commandCount, 0);

    const std::vector<std::string> short3 = {"code:|000|", "cod"};
    slots = assignSlots(short3);
    EXPECT_EQ(slots.storedLines, 2u);
    EXPECT_EQ(slots.commandCount, 0);
}

TEST(SlotAssignment, NoRecordLineGivesMinusOne) {
    EXPECT_EQ(assignSlots(std::vector<std::string>{}).commandCount, -1);
    EXPECT_EQ(assignSlots(std::vector<std::string>{}).storedLines, 0u);
    const SlotAssignment key = assignSlots(std::vector<std::string>{"key:|0|"});
    EXPECT_EQ(key.storedLines, 1u);
    EXPECT_EQ(key.commandCount, -1);
}

TEST(SlotAssignment, AtMostUpToTheLastSlot) {
    std::vector<std::string> lines(32010, std::string(defaultRecord));
    SlotAssignment slots = assignSlots(lines);
    EXPECT_EQ(slots.storedLines, 32002u);
    EXPECT_EQ(slots.commandCount, 32001);
    EXPECT_FALSE(slots.terminated);

    // A terminating line in the last slot: there is no slot for the line after it.
    lines[32001] = "key:|0|";
    slots = assignSlots(lines);
    EXPECT_EQ(slots.storedLines, 32002u);
    EXPECT_EQ(slots.commandCount, 32000);
    EXPECT_TRUE(slots.terminated);

    // A terminating line in the slot before: the line after it takes the last slot.
    lines[32001] = std::string(defaultRecord);
    lines[32000] = "key:|0|";
    slots = assignSlots(lines);
    EXPECT_EQ(slots.storedLines, 32002u);
    EXPECT_EQ(slots.commandCount, 31999);
}

TEST(MacroFile, WriteThenReadGivesTheRecordsBack) {
    std::vector<std::string> records = defaultMacro();
    records.push_back("code:|004|text:|a, \"b\" {ENTER}\xE2\x82\xAC|");
    records.push_back("code:|006|pfad:|/home/nutzer/Pontrel|");
    const MacroFileText text = decodeMacroFile(encodeMacroFile(records));
    ASSERT_TRUE(text.header && isMacroHeader(*text.header));
    const SlotAssignment slots = assignSlots(text.lines);
    EXPECT_EQ(slots.commandCount, static_cast<int>(records.size()) - 1);
    ASSERT_EQ(slots.storedLines, records.size() + 1);
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(text.lines[i], records[i]);
    }
}

}  // namespace
}  // namespace pontrel
