#include "platform/RecordNavigator.h"

#include "engine/Dataset.h"
#include "engine/EngineError.h"
#include "lib/Dialogs.h"
#include "platform/DatasetModel.h"

#include <QHBoxLayout>
#include <QToolButton>

#include <exception>

namespace qpn {

namespace {

struct ButtonText
{
    const char16_t *glyph;
    const char16_t *hint;
    const char *name;
};

constexpr ButtonText Texts[RecordNavigator::ButtonCount] = {
    {u"|◀", u"先頭レコード", "First"},    {u"◀", u"前レコード", "Prior"},
    {u"▶", u"次レコード", "Next"},        {u"▶|", u"最終レコード", "Last"},
    {u"＋", u"レコードの挿入", "Insert"}, {u"－", u"レコードの削除", "Delete"},
    {u"▲", u"レコードの編集", "Edit"},    {u"✓", u"編集の確定", "Post"},
    {u"✕", u"編集のキャンセル", "Cancel"},
};

} // namespace

RecordNavigator::RecordNavigator(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < ButtonCount; ++i) {
        auto *button = new QToolButton(this);
        button->setText(QString::fromUtf16(Texts[i].glyph));
        button->setToolTip(QString::fromUtf16(Texts[i].hint));
        button->setObjectName(QString::fromLatin1(Texts[i].name));
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(button);
        m_buttons[static_cast<size_t>(i)] = button;
        const auto which = static_cast<Button>(i);
        connect(button, &QToolButton::clicked, this, [this, which] { press(which); });
    }
    refresh();
}

void RecordNavigator::setDataset(engine::Dataset *dataset, DatasetModel *model)
{
    for (const auto &connection : m_connections)
        disconnect(connection);
    m_connections.clear();
    m_dataset = dataset;
    m_model = model;
    if (dataset) {
        m_connections << connect(dataset, &engine::Dataset::stateChanged, this, &RecordNavigator::refresh)
                      << connect(dataset, &engine::Dataset::currentChanged, this, &RecordNavigator::refresh)
                      << connect(dataset, &engine::Dataset::rowsChanged, this, &RecordNavigator::refresh);
    }
    refresh();
}

bool RecordNavigator::press(Button which)
{
    if (!m_dataset || !m_dataset->active())
        return false;
    try {
        if (which == Button::Delete
            && MessageDlg(QStringLiteral("レコードを削除してもよいですか？"), DialogKind::Confirmation,
                          {DialogButton::Ok, DialogButton::Cancel})
                   != DialogButton::Ok)
            return false;
        act(which);
    } catch (const engine::EngineError &error) {
        MessageDlg(error.message(), DialogKind::Error, {DialogButton::Ok});
        return false;
    } catch (const std::exception &error) {
        MessageDlg(QString::fromUtf8(error.what()), DialogKind::Error, {DialogButton::Ok});
        return false;
    }
    emit clicked(which);
    return true;
}

void RecordNavigator::act(Button which)
{
    engine::Dataset &d = *m_dataset;
    switch (which) {
    case Button::First: d.first(); break;
    case Button::Prior: d.prior(); break;
    case Button::Next: d.next(); break;
    case Button::Last: d.last(); break;
    case Button::Insert: d.insert(); break;
    case Button::Delete: d.remove(); break;
    case Button::Edit: d.edit(); break;
    case Button::Post: d.post(); break;
    case Button::Cancel: d.cancel(); break;
    }
}

void RecordNavigator::refresh()
{
    const bool active = m_dataset && m_dataset->active();
    const auto state = active ? m_dataset->state() : engine::DatasetState::Inactive;
    const bool editing = state == engine::DatasetState::Edit || state == engine::DatasetState::Insert;
    const bool browsing = state == engine::DatasetState::Browse;
    const bool empty = !active || m_dataset->isEmpty();
    const bool atFirst = empty || (browsing && m_dataset->recNo() <= 1);
    const bool atLast = empty || (browsing && m_dataset->recNo() >= m_dataset->recordCount());
    button(Button::First)->setEnabled(active && !atFirst);
    button(Button::Prior)->setEnabled(active && !atFirst);
    button(Button::Next)->setEnabled(active && !atLast);
    button(Button::Last)->setEnabled(active && !atLast);
    button(Button::Insert)->setEnabled(browsing);
    button(Button::Delete)->setEnabled(active && !empty);
    button(Button::Edit)->setEnabled(browsing && !empty);
    button(Button::Post)->setEnabled(editing);
    button(Button::Cancel)->setEnabled(editing);
}

} // namespace qpn
