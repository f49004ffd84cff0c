#pragma once

#include <QLabel>

namespace qpn {

// A label, or a blank area, that reports double-clicks.
class DoubleClickLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

} // namespace qpn
