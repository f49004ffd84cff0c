#include "engine/SqlLiterals.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

#include <cmath>

namespace qpn::engine {

namespace {

constexpr int UnitDigits = 4;

// Decimal digits of `digits` (no sign, no point) scaled by 10^exponent,
// rounded to an integer with ties to even.
std::optional<qint64> ScaledDigits(const QString &digits, int exponent)
{
    QString whole = digits;
    QString dropped;
    if (exponent >= 0) {
        whole += QString(exponent, u'0');
    } else {
        const int cut = std::max<qsizetype>(0, whole.size() + exponent);
        dropped = whole.mid(cut);
        if (-exponent > digits.size())
            dropped = QString(-exponent - digits.size(), u'0') + digits;
        whole = whole.left(cut);
    }
    while (whole.size() > 1 && whole.startsWith(u'0'))
        whole.remove(0, 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    bool ok = false;
    qint64 value = whole.size() > 19 ? 0 : whole.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    if (!dropped.isEmpty()) {
        const QChar first = dropped.at(0);
        const bool restNonZero = dropped.mid(1).contains(QRegularExpression(QStringLiteral("[1-9]")));
        const bool roundUp = first > u'5' || (first == u'5' && (restNonZero || value % 2 != 0));
        if (roundUp)
            ++value;
    }
    return value;
}

} // namespace

std::optional<qint64> MoneyLiteralUnits(const QString &literal)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([+-]?)(\\d*)(?:\\.(\\d*))?(?:[eE]([+-]?\\d+))?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(literal);
    if (!match.hasMatch() || (match.captured(2).isEmpty() && match.captured(3).isEmpty()))
        return std::nullopt;
    const QString fraction = match.captured(3);
    bool ok = true;
    const int exponent = match.captured(4).isEmpty() ? 0 : match.captured(4).toInt(&ok);
    if (!ok || std::abs(exponent) > 40)
        return std::nullopt;
    const std::optional<qint64> units =
        ScaledDigits(match.captured(2) + fraction, exponent + UnitDigits - int(fraction.size()));
    if (!units)
        return std::nullopt;
    return match.captured(1) == QLatin1String("-") ? -*units : *units;
}

std::optional<QString> StoredDateText(const QString &literal, bool withTime)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^\\s*(\\d{4})[/-](\\d{1,2})[/-](\\d{1,2})(?:[ T](\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(literal);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    QTime time(0, 0);
    if (match.hasCaptured(4) && !match.captured(4).isEmpty()) {
        time = QTime(match.captured(4).toInt(), match.captured(5).toInt(),
                     match.captured(6).isEmpty() ? 0 : match.captured(6).toInt());
        if (!time.isValid())
            return std::nullopt;
    }
    QString text = date.toString(Qt::ISODate);
    if (withTime)
        text += u' ' + time.toString(QStringLiteral("HH:mm:ss"));
    return text;
}

QString QuoteSqlString(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', QLatin1String("''"));
    return u'\'' + quoted + u'\'';
}

QString QuoteSqlName(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'"', QLatin1String("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace qpn::engine
