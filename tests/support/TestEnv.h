#pragma once
// A fresh world for one test: temporary AppPath and DBFPath, a new database
// created from the shipped schema and rows, empty settings, a reset
// application state and the real clock. Destroying it closes the database.
#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

class TestEnv {
public:
    /// Once per process, before QApplication: settings and runtime folders in
    /// a temporary place, so no test touches the user's own.
    static void prepareProcess();

    explicit TestEnv(bool withDatabase = true);
    ~TestEnv();

    QString appPath() const; // ends in "/"
    QString dbfPath() const; // ends in "/"
    /// The running test's database (App().DBFName).
    static QSqlDatabase db();

private:
    QTemporaryDir m_dir;
};
