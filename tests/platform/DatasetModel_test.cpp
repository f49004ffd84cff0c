#include "engine/EngineError.h"
#include "engine/Field.h"
#include "engine/Table.h"
#include "platform/DatasetModel.h"
#include "platform/LookupComboBox.h"
#include "platform/RecordNavigator.h"
#include "platform/ScriptedDialogs.h"
#include "tests/support/SupportPrinters.h"

#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace qpn {
namespace {

using engine::FieldType;

// Departments with a location code, and the locations.
class DatasetModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        create("Bumon", {{"ID", FieldType::SmallInt}, {"Bumon", FieldType::Char, 40}, {"kyoten_ID", FieldType::SmallInt},
                         {"Price", FieldType::Money}},
               "ID");
        create("kyoten", {{"kyotenID", FieldType::SmallInt}, {"kyotenmei", FieldType::Char, 40}}, "kyotenID");
        m_bumon = open("Bumon");
        m_kyoten = open("kyoten");
        add(*m_kyoten, {1, "本部"});
        add(*m_kyoten, {2, "第二拠点"});
        add(*m_bumon, {1, "総務", 1, QVariant::fromValue(Currency::fromYen(2500000))});
        add(*m_bumon, {2, "営業", 9});
        m_bumon->first();
    }

    void create(const QString &name, const QList<engine::ColumnDef> &columns, const QString &key)
    {
        engine::Table table;
        table.setDatabaseName(m_dir.path());
        table.setTableName(name);
        engine::TableSchema schema;
        schema.name = name;
        schema.columns = columns;
        schema.primaryKey = {key};
        table.createTable(schema);
    }
    std::unique_ptr<engine::Table> open(const QString &name)
    {
        auto table = std::make_unique<engine::Table>();
        table->setDatabaseName(m_dir.path());
        table->setTableName(name);
        table->open();
        return table;
    }
    static void add(engine::Table &table, const QVariantList &values)
    {
        table.append();
        for (int i = 0; i < values.size(); ++i)
            table.field(i).setValue(values[i]);
        table.post();
    }
    QList<DatasetModel::Column> columns()
    {
        DatasetModel::Column location{"kyoten_ID", "拠点名"};
        location.lookupDataset = m_kyoten.get();
        location.lookupKeyField = "kyotenID";
        location.lookupResultField = "kyotenmei";
        return {{"ID", "部門コード"}, {"Bumon", "部門名"}, {"kyoten_ID", "拠点コード"}, location, {"Price", "", true}};
    }

    QTemporaryDir m_dir;
    std::unique_ptr<engine::Table> m_bumon;
    std::unique_ptr<engine::Table> m_kyoten;
};

TEST_F(DatasetModelTest, ShowsTitlesFormatsAndLookedUpNames)
{
    m_bumon->fieldByName("Price").setDisplayFormat("#,#");
    m_bumon->fieldByName("Price").setDisplayLabel("価格");
    DatasetModel model(*m_bumon);
    model.setColumns(columns());
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("部門コード"));
    EXPECT_EQ(model.headerData(4, Qt::Horizontal).toString(), QStringLiteral("価格"));
    EXPECT_EQ(model.cellText(0, 4), QStringLiteral("2,500,000"));
    EXPECT_EQ(model.data(model.index(0, 4), Qt::EditRole).toString(), QStringLiteral("2500000"));
    EXPECT_EQ(model.cellText(0, 3), QStringLiteral("本部"));
    EXPECT_EQ(model.cellText(1, 3), QString()); // code 9 has no location
    EXPECT_EQ(model.cellText(1, 4), QString());
    EXPECT_FALSE(model.flags(model.index(0, 4)).testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(model.flags(model.index(0, 1)).testFlag(Qt::ItemIsEditable));
}

TEST_F(DatasetModelTest, EditIsPostedWhenTheRowIsLeft)
{
    DatasetModel model(*m_bumon);
    model.setColumns(columns());
    EXPECT_TRUE(model.setData(model.index(0, 1), "総務課"));
    EXPECT_EQ(m_bumon->state(), engine::DatasetState::Edit);
    EXPECT_EQ(model.cellText(0, 1), QStringLiteral("総務課"));
    // Choosing a location name stores its code.
    EXPECT_TRUE(model.setData(model.index(0, 3), "第二拠点"));
    model.setCurrentRow(1);
    EXPECT_EQ(m_bumon->state(), engine::DatasetState::Browse);
    EXPECT_EQ(model.currentRow(), 1);
    auto fresh = open("Bumon");
    EXPECT_EQ(fresh->fieldByName("Bumon").asString(), QStringLiteral("総務課"));
    EXPECT_EQ(fresh->fieldByName("kyoten_ID").asInteger(), 2);
}

TEST_F(DatasetModelTest, DuplicateCodeKeepsTheRowInEditing)
{
    DatasetModel model(*m_bumon);
    model.setColumns(columns());
    m_bumon->insert();
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.currentRow(), 2);
    model.writeCell(2, 0, "1");
    EXPECT_THROW(model.setCurrentRow(0), engine::EngineError);
    EXPECT_EQ(m_bumon->state(), engine::DatasetState::Insert);
    model.writeCell(2, 0, "3");
    model.setCurrentRow(0);
    EXPECT_EQ(open("Bumon")->recordCount(), 3);
}

TEST_F(DatasetModelTest, PostOrCancelKeepsTypedRowsAndDropsUntouchedOnes)
{
    DatasetModel model(*m_bumon);
    model.setColumns(columns());
    m_bumon->insert();
    model.postOrCancel();
    EXPECT_EQ(m_bumon->state(), engine::DatasetState::Browse);
    EXPECT_EQ(open("Bumon")->recordCount(), 2);
    m_bumon->insert();
    model.writeCell(model.currentRow(), 0, "5");
    model.postOrCancel();
    EXPECT_EQ(open("Bumon")->recordCount(), 3);
}

TEST_F(DatasetModelTest, NavigatorAsksBeforeDeletingAndFollowsTheState)
{
    ScriptedDialogs dialogs;
    RecordNavigator navigator;
    navigator.setDataset(m_bumon.get());
    EXPECT_FALSE(navigator.button(RecordNavigator::Button::Prior)->isEnabled());
    EXPECT_TRUE(navigator.button(RecordNavigator::Button::Next)->isEnabled());
    EXPECT_FALSE(navigator.button(RecordNavigator::Button::Post)->isEnabled());
    EXPECT_EQ(navigator.button(RecordNavigator::Button::Delete)->toolTip(), QStringLiteral("レコードの削除"));

    dialogs.answer(DialogButton::Cancel);
    EXPECT_FALSE(navigator.press(RecordNavigator::Button::Delete));
    EXPECT_EQ(m_bumon->recordCount(), 2);
    dialogs.answer(DialogButton::Ok);
    EXPECT_TRUE(navigator.press(RecordNavigator::Button::Delete));
    EXPECT_EQ(m_bumon->recordCount(), 1);
    EXPECT_EQ(dialogs.texts(), QStringList(2, "レコードを削除してもよいですか？"));

    navigator.press(RecordNavigator::Button::Insert);
    EXPECT_TRUE(navigator.button(RecordNavigator::Button::Post)->isEnabled());
    EXPECT_FALSE(navigator.button(RecordNavigator::Button::Insert)->isEnabled());
    m_bumon->fieldByName("ID").setAsInteger(2); // the remaining row's code
    EXPECT_FALSE(navigator.press(RecordNavigator::Button::Post));
    EXPECT_EQ(dialogs.messages().last().kind, DialogKind::Error);
    EXPECT_EQ(m_bumon->state(), engine::DatasetState::Insert);
    navigator.press(RecordNavigator::Button::Cancel);
    EXPECT_EQ(m_bumon->state(), engine::DatasetState::Browse);
}

TEST_F(DatasetModelTest, LookupComboShowsNamesForCodes)
{
    LookupComboBox combo;
    combo.setList(m_kyoten.get(), "kyotenID", "kyotenmei");
    ASSERT_EQ(combo.count(), 2);
    combo.setCode(2);
    EXPECT_EQ(combo.currentText(), QStringLiteral("第二拠点"));
    EXPECT_EQ(combo.code().toInt(), 2);
    combo.setCode(9);
    EXPECT_EQ(combo.currentText(), QString());
    EXPECT_FALSE(combo.code().isValid());
}

} // namespace
} // namespace qpn
