#include "lib/Jcode.h"

#include "lib/Cp932.h"

#include <array>
#include <cstdint>
#include <functional>
#include <unordered_map>

namespace qpn {
namespace {

// Full-width forms of ASCII 0x20–0x7E. The quotes, backslash and tilde take
// the forms Japanese text uses (” ’ ‘ ￥ ￣).
constexpr std::array<std::uint16_t, 0x5F> WideAscii = {
    0x8140, 0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166, // space ! " # $ % & '
    0x8169, 0x816A, 0x8196, 0x817B, 0x8143, 0x817C, 0x8144, 0x815E, // ( ) * + , - . /
    0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256, // 0-7
    0x8257, 0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148, // 8 9 : ; < = > ?
    0x8197, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266, // @ A-G
    0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E, // H-O
    0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276, // P-W
    0x8277, 0x8278, 0x8279, 0x816D, 0x818F, 0x816E, 0x814F, 0x8151, // X Y Z [ \ ] ^ _
    0x8165, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287, // ` a-g
    0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F, // h-o
    0x8290, 0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297, // p-w
    0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8150,         // x y z { | } ~
};

// Full-width forms of the half-width katakana bytes 0xA1–0xDF.
constexpr std::array<std::uint16_t, 0x3F> WideKana = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, // ｡ ｢ ｣ ､ ･ ｦ ｧ
    0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387, // ｨ ｩ ｪ ｫ ｬ ｭ ｮ
    0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, // ｯ ｰ ｱ ｲ ｳ ｴ ｵ
    0x834A, 0x834C, 0x834E, 0x8350, 0x8352, 0x8354, 0x8356, // ｶ ｷ ｸ ｹ ｺ ｻ ｼ
    0x8358, 0x835A, 0x835C, 0x835E, 0x8360, 0x8363, 0x8365, // ｽ ｾ ｿ ﾀ ﾁ ﾂ ﾃ
    0x8367, 0x8369, 0x836A, 0x836B, 0x836C, 0x836D, 0x836E, // ﾄ ﾅ ﾆ ﾇ ﾈ ﾉ ﾊ
    0x8371, 0x8374, 0x8377, 0x837A, 0x837D, 0x837E, 0x8380, // ﾋ ﾌ ﾍ ﾎ ﾏ ﾐ ﾑ
    0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389, 0x838A, // ﾒ ﾓ ﾔ ﾕ ﾖ ﾗ ﾘ
    0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B, // ﾙ ﾚ ﾛ ﾜ ﾝ ﾞ ﾟ
};

constexpr unsigned char VoicedMark = 0xDE;
constexpr unsigned char SemiVoicedMark = 0xDF;

bool IsLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsTrailByte(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

bool IsKana(unsigned char b)
{
    return b >= 0xA1 && b <= 0xDF;
}

bool TakesVoicedMark(unsigned char b)
{
    return (b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE); // ｶ–ﾄ, ﾊ–ﾎ
}

bool TakesSemiVoicedMark(unsigned char b)
{
    return b >= 0xCA && b <= 0xCE; // ﾊ–ﾎ
}

bool ConvertsAscii(int scope)
{
    return scope != JcodeKatakana;
}

bool ConvertsKana(int scope)
{
    return scope != JcodeAscii;
}

void AppendCode(QByteArray &out, std::uint16_t code)
{
    out.append(static_cast<char>(code >> 8));
    out.append(static_cast<char>(code & 0xFF));
}

std::uint16_t CodeAt(QByteArrayView text, qsizetype i)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(text[i]) << 8
                                      | static_cast<unsigned char>(text[i + 1]));
}

bool IsTwoByteAt(QByteArrayView text, qsizetype i)
{
    return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()
           && IsTrailByte(static_cast<unsigned char>(text[i + 1]));
}

struct HalfWidthForms
{
    std::unordered_map<std::uint16_t, char> ascii;
    std::unordered_map<std::uint16_t, QByteArray> kana;
};

// The reverse of the two tables above, voiced kana included.
const HalfWidthForms &HalfWidth()
{
    static const HalfWidthForms forms = [] {
        HalfWidthForms f;
        for (std::size_t i = 0; i < WideAscii.size(); ++i)
            f.ascii.emplace(WideAscii[i], static_cast<char>(0x20 + i));
        for (std::size_t i = 0; i < WideKana.size(); ++i) {
            const auto half = static_cast<unsigned char>(0xA1 + i);
            const QByteArray plain(1, static_cast<char>(half));
            f.kana.emplace(WideKana[i], plain);
            if (TakesVoicedMark(half))
                f.kana.emplace(WideKana[i] + 1, plain + static_cast<char>(VoicedMark));
            if (TakesSemiVoicedMark(half))
                f.kana.emplace(WideKana[i] + 2, plain + static_cast<char>(SemiVoicedMark));
        }
        return f;
    }();
    return forms;
}

// Runs the byte routine over each stretch of characters that survive the trip
// through CP932 and leaves the others as they are.
using ByteRoutine = std::function<QByteArray(const QByteArray &)>;

QString ThroughCp932(const QString &text, const ByteRoutine &convert)
{
    QString result;
    result.reserve(text.size());
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        if (end > runStart) {
            const QStringView run = QStringView(text).sliced(runStart, end - runStart);
            result.append(FromCp932(convert(ToCp932(run))));
        }
    };
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype start = i;
        if (RoundTripsCp932(NextCodePoint(text, i)))
            continue;
        flush(start);
        result.append(QStringView(text).sliced(start, i - start));
        runStart = i;
    }
    flush(text.size());
    return result;
}

} // namespace

QByteArray ToZenkaku(const QByteArray &text, int scope)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (IsTwoByteAt(text, i)) {
            out.append(text.sliced(i, 2));
            ++i;
        } else if (b >= 0x20 && b <= 0x7E && ConvertsAscii(scope)) {
            AppendCode(out, WideAscii[b - 0x20]);
        } else if (IsKana(b) && ConvertsKana(scope)) {
            std::uint16_t code = WideKana[b - 0xA1];
            const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
            if (next == VoicedMark && TakesVoicedMark(b)) {
                code += 1;
                ++i;
            } else if (next == SemiVoicedMark && TakesSemiVoicedMark(b)) {
                code += 2;
                ++i;
            }
            AppendCode(out, code);
        } else {
            out.append(static_cast<char>(b));
        }
    }
    return out;
}

QByteArray ToHankaku(const QByteArray &text, int scope)
{
    const HalfWidthForms &forms = HalfWidth();
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!IsTwoByteAt(text, i)) {
            out.append(text[i]);
            continue;
        }
        const std::uint16_t code = CodeAt(text, i);
        const auto ascii = forms.ascii.find(code);
        const auto kana = forms.kana.find(code);
        if (ascii != forms.ascii.end() && ConvertsAscii(scope))
            out.append(ascii->second);
        else if (kana != forms.kana.end() && ConvertsKana(scope))
            out.append(kana->second);
        else
            out.append(text.sliced(i, 2));
        ++i;
    }
    return out;
}

QByteArray HiraganaToKatakana(const QByteArray &text)
{
    QByteArray out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (!IsTwoByteAt(out, i))
            continue;
        const std::uint16_t code = CodeAt(out, i);
        std::uint16_t katakana = code;
        if (code >= 0x829F && code <= 0x82DD) // ぁ–み
            katakana = code + 0xA1;
        else if (code >= 0x82DE && code <= 0x82F1) // む–ん: katakana skip 0x837F
            katakana = code + 0xA2;
        out[i] = static_cast<char>(katakana >> 8);
        out[i + 1] = static_cast<char>(katakana & 0xFF);
        ++i;
    }
    return out;
}

QString ToZenkaku(const QString &text, int scope)
{
    return ThroughCp932(text, [scope](const QByteArray &bytes) { return ToZenkaku(bytes, scope); });
}

QString ToHankaku(const QString &text, int scope)
{
    return ThroughCp932(text, [scope](const QByteArray &bytes) { return ToHankaku(bytes, scope); });
}

QString HiraganaToKatakana(const QString &text)
{
    return ThroughCp932(text, [](const QByteArray &bytes) { return HiraganaToKatakana(bytes); });
}

} // namespace qpn
