#include "lib/Cp932.h"

#include "tests/support/SupportPrinters.h"

#include <gtest/gtest.h>

namespace qpn {
namespace {

QByteArray Hex(const char *hex)
{
    return QByteArray::fromHex(hex);
}

TEST(Cp932, CharactersTakeTheirWindowsCodesAndComeBack)
{
    struct Case { const char16_t *text; const char *bytes; };
    const Case cases[] = {
        {u"①", "8740"},       // row 13 specials
        {u"㈱", "878a"},
        {u"髙", "fbfc"},       // extension kanji
        {u"ｱﾞ", "b1de"},       // half-width katakana are single bytes
        {u"漢ア", "8abf8341"},
        {u"～", "8160"},       // FULLWIDTH TILDE, the Windows form of 0x8160
        {u"＼￥", "815f818f"},
        {u"\\~", "5c7e"},      // ASCII stays ASCII
        {u"\u001a\u001c\u007f", "1a1c7f"},
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(ToCp932(text), Hex(c.bytes)) << c.bytes;
        EXPECT_EQ(FromCp932(Hex(c.bytes)), text) << c.bytes;
    }
}

TEST(Cp932, EveryByteBelow0x80IsItsOwnCodePoint)
{
    for (int b = 0; b < 0x80; ++b) {
        const QByteArray byte(1, char(b));
        EXPECT_EQ(FromCp932(byte), QString(QChar(b))) << b;
        EXPECT_EQ(ToCp932(QString(QChar(b))), byte) << b;
    }
}

TEST(Cp932, LinuxInputPunctuationLandsOnTheWindowsForm)
{
    struct Case { char16_t unicode; const char *bytes; };
    const Case cases[] = {{u'〜', "8160"}, {u'−', "817c"}, {u'‖', "8161"}, {u'—', "815c"}, {u'¥', "5c"}};
    for (const Case &c : cases) {
        EXPECT_EQ(ToCp932(QString(QChar(c.unicode))), Hex(c.bytes)) << c.bytes;
        EXPECT_TRUE(CanEncodeCp932(QString(QChar(c.unicode)))) << c.bytes;
        EXPECT_FALSE(RoundTripsCp932(c.unicode)) << c.bytes;
    }
}

TEST(Cp932, BytesThatAreNoCharacterBecomeTheReplacementCharacter)
{
    EXPECT_EQ(FromCp932(Hex("4180a0fd")), QString::fromUtf16(u"A\uFFFD\uFFFD\uFFFD"));
    EXPECT_EQ(FromCp932(Hex("4182")), QString::fromUtf16(u"A\uFFFD")); // lead byte cut off
}

TEST(Cp932, ByteLengthMatchesTheEncoding)
{
    const QString mixed = QString::fromUtf16(u"aｱ漢①😀\uFEFFé") + QChar(0xD800) + QChar(u'b');
    EXPECT_EQ(Cp932ByteLength(mixed), ToCp932(mixed).size());
    EXPECT_EQ(ToCp932(QString::fromUtf16(u"a😀b")), QByteArray("a?b"));
    EXPECT_EQ(Cp932ByteLength(QString::fromUtf16(u"資産ｼｻﾝ1")), 8);
}

TEST(Cp932, CutToBytesNeverSplitsATwoByteCharacter)
{
    struct Case { const char16_t *text; int bytes; const char16_t *expected; };
    const Case cases[] = {
        {u"漢字abc", 3, u"漢"},
        {u"漢字abc", 4, u"漢字"},
        {u"漢字abc", 6, u"漢字ab"},
        {u"a漢", 2, u"a"},
        {u"ｱｲｳ", 2, u"ｱｲ"},
        {u"abc", 10, u"abc"},
        {u"abc", 0, u""},
        {u"a😀b", 2, u"a😀"}, // a character CP932 lacks is one "?"
    };
    for (const Case &c : cases)
        EXPECT_EQ(CutToBytes(QString::fromUtf16(c.text), c.bytes), QString::fromUtf16(c.expected)) << c.bytes;
}

TEST(Cp932, CanEncodeFindsTheFirstCharacterCp932Lacks)
{
    struct Case { const char16_t *text; bool ok; char32_t bad = 0; };
    const Case cases[] = {
        {u"資産①㈱ｱ～", true},
        {u"", true},
        {u"a😀b🍣", false, U'😀'},
        {u"𠮷野家", false, U'𠮷'},
        {u"café", false, U'é'},
        {u"a\u200Bb", false, U'\u200B'}, // dropped silently by the converter otherwise
    };
    for (const Case &c : cases) {
        char32_t bad = 0;
        EXPECT_EQ(CanEncodeCp932(QString::fromUtf16(c.text), &bad), c.ok) << int(c.bad);
        EXPECT_EQ(bad, c.bad);
    }
    const QString loneSurrogate(QChar(0xDC00));
    EXPECT_FALSE(CanEncodeCp932(loneSurrogate));
}

} // namespace
} // namespace qpn
