#pragma once

#include <QString>

class QWidget;

namespace qpn {

// What the start-up sequence shows on the main window.
class StartUpView
{
public:
    virtual ~StartUpView() = default;
    virtual void showUpdateDate(const QString &text) = 0;      // L3
    virtual void showCorporationName(const QString &name) = 0; // L1
    virtual void showFiscalStart(const QString &text) = 0;     // Edit1
    virtual void showUpdateNotice() = 0;                       // Label7
    virtual QWidget *window() = 0;                              // owner of the forms shown
};

} // namespace qpn
