#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pontrel {

// A newly inserted command: a random wait of 0 milliseconds. Also the replacement for a record
// whose code is out of range.
inline constexpr std::string_view defaultRecord = "code:|001|wait:|0|";

// Record 0 of a new macro.
inline constexpr std::string_view defaultBasicSettingsRecord =
    "code:|000|wait:|500|loop:|1|start:|no|stop:|ESC|";

// The highest command code; a record with a greater code is replaced by defaultRecord.
inline constexpr int maxCommandCode = 10;

// The bounds of the base wait that playback adds after every command, in milliseconds.
inline constexpr double shortestBaseWait = 10;
inline constexpr double longestBaseWait = 60000;

// The fields a record carries. Only the fields present in the record are set; the reader leaves
// the others of its slot as they were.
struct RecordFields {
    std::optional<std::string> codeText;
    std::optional<std::string> value1;
    std::optional<std::string> value2;
    std::optional<std::string> value3;
    std::optional<std::string> value4;

    // value(1) to value(4); anything else gives nothing.
    [[nodiscard]] const std::optional<std::string>& value(int number) const;
};

// Splits a record by position alone: counting the "|" seen before each "|" as n, the field text
// starts behind the "|" of n = 0, 2, 4, 6, 8; the "|" of n = 1 closes the code text and those of
// n = 3, 5, 7, 9 close the values 1 to 4; further "|" are ignored. Key names are not looked at.
RecordFields splitRecord(std::string_view record);

// The line of the command list: the index with at least three digits, " - ", then the record with
// every "|" replaced by a blank ("002 - code: 002 xpos: 100 ypos: 200 ").
std::string listLine(int index, std::string_view record);

}  // namespace pontrel
