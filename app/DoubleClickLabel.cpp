#include "app/DoubleClickLabel.h"

#include <QMouseEvent>

namespace qpn {

void DoubleClickLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLabel::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

} // namespace qpn
