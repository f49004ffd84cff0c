#include "lib/MbText.h"

#include "lib/Cp932.h"
#include "tests/support/SupportPrinters.h"

#include <gtest/gtest.h>

namespace qpn {
namespace {

QString U(const char16_t *text)
{
    return QString::fromUtf16(text);
}

QByteArray B(const char16_t *text)
{
    return ToCp932(U(text));
}

// ア is 83 41 and ャ is 83 83, so their bytes hide "A" and "ア" in other text.
TEST(MbText, MbPosMatchesWholeCharactersOnly)
{
    struct Case { const char16_t *pattern; const char16_t *text; int bytePos; int unicodePos; };
    const Case cases[] = {
        {u"A", u"ア", 0, 0},
        {u"A", u"アxA", 4, 3},
        {u"ア", u"ャA", 0, 0},
        {u"ア", u"ャAア", 4, 3},
        {u"@", u"　@", 3, 2},       // 81 40: the first "@" is a trail byte
        {u"漢字", u"a漢字", 2, 2},
        {u"", u"abc", 0, 0},
        {u"a", u"", 0, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(MbPos(B(c.pattern), B(c.text)), c.bytePos) << U(c.text).toStdString();
        EXPECT_EQ(MbPos(U(c.pattern), U(c.text)), c.unicodePos) << U(c.text).toStdString();
    }
}

// Each row is checked on CP932 bytes and on Unicode text: both must agree.
TEST(MbText, TrimDropAndDeleteAgreeOnBytesAndUnicode)
{
    struct Case { const char *routine; const char16_t *text; const char16_t *arg; const char16_t *expected; };
    const Case cases[] = {
        {"trim", u" 　a b　 ", u"", u"a b"},
        {"trim", u"　 x 　 　", u"R", u"　 x"},
        {"trim", u"　 x 　 ", u"r", u"　 x"},
        {"trim", u"  x  ", u"l", u"x  "},
        {"trim", u"　", u"", u""},
        {"trim", u"＝@", u"R", u"＝@"},    // 81 81 40 ends in a trail byte and "@", not in "　"
        {"trim", u" 漢 ", u"LR", u"漢"},
        {"drop", u"aア1漢bｱ", u"", u"a1bｱ"},
        {"spaces", u"aア1漢", u"", u"a  1  "},
        {"delete", u"098-765-000", u"-", u"098765000"},
        {"delete", u"aabb", u"ab", u""},       // removal makes a new occurrence
        {"delete", u"アAA", u"A", u"ア"},      // ア's trail byte stays
        {"delete", u"abc", u"", u"abc"},
    };
    for (const Case &c : cases) {
        const QString routine = QString::fromLatin1(c.routine);
        QByteArray bytes;
        QString unicode;
        if (routine == u"trim") {
            bytes = MbTrim(B(c.text), B(c.arg));
            unicode = MbTrim(U(c.text), U(c.arg));
        } else if (routine == u"drop") {
            bytes = MbDropWide(B(c.text));
            unicode = MbDropWide(U(c.text));
        } else if (routine == u"spaces") {
            bytes = MbWideToSpaces(B(c.text));
            unicode = MbWideToSpaces(U(c.text));
        } else {
            bytes = MbDeleteAll(B(c.arg), B(c.text));
            unicode = MbDeleteAll(U(c.arg), U(c.text));
        }
        EXPECT_EQ(FromCp932(bytes), U(c.expected)) << c.routine << " " << U(c.text).toStdString();
        EXPECT_EQ(unicode, U(c.expected)) << c.routine << " " << U(c.text).toStdString();
    }
}

TEST(MbText, LoneLeadByteAtTheEndCountsAsTwoByteCharacter)
{
    EXPECT_EQ(MbDropWide(QByteArray("ab\x82")), QByteArray("ab"));
    EXPECT_EQ(MbWideToSpaces(QByteArray("ab\x82")), QByteArray("ab "));
    EXPECT_EQ(MbTrim(QByteArray(" ab\x81 "), "R"), QByteArray(" ab\x81 ")); // 81 20 is no space
}

TEST(MbText, UnicodeCharactersCp932LacksCountAsWideAndSurvive)
{
    EXPECT_EQ(MbDropWide(U(u"a😀bé")), U(u"ab"));
    EXPECT_EQ(MbWideToSpaces(U(u"a😀b")), U(u"a  b"));
    EXPECT_EQ(MbTrim(U(u" 😀 "), u""), U(u"😀"));
}

} // namespace
} // namespace qpn
