#pragma once

#include <QObject>

#include <memory>

class QWidget;

namespace qpn {

namespace engine {
class Table;
}

class TDM;

// The start-up check: the user password, the registration of a missing
// corporation name and the loading of the options into AppOptions.
class TPassChk : public QObject
{
    Q_OBJECT

public:
    explicit TPassChk(TDM &dm, QObject *parent = nullptr);
    ~TPassChk() override;

    // Yes when the user may go on. The forms it shows are owned by the window.
    bool CheckPassword(QWidget *window = nullptr);

private:
    void openHeader();

    TDM &m_dm;
    std::unique_ptr<engine::Table> m_headM; // its own component on headM in BaseFolder
};

} // namespace qpn
