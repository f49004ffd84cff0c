#include "platform/ModalForms.h"

#include <QDialog>

#include <utility>

namespace qpn {

namespace {

ModalHandler &currentHandler()
{
    static ModalHandler handler;
    return handler;
}

} // namespace

int ExecModal(QDialog &dialog)
{
    if (const ModalHandler &handler = currentHandler())
        return handler(dialog);
    return dialog.exec();
}

ScopedModalHandler::ScopedModalHandler(ModalHandler handler)
    : m_previous(std::exchange(currentHandler(), std::move(handler)))
{
}

ScopedModalHandler::~ScopedModalHandler()
{
    currentHandler() = std::move(m_previous);
}

} // namespace qpn
