#pragma once
// The database side of the reports: the row of Report Variables that keeps
// the figures of the last prepared handout, and the practice's details that
// every report prints.
#include "curves_reports/ReportFills.h"

#include <QSqlDatabase>

namespace ReportVariables {

/// Store the figures of a handout in the single row of Report Variables, all
/// twenty fields in one statement with bound values. The row is a record of
/// the last handout, which any workstation may overwrite: another
/// workstation's handout written meanwhile is no conflict. A missing row is
/// put back. Throws FwError when the database cannot be written.
void write(const QSqlDatabase &db, const ReportFills::HandoutFacts &facts);

/// The figures stored by the last write (empty texts when there is no row).
ReportFills::HandoutFacts read(const QSqlDatabase &db);

/// The practice's details from the single row of Personal (empty texts when
/// there is no row). Throws FwError when the database cannot be read.
ReportFills::PracticeDetails readPractice(const QSqlDatabase &db);

} // namespace ReportVariables
