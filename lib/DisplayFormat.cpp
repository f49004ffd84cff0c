#include "lib/DisplayFormat.h"

#include <QStringList>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace qpn {

namespace {

// Floating-point values are turned into decimal digits at the precision of
// the x87 extended type, then rounded in decimal, so 0.125 shows as 0.13 and
// 12345.5 as 12,346 like every other amount.
constexpr int ExtendedDigits = 18;
constexpr int GeneralDigits = 15;

// A finite number as decimal digits: value = 0.digits × 10^exponent.
struct Decimal
{
    bool negative = false;
    std::string digits; // no leading or trailing zeros; empty for zero
    int exponent = 0;   // number of digits before the decimal point

    bool isZero() const { return digits.empty(); }
    int intDigits() const { return isZero() ? 0 : std::max(exponent, 0); }
    // Decimals after the point up to the last non-zero one.
    int fracDigits() const
    {
        return std::max(static_cast<int>(digits.size()) - exponent, 0);
    }

    // The digit at a place of the whole part (1 = units) or of the fraction
    // (-1 = tenths).
    char digitAt(int place) const
    {
        const int index = place > 0 ? exponent - place : exponent - place - 1;
        return index >= 0 && index < static_cast<int>(digits.size()) ? digits[index] : '0';
    }

    void trim()
    {
        const auto last = digits.find_last_not_of('0');
        digits.resize(last == std::string::npos ? 0 : last + 1);
        const auto first = digits.find_first_not_of('0');
        if (first == std::string::npos) {
            digits.clear();
        } else if (first > 0) {
            digits.erase(0, first);
            exponent -= static_cast<int>(first);
        }
        if (digits.empty()) {
            exponent = 0;
            negative = false;
        }
    }

    // Keeps `keep` leading digits, rounding half away from zero.
    void roundAt(int keep)
    {
        if (keep >= static_cast<int>(digits.size()))
            return;
        if (keep < 0) {
            digits.clear();
            trim();
            return;
        }
        const bool up = digits[keep] >= '5';
        digits.resize(keep);
        if (up) {
            while (!digits.empty() && digits.back() == '9')
                digits.pop_back();
            if (digits.empty()) {
                digits.push_back('1');
                ++exponent;
            } else {
                ++digits.back();
            }
        }
        trim();
    }

    void roundToDecimals(int decimals) { roundAt(exponent + decimals); }
};

Decimal FromMagnitude(std::uint64_t magnitude, bool negative, int scale)
{
    Decimal d;
    d.digits = std::to_string(magnitude);
    d.exponent = static_cast<int>(d.digits.size()) - scale;
    d.negative = negative;
    d.trim();
    return d;
}

Decimal FromInteger(qint64 value)
{
    const auto magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value)
                                     : static_cast<std::uint64_t>(value);
    return FromMagnitude(magnitude, value < 0, 0);
}

Decimal FromCurrency(Currency value)
{
    const qint64 units = value.units();
    const auto magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units)
                                     : static_cast<std::uint64_t>(units);
    return FromMagnitude(magnitude, units < 0, 4);
}

// `significant` digits of a finite value, correctly rounded by the C library.
Decimal FromFloat(long double value, int significant)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", significant - 1, value);
    Decimal d;
    const char *p = buffer;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            d.digits += *p;
    }
    d.exponent = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;
    d.trim();
    return d;
}

QString NonFiniteText(long double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// The shortest form: fixed when the value has at most `precision` whole
// digits and is not below 0.00001, else d.dddE±x.
QString GeneralText(Decimal d, int precision)
{
    d.roundAt(precision);
    if (d.isZero())
        return QStringLiteral("0");
    const QString digits = QString::fromLatin1(d.digits.data(), qsizetype(d.digits.size()));
    QString text;
    if (d.exponent > precision || d.exponent < -4) {
        text = digits.left(1);
        if (digits.size() > 1)
            text += u'.' + digits.mid(1);
        text += u'E' + QString::number(d.exponent - 1);
    } else if (d.exponent <= 0) {
        text = QStringLiteral("0.") + QString(-d.exponent, u'0') + digits;
    } else {
        text = digits.left(d.exponent);
        if (digits.size() < d.exponent)
            text += QString(d.exponent - digits.size(), u'0');
        if (digits.size() > d.exponent)
            text += u'.' + digits.mid(d.exponent);
    }
    return d.negative ? u'-' + text : text;
}

// Whole digits with or without thousands separators, then `decimals` decimals.
QString FixedText(const Decimal &d, int decimals, bool thousands)
{
    QString text;
    const int whole = std::max(d.intDigits(), 1);
    for (int place = whole; place >= 1; --place) {
        text += QLatin1Char(d.digitAt(place));
        if (thousands && place > 1 && (place - 1) % 3 == 0)
            text += u',';
    }
    if (decimals > 0) {
        text += u'.';
        for (int k = 1; k <= decimals; ++k)
            text += QLatin1Char(d.digitAt(-k));
    }
    return d.negative && !d.isZero() ? u'-' + text : text;
}

// ---- picture patterns ("#,0", "0.##0", "#' 円'") ----

QStringList SplitSections(const QString &pattern)
{
    QStringList sections;
    QString current;
    QChar quote;
    for (const QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            sections << current;
            current.clear();
            continue;
        }
        current += c;
    }
    sections << current;
    return sections;
}

// Calls visit(char) for each character of a section outside quotes, and
// literal(QStringView) for each quoted text.
template<typename Visit, typename Literal>
void WalkSection(const QString &section, Visit visit, Literal literal)
{
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section.at(i);
        if (c == u'"' || c == u'\'') {
            const qsizetype close = section.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? section.size() : close;
            literal(QStringView(section).mid(i + 1, end - i - 1));
            i = end;
        } else {
            visit(c);
        }
    }
}

struct SectionShape
{
    int placeholders = 0;
    int point = -1;          // placeholders before the decimal point
    int firstZero = INT_MAX; // index of the first 0 placeholder
    int lastZero = -1;       // index of the last 0 placeholder
    bool thousands = false;

    int intPlaces() const { return point; }
    int decimals() const { return placeholders - point; }
    int minInt() const { return firstZero < point ? point - firstZero : 0; }
    int minFrac() const { return lastZero >= point ? lastZero - point + 1 : 0; }
};

SectionShape ShapeOf(const QString &section)
{
    SectionShape shape;
    WalkSection(
        section,
        [&](QChar c) {
            if (c == u'0' || c == u'#') {
                if (c == u'0') {
                    shape.firstZero = std::min(shape.firstZero, shape.placeholders);
                    shape.lastZero = shape.placeholders;
                }
                ++shape.placeholders;
            } else if (c == u'.' && shape.point < 0) {
                shape.point = shape.placeholders;
            } else if (c == u',') {
                shape.thousands = true;
            }
        },
        [](QStringView) {});
    if (shape.point < 0)
        shape.point = shape.placeholders;
    return shape;
}

// Lays the rounded magnitude of `d` into the section's placeholders.
QString RenderSection(const QString &section, const SectionShape &shape, const Decimal &d)
{
    const int whole = std::max(d.intDigits(), shape.minInt());
    const int decimals = std::max(shape.minFrac(), std::min(d.fracDigits(), shape.decimals()));
    QString out;
    auto wholeDigit = [&](int place) {
        out += QLatin1Char(d.digitAt(place));
        if (shape.thousands && place > 1 && (place - 1) % 3 == 0)
            out += u',';
    };
    int index = 0;
    bool pointSeen = false;
    WalkSection(
        section,
        [&](QChar c) {
            if (c == u'0' || c == u'#') {
                if (index < shape.intPlaces()) {
                    const int place = shape.intPlaces() - index;
                    if (index == 0) // digits beyond the placeholders go at the first one
                        for (int extra = whole; extra > place; --extra)
                            wholeDigit(extra);
                    if (place <= whole)
                        wholeDigit(place);
                } else {
                    const int k = index - shape.intPlaces() + 1;
                    if (k <= decimals)
                        out += QLatin1Char(d.digitAt(-k));
                }
                ++index;
            } else if (c == u'.') {
                if (pointSeen)
                    return;
                pointSeen = true;
                if (shape.intPlaces() == 0)
                    for (int place = whole; place >= 1; --place)
                        wholeDigit(place);
                if (decimals > 0)
                    out += u'.';
            } else if (c != u',') {
                out += c;
            }
        },
        [&](QStringView text) { out += text; });
    return out;
}

QString FormatDecimal(const QString &pattern, Decimal value)
{
    const QStringList sections = SplitSections(pattern);
    qsizetype chosen = 0;
    if (value.negative && sections.size() >= 2 && !sections.at(1).isEmpty())
        chosen = 1;
    const SectionShape shape = ShapeOf(sections.at(chosen));
    value.roundToDecimals(shape.decimals());
    if (value.isZero() && sections.size() >= 3 && !sections.at(2).isEmpty()) {
        const QString &zero = sections.at(2);
        return RenderSection(zero, ShapeOf(zero), value);
    }
    const QString body = RenderSection(sections.at(chosen), shape, value);
    return value.negative && chosen == 0 ? u'-' + body : body;
}

// ---- printf-style patterns ----

[[noreturn]] void ThrowBadFormat(const QString &pattern)
{
    throw std::invalid_argument(
        QStringLiteral("書式 '%1' が無効か、引数と互換性がありません。").arg(pattern).toStdString());
}

struct Spec
{
    bool left = false;
    int width = 0;
    int precision = -1;
    QChar type;
};

Decimal NumberArg(const FormatArg &arg, const QString &pattern)
{
    if (const auto *i = std::get_if<qint64>(&arg.value()))
        return FromInteger(*i);
    if (const auto *c = std::get_if<Currency>(&arg.value()))
        return FromCurrency(*c);
    if (const auto *f = std::get_if<long double>(&arg.value())) {
        if (!std::isfinite(*f))
            ThrowBadFormat(pattern);
        return FromFloat(*f, ExtendedDigits);
    }
    ThrowBadFormat(pattern);
}

QString FormatOne(const Spec &spec, const FormatArg &arg, const QString &pattern)
{
    const QChar type = spec.type.toLower();
    if (type == u's') {
        const auto *text = std::get_if<QString>(&arg.value());
        if (!text)
            ThrowBadFormat(pattern);
        return spec.precision >= 0 ? text->left(spec.precision) : *text;
    }
    if (type == u'd' || type == u'x') {
        const auto *i = std::get_if<qint64>(&arg.value());
        if (!i)
            ThrowBadFormat(pattern);
        const auto magnitude = *i < 0 ? 0 - static_cast<quint64>(*i) : static_cast<quint64>(*i);
        QString digits = type == u'd' ? QString::number(magnitude)
                                      : QString::number(static_cast<quint64>(*i), 16).toUpper();
        if (spec.precision > digits.size())
            digits.prepend(QString(spec.precision - digits.size(), u'0'));
        return type == u'd' && *i < 0 ? u'-' + digits : digits;
    }
    Decimal d = NumberArg(arg, pattern);
    if (type == u'f' || type == u'n' || type == u'm') {
        const int decimals = spec.precision >= 0 ? spec.precision : (type == u'm' ? 0 : 2);
        d.roundToDecimals(decimals);
        const QString text = FixedText(d, decimals, type != u'f');
        if (type != u'm')
            return text;
        return text.startsWith(u'-') ? QStringLiteral("-¥") + text.mid(1) : u'¥' + text;
    }
    if (type == u'g')
        return GeneralText(d, spec.precision > 0 ? spec.precision : GeneralDigits);
    ThrowBadFormat(pattern);
}

int ReadNumber(const QString &pattern, qsizetype &i)
{
    int value = 0;
    while (i < pattern.size() && pattern.at(i).isDigit() && pattern.at(i).unicode() < 128) {
        value = std::min(value * 10 + (pattern.at(i).unicode() - u'0'), 100000);
        ++i;
    }
    return value;
}

} // namespace

QString FormatNumber(const QString &pattern, Currency value)
{
    if (pattern.isEmpty())
        return PlainText(value);
    return FormatDecimal(pattern, FromCurrency(value));
}

QString FormatNumber(const QString &pattern, long double value)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    const Decimal d = FromFloat(value, ExtendedDigits);
    // Beyond the digits that extended precision carries, only the general
    // form is meaningful.
    if (pattern.isEmpty() || d.exponent > ExtendedDigits)
        return GeneralText(d, GeneralDigits);
    return FormatDecimal(pattern, d);
}

QString FormatNumber(const QString &pattern, double value)
{
    return FormatNumber(pattern, static_cast<long double>(value));
}

QString FormatNumber(const QString &pattern, qint64 value)
{
    if (pattern.isEmpty())
        return PlainText(value);
    return FormatDecimal(pattern, FromInteger(value));
}

QString FormatPrintf(const QString &pattern, std::initializer_list<FormatArg> args)
{
    QString out;
    std::size_t next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c != u'%') {
            out += c;
            continue;
        }
        if (++i >= pattern.size())
            ThrowBadFormat(pattern);
        if (pattern.at(i) == u'%') {
            out += u'%';
            continue;
        }
        Spec spec;
        qsizetype mark = i;
        const int number = ReadNumber(pattern, i);
        if (i < pattern.size() && pattern.at(i) == u':' && i > mark) {
            next = static_cast<std::size_t>(number); // "%1:d" picks argument 1
            ++i;
        } else {
            i = mark;
        }
        if (i < pattern.size() && pattern.at(i) == u'-') {
            spec.left = true;
            ++i;
        }
        spec.width = ReadNumber(pattern, i);
        if (i < pattern.size() && pattern.at(i) == u'.') {
            ++i;
            spec.precision = ReadNumber(pattern, i);
        }
        if (i >= pattern.size() || next >= args.size())
            ThrowBadFormat(pattern);
        spec.type = pattern.at(i);
        QString text = FormatOne(spec, *(args.begin() + next), pattern);
        ++next;
        if (text.size() < spec.width) {
            const QString pad(spec.width - text.size(), u' ');
            text = spec.left ? text + pad : pad + text;
        }
        out += text;
    }
    return out;
}

QString PlainText(qint64 value)
{
    return QString::number(value);
}

QString PlainText(long double value)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    return GeneralText(FromFloat(value, GeneralDigits), GeneralDigits);
}

QString PlainText(double value)
{
    return PlainText(static_cast<long double>(value));
}

QString PlainText(Currency value)
{
    return CurrencyPlainText(value);
}

QString PlainText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString CurrencyText(Currency value)
{
    return FormatPrintf(QStringLiteral("%m"), {value});
}

} // namespace qpn
