#pragma once

#include "engine/Table.h"
#include "export/TLibXGrid.h"
#include "platform/RecordNavigator.h"

#include <QDialog>

#include <memory>
#include <vector>

class QPushButton;
class QVBoxLayout;

namespace qpn {

// The common design of the master-list forms: a navigator and a close button
// on top, editable grids bound straight to their tables. The tables open when
// the form is first shown; closing posts a row with typed values (cancels an
// untouched one) and stays open when that post fails.
class MasterListForm : public QDialog
{
    Q_OBJECT

public:
    ~MasterListForm() override;

    RecordNavigator *DBNavigator1 = nullptr;
    QPushButton *BitBtn1 = nullptr;

    void FormActivate();
    // Posts or cancels the pending rows and closes the tables; false (the
    // engine's message shown) when a post failed.
    bool FormClose();
    // Enter in a grid (the one that received the key moves).
    void DBGrid1KeyPress(TLibXGrid *grid);

    engine::Table *table(int index) const { return m_pages.at(static_cast<size_t>(index)).table.get(); }
    TLibXGrid *grid(int index) const { return m_pages.at(static_cast<size_t>(index)).grid; }

protected:
    MasterListForm(const QString &caption, const QString &database, QWidget *parent);

    // Adds a grid over a table of the data folder.
    TLibXGrid *addGrid(const QString &objectName, const QString &tableName,
                       const QList<DatasetModel::Column> &columns, QWidget *parent = nullptr);
    void setPageColumns(int index, const QList<DatasetModel::Column> &columns);

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    QVBoxLayout *m_body = nullptr;

private:
    struct Page
    {
        std::unique_ptr<engine::Table> table;
        TLibXGrid *grid = nullptr;
        QList<DatasetModel::Column> columns;
    };
    std::vector<Page> m_pages;
    QString m_database;
    bool m_activated = false;
};

} // namespace qpn
