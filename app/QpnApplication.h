#pragma once

#include <QApplication>

namespace qpn {

// The desktop program's application object. A failure that reaches the event
// loop (an engine error no form handles, or any other exception) is shown in
// one error box and the program goes on.
class QpnApplication : public QApplication
{
    Q_OBJECT

public:
    QpnApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Shows the message of the exception being handled; call from a catch block.
    static void showCurrentException();
};

} // namespace qpn
