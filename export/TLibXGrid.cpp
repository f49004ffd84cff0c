#include "export/TLibXGrid.h"

#include "engine/Dataset.h"
#include "engine/EngineError.h"
#include "export/CopyCsvDialog.h"
#include "export/CsvFile.h"
#include "export/GridCsvExport.h"
#include "export/GridWorkbook.h"
#include "lib/Dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QStyledItemDelegate>
#include <QDesktopServices>
#include <QFontInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

#include <exception>

namespace qpn {

namespace {

// Lookup columns are edited with a drop-down of the list's names.
class LookupDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const auto *model = qobject_cast<const DatasetModel *>(index.model());
        if (!model || !model->column(index.column()).isLookup())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto *combo = new QComboBox(parent);
        combo->addItems(model->lookupNames(index.column()));
        return combo;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor))
            combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString()));
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *combo = qobject_cast<QComboBox *>(editor))
            model->setData(index, combo->currentText());
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }
};

} // namespace

TLibXGrid::TLibXGrid(QWidget *parent)
    : QTableView(parent)
    , m_opener([](const QString &path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); })
{
    setObjectName(QStringLiteral("TLibXGrid"));
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                    | QAbstractItemView::EditKeyPressed);
    horizontalHeader()->setSectionsMovable(false);
    setItemDelegate(new LookupDelegate(this));
    const QFontInfo info(font());
    m_settings.ExportFont.name = info.family();
    m_settings.ExportFont.size = info.pointSizeF();
    m_settings.ExportFileName = ExportWorkFilePath(QCoreApplication::applicationDirPath());
}

TLibXGrid::~TLibXGrid()
{
    setModel(nullptr);
}

void TLibXGrid::setDataset(engine::Dataset &dataset, const QList<DatasetModel::Column> &columns)
{
    auto model = std::make_unique<DatasetModel>(dataset);
    model->setColumns(columns);
    setModel(model.get());
    if (m_frozen)
        m_frozen->setModel(model.get());
    m_model = std::move(model);
    connect(m_model.get(), &DatasetModel::currentRowChanged, this, &TLibXGrid::followDataset);
    for (int k = 0; k < m_model->columnCount(); ++k) {
        const int width = m_model->column(k).width;
        setColumnHidden(k, width <= 0);
        if (width > 0)
            setColumnWidth(k, width);
    }
    followDataset(m_model->currentRow());
    updateFrozen();
}

void TLibXGrid::setFrozenColumns(int count)
{
    m_frozenCount = count;
    if (m_model)
        m_model->setFrozenColumns(count);
    updateFrozen();
}

// The frozen columns are a second view laid over the left edge that shares
// the model and the selection and scrolls only up and down.
void TLibXGrid::updateFrozen()
{
    if (m_frozenCount <= 0 || !m_model) {
        if (m_frozen)
            m_frozen->hide();
        return;
    }
    if (!m_frozen) {
        m_frozen = new QTableView(this);
        m_frozen->setObjectName(QStringLiteral("FrozenColumns"));
        m_frozen->setFocusPolicy(Qt::NoFocus);
        m_frozen->verticalHeader()->hide();
        m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_frozen->setEditTriggers(editTriggers());
        connect(m_frozen->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
        connect(verticalScrollBar(), &QScrollBar::valueChanged, m_frozen->verticalScrollBar(), &QScrollBar::setValue);
        connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int, int, int) { updateFrozen(); });
    }
    m_frozen->setModel(m_model.get());
    m_frozen->setSelectionModel(selectionModel());
    int width = 0;
    for (int k = 0; k < m_model->columnCount(); ++k) {
        m_frozen->setColumnHidden(k, k >= m_frozenCount || isColumnHidden(k));
        if (k < m_frozenCount && !isColumnHidden(k)) {
            m_frozen->setColumnWidth(k, columnWidth(k));
            width += columnWidth(k);
        }
    }
    m_frozen->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), width,
                          viewport()->height() + horizontalHeader()->height());
    m_frozen->show();
    m_frozen->raise();
}

void TLibXGrid::followDataset(int row)
{
    if (m_syncing || !m_model || row < 0)
        return;
    m_syncing = true;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    setCurrentIndex(m_model->index(row, column));
    m_syncing = false;
}

void TLibXGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || !m_model || !current.isValid() || current.row() == previous.row())
        return;
    try {
        m_model->setCurrentRow(current.row());
    } catch (const std::exception &error) {
        const auto *engineError = dynamic_cast<const engine::EngineError *>(&error);
        MessageDlg(engineError ? engineError->message() : QString::fromUtf8(error.what()), DialogKind::Error,
                   {DialogButton::Ok});
        // Back to the row still being edited, once this change has settled.
        QTimer::singleShot(0, this, [this] { followDataset(m_model->currentRow()); });
    }
}

void TLibXGrid::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QTableView::keyPressEvent(event);
        return;
    }
    emit enterPressed();
    // Enter toggles the cell editor: a closed one opens on the cell reached.
    if (state() != QAbstractItemView::EditingState && currentIndex().isValid()
        && (model()->flags(currentIndex()) & Qt::ItemIsEditable))
        edit(currentIndex());
}

void TLibXGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // The delegate ends an edit with Enter by asking to submit the row cache.
    const bool byEnter = hint == QAbstractItemDelegate::SubmitModelCache;
    QTableView::closeEditor(editor, byEnter ? QAbstractItemDelegate::NoHint : hint);
    if (byEnter)
        emit enterPressed();
}

void TLibXGrid::fail(const QString &message) const
{
    if (!m_settings.ExportMessages)
        return;
    QApplication::beep();
    MessageDlg(message, DialogKind::Error, {DialogButton::Ok});
}

QString TLibXGrid::workbookPath() const
{
    return GridWorkbook::workbookPathFor(m_settings.ExportFileName);
}

int TLibXGrid::CopyCsvFile()
{
    CopyCsvDialog dialog(QStringLiteral("準備中"), true, this);
    QWidget *form = window();
    form->setEnabled(false);
    dialog.setEnabled(true);
    dialog.show();

    QList<GridCsvColumn> columns;
    if (m_model) {
        const QHeaderView *header = horizontalHeader();
        for (int visual = 0; visual < header->count(); ++visual) {
            const int k = header->logicalIndex(visual);
            const DatasetModel *model = m_model.get();
            columns << GridCsvColumn{model->headerData(k, Qt::Horizontal).toString(),
                                     isColumnHidden(k) ? 0 : columnWidth(k),
                                     [model, k] { return model->currentText(k); }};
        }
        m_model->setUpdatesSuspended(true);
    }
    const GridCsvResult result = m_model && m_model->dataset().active()
        ? GridCsvExport::run(m_model->dataset(), columns, m_settings.ExportTitleRow, m_settings.ExportFileName,
                             [&dialog](int done, int total) {
                                 dialog.setMaximum(total);
                                 dialog.setProgress(done);
                                 if (done % 10 == 0 || done == total)
                                     dialog.setLabel(QStringLiteral("%1 / %2").arg(done).arg(total));
                                 QCoreApplication::processEvents();
                                 return !dialog.cancelled();
                             })
        : GridCsvResult{0, GridCsvResult::Failure::NoData, QString()};
    if (m_model)
        m_model->setUpdatesSuspended(false);
    dialog.close();
    form->setEnabled(true);

    switch (result.failure) {
    case GridCsvResult::Failure::None: break;
    case GridCsvResult::Failure::NoData: fail(QStringLiteral("出力するデータがありません。")); break;
    case GridCsvResult::Failure::CannotCreate: fail(QStringLiteral("ＣＳＶファイルが作成できません。")); break;
    case GridCsvResult::Failure::Error:
        fail(QStringLiteral("ＣＳＶ出力中にエラーが発生しました。\r\n") + result.detail);
        break;
    }
    return result.count;
}

bool TLibXGrid::CopyExcel()
{
    const int lines = CopyCsvFile();
    if (lines <= 0)
        return false;
    const QString path = workbookPath();
    {
        CopyCsvDialog dialog(QStringLiteral("Excel 読み込み中"), false, this);
        dialog.setMaximum(100);
        dialog.show();
        try {
            dialog.setProgress(10);
            const QString csv = CsvFile::read(m_settings.ExportFileName);
            dialog.setProgress(50);
            GridWorkbook::write(csv, m_model->columnCount(), lines, m_settings, path);
            dialog.setProgress(100);
        } catch (const std::exception &error) {
            dialog.close();
            fail(QStringLiteral("Ｅｘｃｅｌ出力中にエラーが発生しました。\r\n") + QString::fromUtf8(error.what()));
            return false;
        }
    }
    if (!m_opener(path)) {
        fail(QStringLiteral("Ｍｉｃｒｏｓｏｆｔ Ｅｘｃｅｌ が見つかりません。\r\n\r\nインストール後、再起動して下さい。\r\n")
             + path);
        return false;
    }
    return true;
}

} // namespace qpn
