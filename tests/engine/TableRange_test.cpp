#include "tests/engine/EngineFixture.h"

#include "engine/Field.h"

namespace qpn::engine {
namespace {

class TableRange : public EngineFixture
{
protected:
    void SetUp() override { fillYearRows(); }

    static std::vector<int> subs(Table &table)
    {
        std::vector<int> shown;
        for (table.first(); !table.eof(); table.next())
            shown.push_back(table.fieldByName("ID").asInteger() * 10 + table.fieldByName("Sub").asInteger());
        return shown;
    }
};

TEST_F(TableRange, ShowsTheRowsBetweenTwoKeysOfTheCurrentIndex)
{
    auto years = open("daicyoB");
    years->setRange({2}, {2});
    EXPECT_EQ(subs(*years), (std::vector<int>{20, 21, 22, 23}));
    years->setRange({1, 2}, {2, 1});
    EXPECT_EQ(subs(*years), (std::vector<int>{12, 13, 20, 21}));
    years->setIndexName("NendoInx");
    years->setRange({3, 2021}, {3});
    EXPECT_EQ(subs(*years), (std::vector<int>{32, 33}));
    years->setIndexName(QString());
    years->cancelRange();
    EXPECT_EQ(years->recordCount(), 12);
}

TEST_F(TableRange, PostedRowsStayOrLeaveByTheirKey)
{
    auto years = open("daicyoB");
    years->setRange({2}, {2});
    addYearRow(*years, 2, 4, 2023, 5);
    addYearRow(*years, 5, 0, 2023, 5); // written, but outside the range
    EXPECT_EQ(subs(*years), (std::vector<int>{20, 21, 22, 23, 24}));
    ASSERT_TRUE(years->findKey({2, 1}));
    years->edit();
    years->fieldByName("ID").setAsInteger(4);
    years->post();
    EXPECT_EQ(subs(*years), (std::vector<int>{20, 22, 23, 24}));
    EXPECT_FALSE(years->findKey({1, 1}));
    years->cancelRange();
    EXPECT_EQ(years->recordCount(), 14);
    EXPECT_TRUE(years->findKey({4, 1}));
}

} // namespace
} // namespace qpn::engine
