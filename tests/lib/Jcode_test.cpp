#include "lib/Jcode.h"

#include "lib/Cp932.h"
#include "lib/MbText.h"
#include "tests/support/SupportPrinters.h"

#include <gtest/gtest.h>

namespace qpn {
namespace {

QString U(const char16_t *text)
{
    return QString::fromUtf16(text);
}

struct WidthCase
{
    const char16_t *half;
    const char16_t *full;
    int scope = JcodeAll;
};

const WidthCase WidthCases[] = {
    {u"ｶﾞｷﾞ1A", u"ガギ１Ａ"},
    {u"ﾊﾟﾋﾟﾌﾟﾍﾞﾎﾞ", u"パピプベボ"},
    {u"ﾃﾞﾄﾞﾂﾞ", u"デドヅ"},
    {u"ｳﾞ", u"ウ゛"},               // ｳ takes no voiced mark
    {u"ｶﾟ", u"カ゜"},               // nor ｶ a semi-voiced one
    {u"ﾞﾟ", u"゛゜"},
    {u"｡｢｣､･ｰ", u"。「」、・ー"},
    {u"ｧｯｮｦﾝ", u"ァッョヲン"},
    {u" \"'`\\^~", u"　”’‘￥＾￣"},
    {u"az{|}", u"ａｚ｛｜｝"},
    {u"漢ひ", u"漢ひ"},
    {u"ｱ1", u"ｱ１", JcodeAscii},
    {u"ｱ1", u"ア1", JcodeKatakana},
};

TEST(Jcode, WidthConversionsAndTheirRoundTrip)
{
    for (const WidthCase &c : WidthCases) {
        EXPECT_EQ(ToZenkaku(U(c.half), c.scope), U(c.full)) << c.scope;
        EXPECT_EQ(FromCp932(ToZenkaku(ToCp932(U(c.half)), c.scope)), U(c.full)) << c.scope;
        EXPECT_EQ(ToHankaku(U(c.full), c.scope), U(c.half)) << c.scope;
    }
}

// Unicode's compatibility mappings are an independent statement of which
// full-width character belongs to each half-width one.
TEST(Jcode, EverySingleByteCharacterGetsItsUnicodeFullWidthForm)
{
    const QString specialAscii = QStringLiteral(" \"'`\\~");
    for (int b = 0x21; b <= 0x7E; ++b) {
        if (specialAscii.contains(QChar(b)))
            continue;
        const QString full = FromCp932(ToZenkaku(QByteArray(1, char(b))));
        EXPECT_EQ(full, QString(QChar(0xFF01 + b - 0x21))) << b;
        EXPECT_EQ(ToHankaku(ToCp932(full)), QByteArray(1, char(b))) << b;
    }
    for (int b = 0xA1; b <= 0xDD; ++b) {
        const QByteArray half(1, char(b));
        const QString full = FromCp932(ToZenkaku(half));
        EXPECT_EQ(full, FromCp932(half).normalized(QString::NormalizationForm_KC)) << b;
        EXPECT_EQ(ToHankaku(ToCp932(full)), half) << b;
    }
}

TEST(Jcode, ToHankakuLeavesKanaWithoutHalfWidthForm)
{
    EXPECT_EQ(ToHankaku(U(u"ヴヵヶヮヰヱ漢ひ")), U(u"ヴヵヶヮヰヱ漢ひ"));
    EXPECT_EQ(ToHankaku(U(u"ア１"), JcodeAscii), U(u"ア1"));
    EXPECT_EQ(ToHankaku(U(u"ア１"), JcodeKatakana), U(u"ｱ１"));
}

TEST(Jcode, EveryHiraganaBecomesItsKatakana)
{
    // Unicode keeps katakana 0x60 above hiragana; CP932 does not (it skips 0x837F).
    for (char16_t h = u'ぁ'; h <= u'ん'; ++h)
        EXPECT_EQ(HiraganaToKatakana(QString(QChar(h))), QString(QChar(h + 0x60))) << int(h);
    EXPECT_EQ(HiraganaToKatakana(U(u"ひらがなカナ漢ab")), U(u"ヒラガナカナ漢ab"));
}

TEST(Jcode, HalfWidthExitKeepsOnlyHalfWidthKana)
{
    const QString typed = U(u"ｱいう１漢");
    EXPECT_EQ(MbDropWide(ToHankaku(HiraganaToKatakana(typed))), U(u"ｱｲｳ1"));
}

TEST(Jcode, UnicodeTextCp932LacksPassesThrough)
{
    EXPECT_EQ(ToZenkaku(U(u"a😀ｶﾞ〜")), U(u"ａ😀ガ〜"));
    EXPECT_EQ(ToHankaku(U(u"Ａ𠮷ガ")), U(u"A𠮷ｶﾞ"));
    EXPECT_EQ(HiraganaToKatakana(U(u"ゔあ")), U(u"ゔア"));
}

} // namespace
} // namespace qpn
