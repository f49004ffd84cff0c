#include "register/MasterListForm.h"

#include "engine/EngineError.h"
#include "lib/Dialogs.h"
#include "register/MasterGridKeys.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

namespace qpn {

MasterListForm::MasterListForm(const QString &caption, const QString &database, QWidget *parent)
    : QDialog(parent)
    , m_database(database)
{
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    DBNavigator1 = new RecordNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    BitBtn1 = new QPushButton(QStringLiteral("閉じる"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    top->addWidget(DBNavigator1);
    top->addStretch();
    top->addWidget(BitBtn1);
    layout->addLayout(top);
    m_body = new QVBoxLayout;
    layout->addLayout(m_body, 1);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::close);
    resize(560, 420);
}

MasterListForm::~MasterListForm()
{
    for (auto &page : m_pages)
        page.grid->setModel(nullptr);
}

TLibXGrid *MasterListForm::addGrid(const QString &objectName, const QString &tableName,
                                   const QList<DatasetModel::Column> &columns, QWidget *parent)
{
    auto *grid = new TLibXGrid(parent ? parent : this);
    grid->setObjectName(objectName);
    grid->setFocusPolicy(Qt::ClickFocus); // not in the tab order
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    connect(grid, &TLibXGrid::enterPressed, this, [this, grid] { DBGrid1KeyPress(grid); });
    auto table = std::make_unique<engine::Table>();
    table->setDatabaseName(m_database);
    table->setTableName(tableName);
    m_pages.push_back(Page{std::move(table), grid, columns});
    return grid;
}

void MasterListForm::setPageColumns(int index, const QList<DatasetModel::Column> &columns)
{
    m_pages.at(static_cast<size_t>(index)).columns = columns;
}

void MasterListForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void MasterListForm::FormActivate()
{
    if (m_activated)
        return;
    m_activated = true;
    try {
        for (auto &page : m_pages)
            page.table->open();
        for (auto &page : m_pages)
            page.grid->setDataset(*page.table, page.columns);
    } catch (const engine::EngineError &error) {
        MessageDlg(error.message(), DialogKind::Error, {DialogButton::Ok});
        return;
    }
    if (!m_pages.empty())
        DBNavigator1->setDataset(m_pages.front().table.get(), m_pages.front().grid->datasetModel());
}

bool MasterListForm::FormClose()
{
    for (auto &page : m_pages) {
        if (!page.table->active() || !page.grid->datasetModel())
            continue;
        try {
            page.grid->datasetModel()->postOrCancel();
        } catch (const engine::EngineError &error) {
            MessageDlg(error.message(), DialogKind::Error, {DialogButton::Ok});
            return false;
        }
    }
    for (auto &page : m_pages)
        page.table->close();
    return true;
}

void MasterListForm::closeEvent(QCloseEvent *event)
{
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

void MasterListForm::DBGrid1KeyPress(TLibXGrid *grid)
{
    DatasetModel *model = grid->datasetModel();
    const QModelIndex at = grid->currentIndex();
    if (!model || !at.isValid())
        return;
    const GridCell target = MasterEnterTarget({at.row(), at.column()}, model->columnCount(), model->rowCount());
    grid->setCurrentIndex(model->index(target.row, target.column));
}

} // namespace qpn
