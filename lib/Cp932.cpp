#include "lib/Cp932.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>

namespace qpn {
namespace {

struct ConverterCloser
{
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// ICU knows windows-31j as ibm-943_P15A-2003, which keeps IBM's order of three
// control codes (0x1A, 0x1C, 0x7F). Windows maps every byte below 0x80 to the
// same code point, so we swap them back on the way in and out. None of the
// three can be a trail byte, so the swap never touches a two-byte character.
char FromIcuControl(char byte)
{
    switch (byte) {
    case 0x7F: return 0x1A;
    case 0x1A: return 0x1C;
    case 0x1C: return 0x7F;
    default: return byte;
    }
}

char ToIcuControl(char byte)
{
    switch (byte) {
    case 0x1A: return 0x7F;
    case 0x1C: return 0x1A;
    case 0x7F: return 0x1C;
    default: return byte;
    }
}

void WriteReplacementCharacter(const void *, UConverterToUnicodeArgs *args, const char *, int32_t,
                               UConverterCallbackReason reason, UErrorCode *error)
{
    if (reason > UCNV_IRREGULAR)
        return; // reset, close and clone need nothing from us
    *error = U_ZERO_ERROR;
    const UChar replacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, error);
}

ConverterPtr OpenConverter(bool strict)
{
    UErrorCode error = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open("windows-31j", &error));
    if (U_FAILURE(error))
        throw std::runtime_error("ICU has no windows-31j converter");
    ucnv_setFallback(converter.get(), true);
    if (strict) {
        ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                              &error);
    } else {
        ucnv_setSubstChars(converter.get(), "?", 1, &error);
        ucnv_setToUCallBack(converter.get(), WriteReplacementCharacter, nullptr, nullptr, nullptr,
                            &error);
    }
    if (U_FAILURE(error))
        throw std::runtime_error("cannot set up the windows-31j converter");
    return converter;
}

// A converter keeps state between calls, so each thread has its own.
UConverter *Converter()
{
    thread_local ConverterPtr converter = OpenConverter(false);
    ucnv_reset(converter.get());
    return converter.get();
}

UConverter *StrictConverter()
{
    thread_local ConverterPtr converter = OpenConverter(true);
    ucnv_reset(converter.get());
    return converter.get();
}

// What CP932 makes of each BMP code point: its byte count in ToCp932 and
// whether it has a CP932 form at all. Built once from the converter itself.
constexpr std::uint8_t LengthMask = 0x03;
constexpr std::uint8_t Encodable = 0x04;
constexpr std::uint8_t RoundTrips = 0x08;

std::array<std::uint8_t, 0x10000> BuildCharTable()
{
    std::array<std::uint8_t, 0x10000> table{};
    UConverter *strict = StrictConverter();
    for (char32_t cp = 0; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp < 0xE000) {
            table[cp] = 1; // a lone surrogate becomes "?"
            continue;
        }
        const UChar unit = static_cast<UChar>(cp);
        char bytes[8];
        UErrorCode error = U_ZERO_ERROR;
        ucnv_reset(strict);
        const int32_t length = ucnv_fromUChars(strict, bytes, sizeof bytes, &unit, 1, &error);
        if (U_FAILURE(error))
            table[cp] = 1;
        else if (length == 0)
            table[cp] = 0; // a format character ICU drops without a trace
        else
            table[cp] = static_cast<std::uint8_t>(length) | Encodable;
        if (table[cp] & Encodable) {
            UChar back[4];
            error = U_ZERO_ERROR;
            const int32_t units = ucnv_toUChars(strict, back, 4, bytes, length, &error);
            if (U_SUCCESS(error) && units == 1 && back[0] == unit)
                table[cp] |= RoundTrips;
        }
    }
    return table;
}

const std::array<std::uint8_t, 0x10000> &CharTable()
{
    static const std::array<std::uint8_t, 0x10000> table = BuildCharTable();
    return table;
}

std::uint8_t CharInfo(char32_t codePoint)
{
    if (codePoint < 0x80)
        return 1 | Encodable | RoundTrips;
    if (codePoint >= 0x10000)
        return 1; // nothing outside the BMP is in CP932
    return CharTable()[codePoint];
}

} // namespace

char32_t NextCodePoint(QStringView text, qsizetype &index)
{
    const QChar first = text[index++];
    if (first.isHighSurrogate() && index < text.size() && text[index].isLowSurrogate())
        return QChar::surrogateToUcs4(first, text[index++]);
    return first.unicode();
}

QByteArray ToCp932(QStringView text)
{
    if (text.isEmpty())
        return {};
    UConverter *converter = Converter();
    QByteArray bytes(ucnv_getMaxCharSize(converter) * text.size() + 1, Qt::Uninitialized);
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = ucnv_fromUChars(converter, bytes.data(),
                                           static_cast<int32_t>(bytes.size()),
                                           reinterpret_cast<const UChar *>(text.utf16()),
                                           static_cast<int32_t>(text.size()), &error);
    if (U_FAILURE(error))
        throw std::runtime_error("windows-31j encoding failed");
    bytes.truncate(length);
    for (char &byte : bytes)
        byte = FromIcuControl(byte);
    return bytes;
}

QString FromCp932(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return {};
    QByteArray input(bytes.data(), bytes.size());
    for (char &byte : input)
        byte = ToIcuControl(byte);
    UConverter *converter = Converter();
    QString text(input.size() + 1, Qt::Uninitialized);
    UErrorCode error = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(converter, reinterpret_cast<UChar *>(text.data()),
                                         static_cast<int32_t>(text.size()), input.constData(),
                                         static_cast<int32_t>(input.size()), &error);
    if (U_FAILURE(error))
        throw std::runtime_error("windows-31j decoding failed");
    text.truncate(length);
    return text;
}

int Cp932CharLength(char32_t codePoint)
{
    return CharInfo(codePoint) & LengthMask;
}

bool IsCp932SingleByte(char32_t codePoint)
{
    const std::uint8_t info = CharInfo(codePoint);
    return (info & Encodable) && (info & LengthMask) == 1;
}

bool RoundTripsCp932(char32_t codePoint)
{
    return CharInfo(codePoint) & RoundTrips;
}

int Cp932ByteLength(QStringView text)
{
    int length = 0;
    for (qsizetype i = 0; i < text.size();)
        length += Cp932CharLength(NextCodePoint(text, i));
    return length;
}

QString CutToBytes(const QString &text, int maxBytes)
{
    int length = 0;
    qsizetype end = 0;
    for (qsizetype i = 0; i < text.size();) {
        length += Cp932CharLength(NextCodePoint(text, i));
        if (length > maxBytes)
            break;
        end = i;
    }
    return text.left(end);
}

bool CanEncodeCp932(QStringView text, char32_t *firstBad)
{
    for (qsizetype i = 0; i < text.size();) {
        const char32_t cp = NextCodePoint(text, i);
        if (!(CharInfo(cp) & Encodable)) {
            if (firstBad)
                *firstBad = cp;
            return false;
        }
    }
    return true;
}

} // namespace qpn
