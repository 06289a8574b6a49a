#pragma once
// Small checks that tests of several areas share: the error a step throws,
// how many rows a table holds, and a file's bytes as a hash (to show that a
// file was left exactly as it was).
#include "platform/FwError.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <functional>

/// The FwError a step throws; number 0 and no description when it throws none.
FwError failureOf(const std::function<void()> &step);
/// The number of the FwError a step throws; 0 when it throws none.
int errorOf(const std::function<void()> &step);
/// How many rows a table holds (the name as the schema spells it, unquoted).
int rowCount(const QSqlDatabase &db, const QString &table);
/// The SHA-256 of a file's bytes; empty when the file cannot be read.
QByteArray fileHash(const QString &path);
