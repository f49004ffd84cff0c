#pragma once

#include "engine/Dataset.h"

#include <QPointer>
#include <QWidget>

#include <array>

class QToolButton;


namespace qpn {

class DatasetModel;

// The button bar that drives a dataset: first, prior, next, last, insert,
// delete (after the question "レコードを削除してもよいですか？"), edit, post
// and cancel, each with its hint. Buttons are enabled by the dataset's state.
// Errors of the engine are shown through the dialog seam.
class RecordNavigator : public QWidget
{
    Q_OBJECT

public:
    enum class Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel };
    static constexpr int ButtonCount = 9;

    explicit RecordNavigator(QWidget *parent = nullptr);

    // The dataset the buttons act on; the model (optional) is told of posts so
    // that its "typed something" flag stays right.
    void setDataset(engine::Dataset *dataset, DatasetModel *model = nullptr);
    engine::Dataset *dataset() const { return m_dataset; }

    QToolButton *button(Button which) const { return m_buttons[static_cast<size_t>(which)]; }
    // Runs a button's action as a click does; false when it failed or was declined.
    bool press(Button which);

signals:
    void clicked(qpn::RecordNavigator::Button which);

private:
    void act(Button which);
    void refresh();

    QPointer<engine::Dataset> m_dataset;
    QPointer<DatasetModel> m_model;
    std::array<QToolButton *, ButtonCount> m_buttons{};
    QList<QMetaObject::Connection> m_connections;
};

} // namespace qpn
