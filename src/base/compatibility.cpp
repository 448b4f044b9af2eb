#include "base/compatibility.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "base/text_rules.h"

namespace tcmap {

namespace {

// Index = status code.
constexpr std::array<std::string_view, 22> kStatusTexts = {
    "",
    "通用错误",
    "无效的参数",
    "内存溢出",
    "对象繁忙",
    "缓冲区不足",
    "未实现",
    "Win32错误",
    "错误状态",
    "失败",
    "未找到文件",
    "值溢出",
    "访问被拒绝",
    "未知图像格式",
    "未找到字体族",
    "未找到字体风格",
    "不是TrueType字体",
    "不支持Gdiplus版本",
    "Gdiplus未装载",
    "资源未找到",
    "资源不支持",
    "未找到配置文件",
};

constexpr std::string_view kUnknownStatusText = "未知错误";

}  // namespace

std::string_view drawStatusText(int32_t status) {
    if (status < 0 || static_cast<size_t>(status) >= kStatusTexts.size()) return kUnknownStatusText;
    return kStatusTexts[static_cast<size_t>(status)];
}

void sortByWindSelection(std::vector<int32_t> wind, std::vector<int64_t>& seq) {
    const size_t n = std::min(wind.size(), seq.size());
    for (size_t i = 0; i + 1 < n; ++i) {
        size_t m = i;
        for (size_t j = i + 1; j < n; ++j) {
            if (wind[j] < wind[m]) m = j;
        }
        if (m != i) {
            std::swap(wind[i], wind[m]);
            std::swap(seq[i], seq[m]);
        }
    }
}

// The selection sort replayed step by step: a tournament tree over the
// positions not yet placed yields the first position of the smallest wind in
// O(log n), and each swap changes two leaves. Same swaps, same order.
void sortByWind(std::vector<int32_t> wind, std::vector<int64_t>& seq) {
    const size_t n = std::min(wind.size(), seq.size());
    if (n < 2) return;
    if (n > std::numeric_limits<uint32_t>::max()) {
        // Positions would not fit beside the wind; no real table gets here.
        sortByWindSelection(std::move(wind), seq);
        return;
    }
    size_t leaves = 1;
    while (leaves < n) leaves *= 2;

    // A node holds its winner as one number: the wind (shifted to be
    // unsigned) above the position, so the smallest number is the smallest
    // wind at its first position. Placed positions and padding lose to all.
    constexpr uint64_t kPlaced = std::numeric_limits<uint64_t>::max();
    const auto leafKey = [](int32_t w, size_t p) {
        return (static_cast<uint64_t>(static_cast<uint32_t>(w) ^ 0x80000000u) << 32) |
               static_cast<uint64_t>(p);
    };
    std::vector<uint64_t> node(2 * leaves, kPlaced);
    for (size_t p = 0; p < n; ++p) node[leaves + p] = leafKey(wind[p], p);
    for (size_t v = leaves - 1; v > 0; --v) node[v] = std::min(node[2 * v], node[2 * v + 1]);
    const auto set = [&](size_t p, uint64_t key) {
        size_t v = leaves + p;
        node[v] = key;
        for (v /= 2; v > 0; v /= 2) node[v] = std::min(node[2 * v], node[2 * v + 1]);
    };

    for (size_t i = 0; i + 1 < n; ++i) {
        const auto m = static_cast<size_t>(node[1] & 0xFFFFFFFFu);
        if (m != i) {
            wind[m] = wind[i];
            std::swap(seq[i], seq[m]);
            set(m, leafKey(wind[m], m));
        }
        set(i, kPlaced);
    }
}

namespace {

// Below 10^6 a whole single-precision value is its own six-digit text.
constexpr float kWholeDigitsLimit = 1e6f;

bool isShortWhole(float value) {
    return std::fabs(value) < kWholeDigitsLimit && std::trunc(value) == value;
}

}  // namespace

std::string sixDigitText(std::string_view field) {
    return sixDigitTextOf(readNumber(field));
}

std::string sixDigitTextOf(double value) {
    return formatG(static_cast<double>(toSingle(value)));
}

int32_t sixDigitInteger(std::string_view field) {
    const float value = toSingle(readNumber(field));
    if (isShortWhole(value)) return static_cast<int32_t>(value);
    return readInteger(formatG(static_cast<double>(value)));
}

int32_t sixDigitInteger(int32_t value) {
    if (value > -1000000 && value < 1000000) return value;
    return readInteger(sixDigitTextOf(value));
}

std::string tenthsText(std::string_view field, char letter) {
    const float read = toSingle(readNumber(field));
    const bool negate = field.find(letter) != std::string_view::npos;
    if (isShortWhole(read)) {
        // A whole number of tenths: dividing in single precision stays far below
        // the sixth significant digit, so the text is exactly those tenths.
        const int64_t tenths = static_cast<int64_t>(std::fabs(read));
        std::string text = std::signbit(read) != negate ? "-" : "";
        text += std::to_string(tenths / 10);
        text += '.';
        text += static_cast<char>('0' + tenths % 10);
        return text;
    }
    float value = toSingle(static_cast<double>(read) / 10.0);
    if (negate) value = -value;
    std::string text = formatG(static_cast<double>(value));
    if (text.find('.') == std::string::npos) text += ".0";
    return text;
}

double tenthsValue(std::string_view field, char letter) {
    const float read = toSingle(readNumber(field));
    if (isShortWhole(read)) {
        // The text "t/10.t%10" reads as the double nearest t / 10, which is
        // what dividing in double gives.
        const bool negate = field.find(letter) != std::string_view::npos;
        const double degrees = std::fabs(static_cast<double>(read)) / 10.0;
        return std::signbit(read) != negate ? -degrees : degrees;
    }
    return readNumber(tenthsText(field, letter));
}

std::string degreesText(double value) {
    std::string text = sixDigitTextOf(value);
    if (text.find('.') == std::string::npos) text += ".0";
    return text;
}

std::string withoutHourPrefix(std::string_view hour) {
    std::string text;
    text.reserve(hour.size());
    size_t start = 0;
    for (size_t at = hour.find("P+"); at != std::string_view::npos; at = hour.find("P+", start)) {
        text.append(hour.substr(start, at - start));
        start = at + 2;
    }
    text.append(hour.substr(start));
    return text;
}

}  // namespace tcmap
