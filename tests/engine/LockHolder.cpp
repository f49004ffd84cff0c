// Holds a record lock for the engine's lock tests: opens a table of a folder,
// finds a row by its key, starts editing it, prints "locked" and keeps the
// lock until a line arrives on standard input (then cancels) or it is killed.
#include "engine/EngineError.h"
#include "engine/Table.h"

#include <QCoreApplication>

#include <iostream>
#include <string>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::cerr << "usage: qpn_engine_lockholder FOLDER TABLE ID\n";
        return 2;
    }
    try {
        qpn::engine::Table table;
        table.setDatabaseName(QString::fromLocal8Bit(argv[1]));
        table.setTableName(QString::fromLocal8Bit(argv[2]));
        table.open();
        if (!table.findKey({QString::fromLocal8Bit(argv[3]).toInt()})) {
            std::cout << "missing" << std::endl;
            return 1;
        }
        table.edit();
        std::cout << "locked" << std::endl;
        std::string line;
        std::getline(std::cin, line);
        table.cancel();
        std::cout << "released" << std::endl;
    } catch (const qpn::engine::EngineError &error) {
        std::cout << error.message().toStdString() << std::endl;
        return 1;
    }
    return 0;
}
