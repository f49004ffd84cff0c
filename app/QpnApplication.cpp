#include "app/QpnApplication.h"

#include "engine/EngineError.h"
#include "lib/Dialogs.h"

#include <exception>

namespace qpn {

QpnApplication::QpnApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool QpnApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showCurrentException();
    }
    return false;
}

void QpnApplication::showCurrentException()
{
    QString text;
    try {
        throw;
    } catch (const engine::EngineError &error) {
        text = error.message();
    } catch (const std::exception &error) {
        text = QString::fromUtf8(error.what());
    } catch (...) {
        text = QStringLiteral("不明なエラーが発生しました。");
    }
    try {
        MessageDlg(text, DialogKind::Error, {DialogButton::Ok});
    } catch (...) {
        // A failing error box must not take the program down with it.
    }
}

} // namespace qpn
