#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pontrel {

// Limits of reading: a longer line is a read error, a larger file is read only this far.
inline constexpr std::size_t maxLineBytes = 1024 * 1024;
inline constexpr std::size_t maxFileBytes = 64 * 1024 * 1024;
// The record list has the slots 0 to lastSlot.
inline constexpr int lastSlot = 32001;
// The most a free-text field of a record may hold: 256 Ki characters, and never so many bytes
// that its record line (key and code around it) could pass maxLineBytes.
inline constexpr std::size_t maxFieldCharacters = 256 * 1024;
inline constexpr std::size_t maxFieldBytes = maxLineBytes - 64;

// The header line: magic, blank, start digit, window digit, two unread digits, version, credit.
inline constexpr std::string_view macroFileMagic = ".qmc";
inline constexpr std::string_view macroFileHeaderStart = ".qmc 0000 Pontrel Version 1.2.2";
inline constexpr std::string_view macroFileCredit = " - Pontrel, ein Makroprogramm";
inline constexpr std::string_view lineEnd = "\r\n";
// The macro file in the current directory that is used until another one is chosen.
inline constexpr std::string_view defaultMacroPath = "pontrel.qmc";

// macroFileHeaderStart followed by macroFileCredit.
std::string macroFileHeader();

// The checksum K of the records of slots 0 to N (N = records.size() - 1): for each record with L
// characters S += (L mod N) + L*L + (L OR 75) - (L mod 4); K = S / N rounded half to even, and 0
// when N is 0.
std::int64_t macroChecksum(const std::vector<std::string>& records);

// "key:|K|".
std::string keyLine(std::int64_t checksum);

// The bytes of a macro file: header, one line per record (UTF-8 text in memory), key line, each
// ended by CR LF. Windows-1252 when every character fits and the bytes cannot be taken for UTF-8,
// otherwise UTF-8 without a byte-order mark; bytes that are not UTF-8 are written as U+FFFD. A
// record is written as it stands: one holding a line break reads back as several lines.
std::string encodeMacroFile(const std::vector<std::string>& records);

// Whether a reader takes these bytes whole: at most maxFileBytes, no line above maxLineBytes.
bool withinReadLimits(std::string_view bytes);

enum class TextEncoding { Windows1252, Utf8 };

enum class ReadStop {
    None,
    LineTooLong,   // a line of more than maxLineBytes: it and everything after it are not read
    FileTooLarge,  // input beyond maxFileBytes is not read; a line cut there is dropped
};

// The lines of a macro file as UTF-8 text.
struct MacroFileText {
    std::optional<std::string> header;  // the first line; nothing for an empty file
    std::vector<std::string> lines;     // the lines after the header
    TextEncoding encoding = TextEncoding::Windows1252;
    ReadStop stop = ReadStop::None;

    [[nodiscard]] bool stoppedEarly() const { return stop != ReadStop::None; }
};

// Reads the bytes of a macro file (a caller reads at most maxFileBytes + 1 bytes so that a larger
// file is noticed). Encoding: well-formed UTF-8 holding at least one character beyond ASCII is
// UTF-8, anything else Windows-1252; only the lines read are looked at. A line ends at CR LF, a
// lone CR or a lone LF; a last line without an ending counts when it is not empty.
MacroFileText decodeMacroFile(std::string_view bytes);

// A header is accepted only when its first four characters are exactly ".qmc".
bool isMacroHeader(std::string_view line);

// The digit at a character position of the header (counted from 1); a character that is not a
// digit, or a position beyond the line, gives 0.
int headerDigit(std::string_view header, int position);

// A line counts as a record only when its first four characters are exactly "code".
bool isRecordLine(std::string_view line);

// Whether a command line names a macro file: more than five characters, and the four characters
// before the last one are ".qmc" (the last one being the closing quote of a quoted path).
bool namesMacroFile(std::string_view commandLine);

// The path a command line names: the text with every double quote removed.
std::string commandLinePath(std::string_view commandLine);

// Which of the lines after the header a load stores: line i goes into slot i.
struct SlotAssignment {
    std::size_t storedLines = 0;  // lines 0 to storedLines - 1 are stored, in slots of that number
    // The number of commands: the record lines before the terminating line, less record 0. -1 when
    // there is no record line at all (what to do then is the loader's choice).
    int commandCount = -1;
    bool terminated = false;  // a line that is not a record ended the records
};

// Stores the lines one by one, at most into slot lastSlot. The first line that is not a record is
// still stored, and the line after it when there is one and its slot exists; then it stops.
// Lines after the terminating line are not part of the macro and are never counted.
SlotAssignment assignSlots(std::span<const std::string> lines);

}  // namespace pontrel
