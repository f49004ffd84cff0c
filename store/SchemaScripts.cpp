#include "store/SchemaScripts.h"

namespace qpn {

QString HeadMScript()
{
    return QStringLiteral(R"sql(/* 法人ヘッダー: 一行だけ、キーなし */
CREATE TABLE IF NOT EXISTS "HeadM"
(
   "meisyou" Char(50),
   "name" Char(20),
   "yuubin" Char(10),
   "jyuusyo" Char(34),
   "denwa" Char(12),
   "KisyuDate" Date,
   "KimatuDate" Date,
   "protect" Char(10),
   "Password" char(10),
   "PathName1" Char(100),
   "PathName2" Char(100),
   "PM1" INTEGER,
   "PM2" INTEGER,
   "PM3" INTEGER,
   "PM4" INTEGER,
   "PM5" INTEGER,
   "PM6" INTEGER,
   "PM7" INTEGER,
   "PM8" INTEGER,
   "PM9" INTEGER,
   "PM10" INTEGER,
   "年度" INTEGER,
   "職印１" CHARACTER(6),
   "職印２" CHARACTER(6),
   "職印３" CHARACTER(6),
   "職印４" CHARACTER(6),
   "職印５" CHARACTER(6)
)
LANGUAGE "ANSI Standard" SORT "Default Order";
)sql");
}

QString DataTablesScript()
{
    return QStringLiteral(R"sql(/* 部門 */
CREATE TABLE IF NOT EXISTS "Bumon"
(
   "ID" SMALLINT,
   "Bumon" VARCHAR(40),
   "kyoten_ID" SMALLINT,
   PRIMARY KEY ("ID") COMPRESS FULL
)
LANGUAGE "ANSI Standard" SORT "Default Order"
USER MAJOR VERSION 1;

/* 資産台帳 */
CREATE TABLE IF NOT EXISTS "daicyoA"
(
   "ID" INTEGER,
   "kamoku_ID" INTEGER,
   "bumon_ID" INTEGER,
   "houhou_ID" INTEGER,
   "houhou2_ID" INTEGER,
   "品名" VARCHAR(40),
   "購入日" DATE,
   "廃棄日" DATE,
   "数量" INTEGER,
   "購入価格" MONEY,
   "償却額" MONEY,
   "期首償却累計" MONEY,
   "期末償却累計" MONEY,
   "期首簿価" MONEY,
   "期末簿価" MONEY,
   "国補積立金" MONEY,
   "国補取崩額" MONEY,
   "国補期首取崩累計" MONEY,
   "国補期末取崩累計" MONEY,
   "国補期首簿価" MONEY,
   "国補期末簿価" MONEY,
   "償却年数" FLOAT,
   "経過年数" FLOAT,
   "残年数" FLOAT,
   "償却率" FLOAT,
   "残率" FLOAT,
   "国補残率" FLOAT,
   "償却月数" INTEGER,
   "flg" BOOLEAN,
   "flg2" BOOLEAN,
   "kin1" MONEY,
   "kin2" MONEY,
   "kin3" MONEY,
   "yobi1_ID" INTEGER,
   "yobi2_ID" INTEGER,
   "yobi3_ID" INTEGER,
   "bikou" MEMO,
   "kisyuzan1" MONEY,
   "固定償却額" MONEY,
   "Master1_ID" INTEGER,
   "Master2_ID" INTEGER,
   "Master3_ID" INTEGER,
   "SubID" VARCHAR(40),
   "除却後購入価格" MONEY,
   "一部除却日" DATE,
   "一部除却額" MONEY,
   "除却後購入価格国" MONEY,
   "一部除却額国Ａ" MONEY,
   "国補期首調整２３" MONEY,
   "国補期首調整後額" MONEY,
   "一部除却期首額" MONEY,
   "一部除却期首額国" MONEY,
   "一部除却期首累計額" MONEY,
   "一部除却期首累計額国" MONEY,
   "kyoten_ID" INTEGER,
   PRIMARY KEY ("ID") COMPRESS NONE
)
LANGUAGE "ANSI Standard" SORT "Default Order"
USER MAJOR VERSION 1;

/* 年度別償却 */
CREATE TABLE IF NOT EXISTS "daicyoB"
(
   "ID" INTEGER,
   "Sub" INTEGER,
   "Nendo" INTEGER,
   "期首残高" MONEY,
   "期末残高" MONEY,
   "当年償却額" MONEY,
   "期首償却累計" MONEY,
   "期末償却累計" MONEY,
   "国補期首残高" MONEY,
   "国補期末残高" MONEY,
   "国補当年取崩額" MONEY,
   "国補期首取崩累計" MONEY,
   "国補期末取崩累計" MONEY,
   "変更償却額" MONEY,
   "kin1" MONEY,
   "kin2" MONEY,
   "kin3" MONEY,
   "F1" INTEGER,
   "F2" INTEGER,
   "F3" INTEGER,
   "一部除却額" MONEY,
   "除却後購入価格B" MONEY,
   "一部除却額国" MONEY,
   "除却後購入価格B国" MONEY,
   "国補期首調整２３" MONEY,
   PRIMARY KEY ("ID","Sub") COMPRESS NONE
)
LANGUAGE "ANSI Standard" SORT "Default Order"
USER MAJOR VERSION 1;

CREATE INDEX IF NOT EXISTS "NendoInx" ON "daicyoB" ("ID","Nendo");

/* 科目 */
CREATE TABLE IF NOT EXISTS "kamoku"
(
   "ID" SMALLINT,
   "kamokumei" VARCHAR(30),
   "kubun" SMALLINT,
   PRIMARY KEY ("ID") COMPRESS FULL
)
LANGUAGE "ANSI Standard" SORT "Default Order"
USER MAJOR VERSION 1;

/* 区分１～３ */
CREATE TABLE IF NOT EXISTS "Master1"
(
   "ID" SMALLINT,
   "Master1" VARCHAR(50),
   PRIMARY KEY ("ID") COMPRESS FULL
)
LANGUAGE "ANSI Standard" SORT "Default Order"
USER MAJOR VERSION 1;

CREATE TABLE IF NOT EXISTS "Master2"
(
   "ID" SMALLINT,
   "Master2" VARCHAR(50),
   PRIMARY KEY ("ID") COMPRESS FULL
)
LANGUAGE "ANSI Standard" SORT "Default Order"
USER MAJOR VERSION 1;

CREATE TABLE IF NOT EXISTS "Master3"
(
   "ID" SMALLINT,
   "Master3" VARCHAR(50),
   PRIMARY KEY ("ID") COMPRESS FULL
)
LANGUAGE "ANSI Standard" SORT "Default Order"
USER MAJOR VERSION 1;

/* 購入先 */
CREATE TABLE IF NOT EXISTS "Ukeire"
(
   "ID" SMALLINT,
   "Ukeire" VARCHAR(40),
   PRIMARY KEY ("ID") COMPRESS FULL
)
LANGUAGE "ANSI Standard" SORT "Default Order"
USER MAJOR VERSION 1;

/* 印刷設定 */
CREATE TABLE IF NOT EXISTS "Regist"
(
   "ID" SMALLINT,
   "P1" SMALLINT,
   "P2" SMALLINT,
   "P3" SMALLINT,
   "P4" SMALLINT,
   "P5" SMALLINT,
   "P6" SMALLINT,
   "P7" SMALLINT,
   "P8" SMALLINT,
   "P9" SMALLINT,
   "P10" SMALLINT,
   "S1" VARCHAR(10),
   "S2" VARCHAR(10),
   "S3" VARCHAR(10),
   "S4" VARCHAR(10),
   "S5" VARCHAR(10),
   "S6" VARCHAR(10),
   "S7" VARCHAR(10),
   "S8" VARCHAR(10),
   "S9" VARCHAR(10),
   "S10" VARCHAR(10),
   PRIMARY KEY ("ID") COMPRESS FULL
)
LANGUAGE "ANSI Standard" SORT "Default Order"
USER MAJOR VERSION 1;

/* 拠点 */
CREATE TABLE IF NOT EXISTS "kyoten"
(
   "kyotenID" SMALLINT,
   "kyotenmei" VARCHAR(40),
   PRIMARY KEY ("kyotenID") COMPRESS FULL
)
LANGUAGE "ANSI Standard" SORT "Default Order"
USER MAJOR VERSION 1;
)sql");
}

const QList<UpgradeStep> &UpgradeSteps()
{
    // The statements are kept verbatim as shipped, spacing included, so a
    // folder upgraded here matches one upgraded by any earlier release.
    static const QList<UpgradeStep> steps = {
        {1, QStringLiteral("daicyoA"), QStringLiteral("固定償却額"),
         QStringLiteral("Alter Table daicyoA Add \"固定償却額\" Money ")},
        {2, QStringLiteral("daicyoA"), QStringLiteral("Master1_ID"),
         QStringLiteral("Alter Table daicyoA Add \"Master1_ID\" integer, add \"Master2_ID\" integer, "
                        "add \"Master3_ID\" integer, add \"SubID\" Varchar(40) ")},
        {3, QStringLiteral("daicyoA"), QStringLiteral("除却後購入価格"),
         QStringLiteral("Alter Table daicyoA Add \"除却後購入価格\" Money, add\"一部除却日\" Date, "
                        "add\"一部除却額\" Money, Add\"除却後購入価格国\" Money ")},
        {4, QStringLiteral("daicyoA"), QStringLiteral("一部除却額国Ａ"),
         QStringLiteral("Alter Table daicyoA Add \"一部除却額国Ａ\" Money ")},
        {5, QStringLiteral("daicyoB"), QStringLiteral("一部除却額"),
         QStringLiteral("Alter Table daicyoB Add \"一部除却額\" Money, add\"除却後購入価格B\" Money,"
                        "Add \"一部除却額国\" Money, add\"除却後購入価格B国\" Money ")},
        {6, QStringLiteral("daicyoA"), QStringLiteral("国補期首調整２３"),
         QStringLiteral("Alter Table daicyoA Add \"国補期首調整２３\" Money ")},
        {7, QStringLiteral("daicyoA"), QStringLiteral("国補期首調整後額"),
         QStringLiteral("Alter Table daicyoA Add \"国補期首調整後額\" Money ")},
        {8, QStringLiteral("daicyoB"), QStringLiteral("国補期首調整２３"),
         QStringLiteral("Alter Table daicyoB Add \"国補期首調整２３\" Money ")},
        {9, QStringLiteral("daicyoA"), QStringLiteral("一部除却期首額"),
         QStringLiteral("Alter Table daicyoA Add \"一部除却期首額\" Money, add\"一部除却期首額国\" Money, "
                        "add\"一部除却期首累計額\" Money, add\"一部除却期首累計額国\" Money ")},
        {10, QStringLiteral("kamoku"), QStringLiteral("kubun"),
         QStringLiteral("Alter Table kamoku Add \"kubun\" Integer ")},
        {11, QStringLiteral("bumon"), QStringLiteral("kyoten_ID"),
         QStringLiteral("Alter Table bumon Add \"kyoten_ID\" Integer ")},
        {12, QStringLiteral("daicyoA"), QStringLiteral("kyoten_ID"),
         QStringLiteral("Alter Table daicyoA Add \"kyoten_ID\" Integer ")},
    };
    return steps;
}

} // namespace qpn
