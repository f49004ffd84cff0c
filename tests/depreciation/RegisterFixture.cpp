#include "tests/depreciation/RegisterFixture.h"

#include "depreciation/AssetStore.h"
#include "engine/Query.h"
#include "engine/Session.h"
#include "lib/AppOptions.h"
#include "store/SchemaMaker.h"

#include <QDir>

namespace qpn::test {

void RegisterTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("QPNdata")));
    m_scope = std::make_unique<ScopedDialogs>(m_dialogs);
    SchemaMaker maker;
    maker.MakeHeadM(base());
    maker.MakeTBL(data());
    m_dialogs.messages.clear();
    m_database = std::make_unique<engine::Database>(engine::Session::defaultSession(), QStringLiteral("AAA"), data());
    AppOptions() = AppOptionsData();
    setFiscalYear(2020);
}

void RegisterTest::TearDown()
{
    m_database.reset();
    m_scope.reset();
    AppOptions() = AppOptionsData();
}

void RegisterTest::setFiscalYear(int year)
{
    AppOptions().setFiscalStart(D(year, 4, 1));
    AppOptions().FiscalEnd = D(year + 1, 3, 31);
}

void RegisterTest::store(const AssetData &asset)
{
    engine::Query insert;
    insert.setDatabaseName(QStringLiteral("AAA"));
    insert.setSql(QStringLiteral("insert into daicyoA (ID) values (:ID)"));
    insert.setParam(QStringLiteral("ID"), asset.asset.ID);
    insert.execSql();
    AssetData blank;
    blank.asset.ID = asset.asset.ID;
    AssetData fresh = asset;
    for (YearRow &row : fresh.rows)
        row.storedSub.reset();
    AssetStore(QStringLiteral("AAA")).save(blank, fresh);
}

AssetData RegisterTest::loaded(int id)
{
    std::optional<AssetData> asset = AssetStore(QStringLiteral("AAA")).load(id);
    EXPECT_TRUE(asset.has_value()) << "asset " << id;
    return asset.value_or(AssetData());
}

} // namespace qpn::test
