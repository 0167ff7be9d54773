#include "model/Numbers.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace pontrel {

namespace {

// Walks a text and skips blanks, tabs and line feeds wherever they stand.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) { skipBlanks(); }

    [[nodiscard]] bool atEnd() const { return pos_ >= text_.size(); }
    [[nodiscard]] char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void advance() {
        ++pos_;
        skipBlanks();
    }
    [[nodiscard]] std::size_t position() const { return pos_; }
    void reset(std::size_t pos) { pos_ = pos; }

private:
    void skipBlanks() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n')) {
            ++pos_;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// "&H..." or "&O...": the cursor stands behind the "&". Digits build an unsigned 32-bit value
// that saturates at 0xFFFFFFFF instead of wrapping.
double readRadixNumber(Cursor& cur) {
    const char prefix = cur.peek();
    unsigned radix = 0;
    if (prefix == 'H' || prefix == 'h') {
        radix = 16;
    } else if (prefix == 'O' || prefix == 'o') {
        radix = 8;
    } else {
        return 0.0;
    }
    cur.advance();
    constexpr std::uint64_t limit = 0xFFFFFFFFu;
    std::uint64_t value = 0;
    for (;;) {
        const int digit = hexValue(cur.peek());
        if (digit < 0 || static_cast<unsigned>(digit) >= radix) {
            break;
        }
        value = value * radix + static_cast<unsigned>(digit);
        if (value > limit) {
            value = limit;
        }
        cur.advance();
    }
    return static_cast<double>(value);
}

// Significant digits kept for the conversion; more never change a correctly rounded double
// except through the sticky digit appended for the dropped ones.
constexpr std::size_t keptDigits = 800;
// A written exponent is read up to this; with any text length the sums stay far from overflow.
constexpr std::int64_t exponentCap = 1'000'000'000'000'000;

}  // namespace

double leadingNumber(std::string_view text) {
    Cursor cur(text);
    if (cur.peek() == '&') {
        cur.advance();
        return readRadixNumber(cur);
    }

    bool negative = false;
    if (cur.peek() == '+' || cur.peek() == '-') {
        negative = cur.peek() == '-';
        cur.advance();
    }

    // Mantissa: the significant digits without leading zeros, as a whole number times 10^exponent.
    std::string digits;
    bool droppedNonZero = false;
    bool sawDigit = false;
    bool sawPoint = false;
    std::int64_t exponent = 0;  // value = digits * 10^exponent
    for (;;) {
        const char c = cur.peek();
        if (isDigit(c)) {
            sawDigit = true;
            if (digits.empty() && c == '0') {
                if (sawPoint) {
                    --exponent;
                }
            } else if (digits.size() < keptDigits) {
                digits.push_back(c);
                if (sawPoint) {
                    --exponent;
                }
            } else {
                droppedNonZero = droppedNonZero || c != '0';
                if (!sawPoint) {
                    ++exponent;
                }
            }
            cur.advance();
        } else if (c == '.' && !sawPoint) {
            sawPoint = true;
            cur.advance();
        } else {
            break;
        }
    }
    if (!sawDigit) {
        return 0.0;
    }

    // Exponent: E or D (the classic letter for double precision), optional sign, digits. Without
    // digits the letter is not part of the number.
    const char e = cur.peek();
    if (e == 'E' || e == 'e' || e == 'D' || e == 'd') {
        const std::size_t before = cur.position();
        cur.advance();
        bool expNegative = false;
        if (cur.peek() == '+' || cur.peek() == '-') {
            expNegative = cur.peek() == '-';
            cur.advance();
        }
        if (isDigit(cur.peek())) {
            std::int64_t written = 0;
            while (isDigit(cur.peek())) {
                written = std::min<std::int64_t>(written * 10 + (cur.peek() - '0'), exponentCap);
                cur.advance();
            }
            exponent += expNegative ? -written : written;
        } else {
            cur.reset(before);
        }
    }

    if (digits.empty()) {
        return 0.0;
    }
    if (droppedNonZero) {
        digits.push_back('1');
        --exponent;
    }

    const double maxValue = negative ? -DBL_MAX : DBL_MAX;
    // Power of ten of the first digit.
    const std::int64_t magnitude = exponent + static_cast<std::int64_t>(digits.size()) - 1;
    if (magnitude > 400) {
        return maxValue;
    }
    if (magnitude < -400) {
        return 0.0;
    }

    std::string literal = digits;
    literal += 'e';
    literal += std::to_string(exponent);
    double value = 0.0;
    const auto result = std::from_chars(literal.data(), literal.data() + literal.size(), value,
                                        std::chars_format::scientific);
    if (result.ec == std::errc::result_out_of_range) {
        return magnitude > 0 ? maxValue : 0.0;
    }
    if (result.ec != std::errc() || !std::isfinite(value)) {
        return std::isinf(value) ? maxValue : 0.0;
    }
    if (value == 0.0) {
        return 0.0;
    }
    return negative ? -value : value;
}

std::string numberText(double value) {
    if (std::isnan(value) || value == 0.0) {
        return "0";
    }
    if (std::isinf(value)) {
        value = value > 0 ? DBL_MAX : -DBL_MAX;
    }
    // The longest fixed form is a subnormal: "-0." plus 323 zeros plus 17 digits.
    std::array<char, 512> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    if (result.ec != std::errc()) {
        return "0";
    }
    return std::string(buffer.data(), result.ptr);
}

std::string numberRuleText(std::string_view text) {
    return numberText(leadingNumber(text));
}

std::string counterText(double value, std::string_view decimalSeparator) {
    if (std::isnan(value) || value == 0.0) {
        return "0";
    }
    if (std::isinf(value)) {
        value = value > 0 ? DBL_MAX : -DBL_MAX;
    }
    // 15 significant digits: "d.ddddddddddddddde+XXX".
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, 14);
    if (result.ec != std::errc()) {
        return "0";
    }
    const std::string_view sci(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    const bool negative = sci.front() == '-';
    const std::size_t ePos = sci.find('e');
    std::string digits;
    for (const char c : sci.substr(0, ePos)) {
        if (isDigit(c)) {
            digits.push_back(c);
        }
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    int exponent = 0;
    const std::string_view expText = sci.substr(ePos + 1);
    const char* expBegin = expText.data() + (expText.front() == '+' ? 1 : 0);
    std::from_chars(expBegin, expText.data() + expText.size(), exponent);

    std::string text;
    if (negative) {
        text.push_back('-');
    }
    if (exponent >= 0) {
        const auto intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            text += digits;
            text.append(intDigits - digits.size(), '0');
        } else {
            text += digits.substr(0, intDigits);
            text += decimalSeparator;
            text += digits.substr(intDigits);
        }
    } else {
        text.push_back('0');
        text += decimalSeparator;
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += digits;
    }
    return text;
}

double roundHalfEven(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    const double lower = std::floor(value);
    const double fraction = value - lower;  // exact for every finite double
    if (fraction < 0.5) {
        return lower;
    }
    if (fraction > 0.5) {
        return lower + 1.0;
    }
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

namespace {

template <typename Int>
Int saturate(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = roundHalfEven(value);
    // The bounds as doubles: the lower one is exact (a power of two); max + 1 is too.
    constexpr double low = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double highPlusOne = -low;
    if (rounded < low) {
        return std::numeric_limits<Int>::min();
    }
    if (rounded >= highPlusOne) {
        return std::numeric_limits<Int>::max();
    }
    return static_cast<Int>(rounded);
}

}  // namespace

std::int64_t toInt64(double value) {
    return saturate<std::int64_t>(value);
}

int toInt(double value) {
    return saturate<int>(value);
}

std::int16_t toInt16(double value) {
    return saturate<std::int16_t>(value);
}

}  // namespace pontrel
