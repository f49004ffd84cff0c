#pragma once

#include "export/ExportSettings.h"
#include "platform/DatasetModel.h"

#include <QTableView>

#include <functional>
#include <memory>

namespace qpn {

class CopyCsvDialog;

// The program's data grid: a table view over a dataset that keeps the
// dataset's cursor on the selected row (posting an edit when the row is left)
// and exports what it shows to the CSV work file (CopyCsvFile) and from there
// to a formatted workbook opened with the desktop's spreadsheet program (CopyExcel).
class TLibXGrid : public QTableView
{
    Q_OBJECT

public:
    explicit TLibXGrid(QWidget *parent = nullptr);
    ~TLibXGrid() override;

    // Shows the dataset with the given columns (empty: every visible field).
    void setDataset(engine::Dataset &dataset, const QList<DatasetModel::Column> &columns = {});
    DatasetModel *datasetModel() const { return m_model.get(); }
    // Columns that stay put while the grid scrolls sideways.
    void setFrozenColumns(int count);

    ExportSettings &settings() { return m_settings; }
    const ExportSettings &settings() const { return m_settings; }

    // Lines written (title included), 0 when nothing was written, negative when cancelled.
    int CopyCsvFile();
    // True when the workbook was written and handed to the spreadsheet program.
    bool CopyExcel();

    // How a finished workbook is opened; answers false when nothing can open it.
    void setOpener(std::function<bool(const QString &path)> opener) { m_opener = std::move(opener); }
    QString workbookPath() const;

signals:
    // Enter was pressed in the grid; a typed value has been taken into the row.
    void enterPressed();

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void followDataset(int row);
    void fail(const QString &message) const;
    void updateFrozen();

    std::unique_ptr<DatasetModel> m_model;
    ExportSettings m_settings;
    std::function<bool(const QString &)> m_opener;
    QTableView *m_frozen = nullptr;
    int m_frozenCount = 0;
    bool m_syncing = false;
};

} // namespace qpn
