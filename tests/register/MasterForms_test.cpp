#include "engine/Field.h"
#include "engine/Table.h"
#include "platform/ScriptedDialogs.h"
#include "register/MasterGridKeys.h"
#include "register/TBumon.h"
#include "register/TMaster1.h"
#include "register/TMaster2.h"
#include "register/TMaster3.h"
#include "register/Tkamoku.h"
#include "register/Tukeire.h"
#include "tests/support/SupportPrinters.h"

#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace qpn {
namespace {

using engine::FieldType;

TEST(MasterGridKeys, EnterGoesCodeNameNextCode)
{
    struct Case { const char *name; GridCell at; int columns; int rows; GridCell to; };
    const Case cases[] = {
        {"code to name", {0, 0}, 3, 2, {0, 1}},
        {"name to next row's code", {0, 1}, 3, 2, {1, 0}},
        {"name on the last row stays on the row", {1, 1}, 3, 2, {1, 0}},
        {"third column moves right", {0, 2}, 4, 2, {0, 3}},
        {"last column stays", {0, 2}, 3, 2, {0, 2}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(MasterEnterTarget(c.at, c.columns, c.rows), c.to) << c.name;
}

class MasterForms : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        create("kamoku", {{"ID", FieldType::SmallInt}, {"kamokumei", FieldType::Char, 30}, {"kubun", FieldType::SmallInt}}, "ID");
        create("Bumon", {{"ID", FieldType::SmallInt}, {"Bumon", FieldType::Char, 40}, {"kyoten_ID", FieldType::SmallInt}}, "ID");
        create("kyoten", {{"kyotenID", FieldType::SmallInt}, {"kyotenmei", FieldType::Char, 40}}, "kyotenID");
        for (const char *name : {"Ukeire", "Master1", "Master2", "Master3"})
            create(name, {{"ID", FieldType::SmallInt}, {name, FieldType::Char, 50}}, "ID");
        add("kamoku", {1, "建物", 2});
        add("kamoku", {2, "器具備品", 2});
        add("kyoten", {1, "本部"});
        add("kyoten", {2, "第二拠点"});
        add("Bumon", {1, "総務", 1});
    }
    void create(const QString &name, const QList<engine::ColumnDef> &columns, const QString &key)
    {
        engine::TableSchema schema;
        schema.name = name;
        schema.columns = columns;
        schema.primaryKey = {key};
        open(name, false)->createTable(schema);
    }
    std::unique_ptr<engine::Table> open(const QString &name, bool active = true) const
    {
        auto table = std::make_unique<engine::Table>();
        table->setDatabaseName(m_dir.path());
        table->setTableName(name);
        if (active)
            table->open();
        return table;
    }
    void add(const QString &name, const QVariantList &values) const
    {
        auto table = open(name);
        table->append();
        for (int i = 0; i < values.size(); ++i)
            table->field(i).setValue(values[i]);
        table->post();
    }
    static void pressEnter(TLibXGrid *grid) { QTest::keyClick(grid, Qt::Key_Return); }

    QTemporaryDir m_dir;
    ScriptedDialogs m_dialogs;
};

TEST_F(MasterForms, CaptionsAndTables)
{
    struct Case { std::unique_ptr<MasterListForm> form; const char *caption; const char *table; };
    Case cases[] = {
        {std::make_unique<Tkamoku>(m_dir.path()), "資産分類マスター", "kamoku"},
        {std::make_unique<TBumon>(m_dir.path()), "部門マスター", "Bumon"},
        {std::make_unique<Tukeire>(m_dir.path()), "購入先マスター", "Ukeire"},
        {std::make_unique<TMaster1>(m_dir.path()), "マスター1", "Master1"},
        {std::make_unique<TMaster2>(m_dir.path()), "マスター2", "Master2"},
        {std::make_unique<TMaster3>(m_dir.path()), "マスター3", "Master3"},
    };
    for (auto &c : cases) {
        EXPECT_EQ(c.form->windowTitle(), QString::fromUtf8(c.caption));
        c.form->FormActivate();
        EXPECT_TRUE(c.form->table(0)->active()) << c.table;
        EXPECT_EQ(c.form->table(0)->tableName(), QString::fromUtf8(c.table));
        EXPECT_EQ(c.form->grid(0)->model()->headerData(1, Qt::Horizontal).toString().isEmpty(), false);
        EXPECT_TRUE(c.form->FormClose());
        EXPECT_FALSE(c.form->table(0)->active());
    }
}

TEST_F(MasterForms, EnterStepsThroughCodeNameAndTheNextRow)
{
    Tkamoku form(m_dir.path());
    form.FormActivate();
    TLibXGrid *grid = form.DBGrid1;
    grid->setCurrentIndex(grid->model()->index(0, 0));
    form.DBGrid1KeyPress(grid);
    EXPECT_EQ(grid->currentIndex().column(), 1);
    form.DBGrid1KeyPress(grid);
    EXPECT_EQ(grid->currentIndex().column(), 0);
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_EQ(form.table(0)->recNo(), 2);
    // Name column of the last row: back to its code, the table stays.
    grid->setCurrentIndex(grid->model()->index(1, 1));
    form.DBGrid1KeyPress(grid);
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(1, 0));
    // kubun is the last column: Enter leaves it there.
    grid->setCurrentIndex(grid->model()->index(1, 2));
    pressEnter(grid);
    EXPECT_EQ(grid->currentIndex().column(), 2);
    form.FormClose();
}

TEST_F(MasterForms, ClosingPostsTypedRowsAndDropsUntouchedOnes)
{
    {
        TBumon form(m_dir.path());
        form.FormActivate();
        form.PageControl1->setCurrentIndex(1);
        EXPECT_EQ(form.DBNavigator1->dataset(), form.table(1));
        form.DBNavigator1->press(RecordNavigator::Button::Insert);
        auto *model = form.DBGrid2->datasetModel();
        model->writeCell(model->currentRow(), 0, "3");
        model->writeCell(model->currentRow(), 1, "第三拠点");
        EXPECT_TRUE(form.FormClose());
    }
    EXPECT_EQ(open("kyoten")->recordCount(), 3);
    {
        TBumon form(m_dir.path());
        form.FormActivate();
        form.PageControl1->setCurrentIndex(1);
        form.DBNavigator1->press(RecordNavigator::Button::Insert);
        EXPECT_TRUE(form.FormClose());
    }
    EXPECT_EQ(open("kyoten")->recordCount(), 3);
}

TEST_F(MasterForms, DuplicateCodeOnClosingKeepsTheFormOpen)
{
    Tukeire form(m_dir.path());
    form.show();
    add("Ukeire", {1, "既存"});
    form.table(0)->refresh();
    form.DBNavigator1->press(RecordNavigator::Button::Insert);
    auto *model = form.DBGrid1->datasetModel();
    model->writeCell(model->currentRow(), 0, "1");
    EXPECT_FALSE(form.close());
    EXPECT_TRUE(form.isVisible());
    ASSERT_FALSE(m_dialogs.texts().isEmpty());
    EXPECT_TRUE(m_dialogs.texts().last().contains("Duplicate key")) << m_dialogs.texts().last().toStdString();
    model->writeCell(model->currentRow(), 0, "2");
    EXPECT_TRUE(form.close());
    EXPECT_EQ(open("Ukeire")->recordCount(), 2);
}

TEST_F(MasterForms, ChoosingALocationNameStoresItsCode)
{
    TBumon form(m_dir.path());
    form.FormActivate();
    auto *model = form.DBGrid1->datasetModel();
    EXPECT_EQ(model->cellText(0, 3), QStringLiteral("本部"));
    EXPECT_TRUE(model->setData(model->index(0, 3), QStringLiteral("第二拠点")));
    EXPECT_EQ(model->cellText(0, 2), QStringLiteral("2"));
    EXPECT_TRUE(form.FormClose());
    EXPECT_EQ(open("Bumon")->fieldByName("kyoten_ID").asInteger(), 2);
}

} // namespace
} // namespace qpn
