#pragma once

#include <functional>

class QDialog;

namespace qpn {

// Shows a form modally and returns its result code. Every modal form of the
// program goes through here so that tests can drive the form instead of
// waiting on it.
int ExecModal(QDialog &dialog);

// What runs in place of the form's own modal loop while installed.
using ModalHandler = std::function<int(QDialog &)>;

// Installs a handler for its lifetime, restoring the previous one.
class ScopedModalHandler
{
public:
    explicit ScopedModalHandler(ModalHandler handler);
    ~ScopedModalHandler();
    ScopedModalHandler(const ScopedModalHandler &) = delete;
    ScopedModalHandler &operator=(const ScopedModalHandler &) = delete;

private:
    ModalHandler m_previous;
};

} // namespace qpn
