#include "register/AssetLayouts.h"

namespace qpn {

namespace {

QList<CsvFieldSpec> specs(std::initializer_list<std::pair<const char16_t *, const char16_t *>> pairs)
{
    QList<CsvFieldSpec> out;
    for (const auto &[name, label] : pairs)
        out << CsvFieldSpec{QString::fromUtf16(name), QString::fromUtf16(label)};
    return out;
}

} // namespace

QList<CsvFieldSpec> AssetLayouts::exportFields()
{
    return specs({{u"ID", u"固定資産番号"}, {u"品名", u""}, {u"数量", u""}, {u"購入日", u"使用開始年月日"},
                  {u"購入価格", u"取得価格"}, {u"国補積立金", u"国補積立金等"}, {u"bumon_ID", u"部門コード"},
                  {u"kamoku_ID", u"資産科目コード"}, {u"yobi1_ID", u"購入先コード"}, {u"houhou_ID", u"償却方法"},
                  {u"houhou2_ID", u"初年度償却"}, {u"償却年数", u"法定耐用年数"}, {u"残率", u"償却残存率"},
                  {u"yobi3_ID", u"残存簿価"}, {u"廃棄日", u""}, {u"bikou", u"備考"}, {u"期首簿価", u""},
                  {u"国補期首簿価", u""}, {u"Master1_ID", u"区分１"}, {u"Master2_ID", u"区分２"},
                  {u"Master3_ID", u"区分３"}, {u"SubID", u"管理番号"}});
}

QStringList AssetLayouts::importFieldNames()
{
    QStringList names;
    for (const auto &spec : exportFields())
        names << spec.name;
    return names;
}

QString AssetLayouts::joinedSql()
{
    return QStringLiteral("Select * From daicyoA"
                          " Left Join kamoku On daicyoA.kamoku_ID = kamoku.ID"
                          " Left Join Bumon On daicyoA.bumon_ID = Bumon.ID"
                          " Left Join Ukeire On daicyoA.yobi1_ID = Ukeire.ID"
                          " Left Join Master1 On daicyoA.Master1_ID = Master1.ID"
                          " Left Join Master2 On daicyoA.Master2_ID = Master2.ID"
                          " Left Join Master3 On daicyoA.Master3_ID = Master3.ID"
                          " Order By daicyoA.ID");
}

QList<CsvFieldSpec> AssetLayouts::joinedFields()
{
    return specs({{u"ID", u"登録番号"}, {u"品名", u""}, {u"数量", u""}, {u"購入日", u""}, {u"購入価格", u""},
                  {u"国補積立金", u""}, {u"bumon_ID", u"部門コード"}, {u"Bumon", u"部門名"},
                  {u"kamoku_ID", u"科目コード"}, {u"kamokumei", u"科目名"}, {u"yobi1_ID", u"購入先コード"},
                  {u"Ukeire", u"購入先"}, {u"houhou_ID", u"減価償却の方法"}, {u"houhou2_ID", u"初年度償却"},
                  {u"償却年数", u""}, {u"残率", u""}, {u"yobi3_ID", u"残存簿価"}, {u"廃棄日", u""}, {u"bikou", u"備考"},
                  {u"償却額", u""}, {u"期首償却累計", u""}, {u"期末償却累計", u""}, {u"期首簿価", u""},
                  {u"期末簿価", u""}, {u"国補取崩額", u""}, {u"国補期首取崩累計", u""}, {u"国補期末取崩累計", u""},
                  {u"国補期首簿価", u""}, {u"国補期末簿価", u""}, {u"経過年数", u""}, {u"残年数", u""},
                  {u"償却率", u""}, {u"国補残率", u""}, {u"償却月数", u""}, {u"固定償却額", u""},
                  {u"Master1_ID", u"区分１コード"}, {u"Master1", u"区分１"}, {u"Master2_ID", u"区分２コード"},
                  {u"Master2", u"区分２"}, {u"Master3_ID", u"区分３コード"}, {u"Master3", u"区分３"},
                  {u"SubID", u"管理番号"}});
}

QList<DatasetModel::Column> AssetLayouts::listColumns()
{
    const QList<std::pair<const char16_t *, const char16_t *>> names{
        {u"ID", u"登録番号"}, {u"品名", u""}, {u"kamoku_ID", u"科目コード"}, {u"bumon_ID", u"部門コード"},
        {u"houhou_ID", u"償却方法"}, {u"houhou2_ID", u"初年度償却"}, {u"数量", u""}, {u"購入日", u""},
        {u"廃棄日", u""}, {u"購入価格", u""}, {u"償却額", u""}, {u"期首償却累計", u""}, {u"期末償却累計", u""},
        {u"期首簿価", u""}, {u"期末簿価", u""}, {u"国補積立金", u""}, {u"国補取崩額", u""},
        {u"国補期首取崩累計", u""}, {u"国補期末取崩累計", u""}, {u"国補期首簿価", u""}, {u"国補期末簿価", u""},
        {u"償却年数", u""}, {u"経過年数", u""}, {u"残年数", u""}, {u"償却率", u""}, {u"残率", u""},
        {u"国補残率", u""}};
    QList<DatasetModel::Column> columns;
    for (const auto &[name, title] : names)
        columns << DatasetModel::Column(QString::fromUtf16(name), QString::fromUtf16(title));
    return columns;
}

QStringList AssetLayouts::copyFields()
{
    return {QStringLiteral("ID"), QStringLiteral("kamoku_ID"), QStringLiteral("bumon_ID"), QStringLiteral("houhou_ID"),
            QStringLiteral("houhou2_ID"), QStringLiteral("品名"), QStringLiteral("購入日"), QStringLiteral("廃棄日"),
            QStringLiteral("購入価格"), QStringLiteral("償却額"), QStringLiteral("期首償却累計"),
            QStringLiteral("期末償却累計"), QStringLiteral("期首簿価"), QStringLiteral("期末簿価"),
            QStringLiteral("国補積立金"), QStringLiteral("国補取崩額"), QStringLiteral("国補期首取崩累計"),
            QStringLiteral("国補期末取崩累計"), QStringLiteral("国補期首簿価"), QStringLiteral("国補期末簿価"),
            QStringLiteral("償却年数"), QStringLiteral("経過年数"), QStringLiteral("残年数"), QStringLiteral("償却率"),
            QStringLiteral("残率"), QStringLiteral("国補残率"), QStringLiteral("flg"), QStringLiteral("flg2"),
            QStringLiteral("kin1"), QStringLiteral("kin2"), QStringLiteral("kin3"), QStringLiteral("yobi1_ID"),
            QStringLiteral("yobi2_ID"), QStringLiteral("yobi3_ID"), QStringLiteral("bikou"), QStringLiteral("kisyuzan1"),
            QStringLiteral("償却月数"), QStringLiteral("数量"), QStringLiteral("固定償却額"), QStringLiteral("Master1_ID"),
            QStringLiteral("Master2_ID"), QStringLiteral("Master3_ID"), QStringLiteral("SubID"),
            QStringLiteral("除却後購入価格"), QStringLiteral("一部除却日"), QStringLiteral("一部除却額"),
            QStringLiteral("除却後購入価格国"), QStringLiteral("一部除却額国Ａ"), QStringLiteral("一部除却期首額"),
            QStringLiteral("一部除却期首額国")};
}

QStringList AssetLayouts::amountFields()
{
    return {QStringLiteral("購入価格"), QStringLiteral("償却額"), QStringLiteral("期首償却累計"),
            QStringLiteral("期末償却累計"), QStringLiteral("期首簿価"), QStringLiteral("期末簿価"),
            QStringLiteral("国補積立金"), QStringLiteral("国補取崩額"), QStringLiteral("国補期首取崩累計"),
            QStringLiteral("国補期末取崩累計"), QStringLiteral("国補期首簿価"), QStringLiteral("国補期末簿価")};
}

} // namespace qpn
