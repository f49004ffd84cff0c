#include "store/SeedLists.h"

namespace qpn {

QStringList SocialWelfareAccounts()
{
    return {
        QStringLiteral("100,基本財産・建物"),
        QStringLiteral("110,基本財産・土地"),
        QStringLiteral("120,基本財産・特定預金"),
        QStringLiteral("210,建物"),
        QStringLiteral("220,構築物"),
        QStringLiteral("230,機械及び装置"),
        QStringLiteral("240,車輌運搬具"),
        QStringLiteral("250,器具及び備品"),
        QStringLiteral("260,無形固定資産"),
        QStringLiteral("300,消耗備品"),
    };
}

QStringList SchoolAccounts()
{
    return {
        QStringLiteral("100,土地"),
        QStringLiteral("110,建物"),
        QStringLiteral("120,構築物"),
        QStringLiteral("130,教育機器備品"),
        QStringLiteral("140,その他機器備品"),
        QStringLiteral("150,図書"),
        QStringLiteral("160,車輌"),
        QStringLiteral("300,消耗備品"),
    };
}

QStringList PlaceholderList()
{
    return {
        QStringLiteral("1,ああああ"),
        QStringLiteral("2,いいいい"),
        QStringLiteral("3,ううううう"),
    };
}

} // namespace qpn
